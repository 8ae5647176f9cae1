#include "runtime/uniform_source.h"

#include <gtest/gtest.h>

#include <random>

namespace sf {
namespace {

TEST(UniformSource, TopTwentyFourBitsOfTheDefaultSeededTwister) {
    UniformSource source;
    // The first output of the default-seeded generator is 3499211612.
    EXPECT_EQ(source.Next(), static_cast<float>(3499211612u >> 8) / 16777216.0f);

    std::mt19937 reference;
    reference.discard(1);
    for (int draw = 0; draw < 10000; ++draw) {
        const float value = source.Next();
        ASSERT_EQ(value, static_cast<float>(reference() >> 8) * 0x1p-24f);
        ASSERT_GE(value, 0.0f);
        ASSERT_LT(value, 1.0f);
    }
}

TEST(UniformSource, EverySourceStartsFromTheSameState) {
    UniformSource first;
    UniformSource second;
    for (int draw = 0; draw < 100; ++draw) {
        ASSERT_EQ(first.Next(), second.Next());
    }
}

TEST(UniformSource, TheDefaultSeedKeepsTheSequenceAndAnotherChangesIt) {
    UniformSource seeded(kDefaultSeed);
    UniformSource other(7);
    EXPECT_EQ(seeded, UniformSource());
    EXPECT_NE(other, UniformSource());
    std::mt19937 reference(7);
    EXPECT_EQ(other.Next(), static_cast<float>(reference() >> 8) * 0x1p-24f);
}

}  // namespace
}  // namespace sf
