#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sf {

// The double nearest to x rounded to the given number of decimals, halves to even, decided on
// the exact binary value (2.675 is stored below the half and gives 2.67; 0.125 gives 0.12).
double RoundToDecimals(double x, int decimals);

// A non-negative magnitude rounded to 0..3 decimals with halves away from zero, decided on the
// exact value, as its integer digits and its decimals.
struct RoundedDigits {
    std::string_view integer;
    std::string_view decimals;
};

class HalfAwayRounder {
  public:
    RoundedDigits Round(double magnitude, int decimals);

  private:
    std::array<char, 32> integer_{};
    std::array<char, 4> decimals_{};
    std::string text_;  // for magnitudes of 2^53 and more
};

}  // namespace sf
