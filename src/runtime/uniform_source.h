#pragma once

#include <cstdint>
#include <random>

namespace sf {

// The generator's own default seed, which every report was made with.
inline constexpr std::uint32_t kDefaultSeed = 5489;
static_assert(kDefaultSeed == std::mt19937::default_seed);

// The one pseudo-random sequence of a program start: never reseeded, so the first run after a
// start always draws the same values and a later run carries on where the last one stopped.
class UniformSource {
  public:
    explicit UniformSource(std::uint32_t seed = kDefaultSeed) : generator_(seed) {}

    // A single-precision value in [0, 1): the top 24 bits of the next output.
    float Next() { return static_cast<float>(generator_() >> 8) * 0x1p-24f; }

    bool operator==(const UniformSource&) const = default;

  private:
    std::mt19937 generator_;
};

}  // namespace sf
