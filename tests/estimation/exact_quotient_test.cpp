// The quotient path stands for the weight's division in the lane kernels, so it must give the
// division's bits for every period a history can have and any numerator (t - 1) c of a covered
// trial, the quotients next to a midpoint between two doubles included.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "estimation/exact_quotient.h"
#include "state/run_state.h"

namespace sf {
namespace {

double FusedQuotient(double a, double b) {
    return QuotientByReciprocal(a, b, 1.0 / b,
                                [](double x, double y, double z) { return std::fma(x, y, z); });
}

// The numerator whose exact quotient by b lies nearest the midpoint above q.
double NumeratorNearMidpoint(double q, double b) {
    const double above = std::nextafter(q, INFINITY);
    return b * (q + (above - q) / 2.0);
}

TEST(ExactQuotient, GivesTheDivisionsBitsForEveryPeriodAndTrial) {
    std::mt19937_64 random(20261211);
    std::uniform_real_distribution<double> unit(-1.5, 1.5);
    std::uniform_int_distribution<int> exponent(-790, 780);
    const double fixedTrials[] = {0.0,
                                  -0.0,
                                  1.0,
                                  0.5,
                                  0.1,
                                  0.3,
                                  1.0 / 3.0,
                                  -0.1,
                                  0x1p-800,
                                  0x1p780,
                                  std::nextafter(1.0, 0.0)};
    long long checked = 0;
    const auto check = [&](double a, double b) {
        ASSERT_EQ(std::bit_cast<std::uint64_t>(FusedQuotient(a, b) + 1.0 / b),
                  std::bit_cast<std::uint64_t>(a / b + 1.0 / b))
            << a << " / " << b;
        if (a != 0.0) {
            ASSERT_EQ(FusedQuotient(a, b), a / b) << a << " / " << b;
        }
        ++checked;
    };
    for (int t = 1; t <= kMaxHistoryPeriods + 1; ++t) {
        const double b = t;
        for (const double c : fixedTrials) {
            check((b - 1.0) * c, b);
        }
        for (int draw = 0; draw < 40; ++draw) {
            const double c = unit(random);
            check((b - 1.0) * c, b);
            check((b - 1.0) * std::ldexp(c, exponent(random)), b);
            check(NumeratorNearMidpoint(c, b), b);
        }
    }
    // Beyond the periods a history has, up to the largest divisor the path claims.
    std::uniform_int_distribution<int> period(kMaxHistoryPeriods, 1 << 20);
    for (int draw = 0; draw < 200000; ++draw) {
        const double b = draw == 0 ? kLargestExactDivisor : period(random);
        const double c = unit(random);
        check((b - 1.0) * c, b);
        check(NumeratorNearMidpoint(c, b), b);
    }
    EXPECT_GT(checked, 1000000);
}

TEST(ExactQuotient, LeavesTrialsNearUnderflowOrOverflowToTheDivision) {
    EXPECT_TRUE(QuotientPathCovers(0.0));
    EXPECT_TRUE(QuotientPathCovers(-0.35));
    EXPECT_FALSE(QuotientPathCovers(1e-300));
    EXPECT_FALSE(QuotientPathCovers(-1e300));
    EXPECT_FALSE(QuotientPathCovers(NAN));
    EXPECT_FALSE(QuotientPathCovers(-INFINITY));
}

}  // namespace
}  // namespace sf
