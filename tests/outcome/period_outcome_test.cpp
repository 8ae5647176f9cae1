#include "outcome/period_outcome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace sf {
namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

TEST(RoundHalfEven, RoundsAsRintDoes) {
    const double cases[] = {0.0,
                            -0.0,
                            0.3,
                            -0.3,
                            0.5,
                            -0.5,
                            1.5,
                            2.5,
                            -2.5,
                            3.5,
                            2.4999999999999996,
                            0x1p52 - 0.5,
                            0x1p52 - 1.5,
                            0x1p52,
                            0x1p52 + 1.0,
                            -0x1p53 - 2.0,
                            1e300,
                            std::numeric_limits<double>::denorm_min(),
                            -std::numeric_limits<double>::min(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
    for (const double x : cases) {
        EXPECT_TRUE(SameBits(RoundHalfEven(x), std::rint(x))) << x;
    }
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> near(-1000.0, 1000.0);
    for (int draw = 0; draw < 200000; ++draw) {
        const double x = draw % 2 == 0 ? near(random) : std::floor(near(random)) + 0.5;
        ASSERT_TRUE(SameBits(RoundHalfEven(x), std::rint(x))) << x;
    }
}

}  // namespace
}  // namespace sf
