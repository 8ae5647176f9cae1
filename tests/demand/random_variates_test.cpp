#include "demand/random_variates.h"

#include <gtest/gtest.h>

#include <cmath>

namespace sf {
namespace {

// How many uniform draws a call took, found by replaying a copy of the source.
template <class Call>
int DrawsTaken(UniformSource& source, Call call) {
    UniformSource replay = source;
    call();
    int draws = 0;
    while (!(replay == source)) {
        replay.Next();
        ++draws;
    }
    return draws;
}

TEST(PoissonVariate, TakesExactlyOneDrawWhateverTheMean) {
    UniformSource source;
    for (double mean : {0.0, -5.0, -1e300, 0.5, 20.0, 700.0}) {
        double value = -1.0;
        EXPECT_EQ(DrawsTaken(source, [&] { value = PoissonVariate(mean, source); }), 1);
        if (mean <= 0.0) {
            EXPECT_EQ(value, 0.0) << mean;
        }
        EXPECT_EQ(value, std::floor(value));
    }
}

TEST(PoissonVariate, MeanAndVarianceMatchTheMean) {
    UniformSource source;
    for (double lambda : {4.0, 20.0, 700.0}) {
        const int n = 100000;
        double sum = 0.0;
        double squares = 0.0;
        for (int draw = 0; draw < n; ++draw) {
            const double k = PoissonVariate(lambda, source);
            sum += k;
            squares += k * k;
        }
        const double mean = sum / n;
        const double variance = squares / n - mean * mean;
        // Each tolerance is about seven standard errors.
        EXPECT_NEAR(mean, lambda, 7.0 * std::sqrt(lambda / n)) << lambda;
        EXPECT_NEAR(variance, lambda, 7.0 * std::sqrt((lambda + 2.0 * lambda * lambda) / n))
            << lambda;
    }
}

// The inversion goes on only while the draw lies above the running sum: a draw equal to the
// first term e^-mean gives 0.
TEST(PoissonVariate, ADrawEqualToTheChanceOfZeroGivesZero) {
    UniformSource source;
    const double u = UniformSource(source).Next();
    double lambda = -std::log(u);  // a mean whose 1 / e^mean is u exactly, near -ln u
    for (int step = 0; step < 100 && 1.0 / std::exp(lambda) != u; ++step) {
        lambda = std::nextafter(lambda, 1.0 / std::exp(lambda) < u ? 0.0 : 1.0);
    }
    ASSERT_EQ(1.0 / std::exp(lambda), u);
    EXPECT_EQ(PoissonVariate(lambda, source), 0.0);
}

TEST(PoissonVariate, OnlyMeansWhoseExponentialIsFiniteCanBeDrawn) {
    EXPECT_TRUE(IsDrawablePoissonMean(700.0));
    EXPECT_TRUE(IsDrawablePoissonMean(709.78));
    EXPECT_FALSE(IsDrawablePoissonMean(709.79));
    EXPECT_FALSE(IsDrawablePoissonMean(1e300));
}

TEST(NormalVariate, StandardMomentsAndAboutTwoPointSixThreeDrawsPerCall) {
    UniformSource source;
    const int n = 200000;
    double sum = 0.0;
    double squares = 0.0;
    long draws = 0;
    for (int call = 0; call < n; ++call) {
        double z = 0.0;
        draws += DrawsTaken(source, [&] { z = NormalVariate(source); });
        sum += z;
        squares += z * z;
    }
    EXPECT_NEAR(sum / n, 0.0, 0.02);
    EXPECT_NEAR(squares / n, 1.0, 0.03);
    EXPECT_NEAR(static_cast<double>(draws) / n, 2.63, 0.05);
}

TEST(NormalVariate, TheFirstDrawOfTheAcceptedAttemptDecidesTheSign) {
    UniformSource source;
    for (int call = 0; call < 10000; ++call) {
        UniformSource replay = source;
        double z = 0.0;
        const int draws = DrawsTaken(source, [&] { z = NormalVariate(source); });
        for (int skipped = 0; skipped < draws - 2; ++skipped) {
            replay.Next();
        }
        if (replay.Next() < 0.5f) {
            ASSERT_LE(z, 0.0);
        } else {
            ASSERT_GE(z, 0.0);
        }
    }
}

}  // namespace
}  // namespace sf
