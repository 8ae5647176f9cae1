#include "estimation/objectives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "estimation/brent.h"
#include "estimation/estimation_fixture.h"
#include "estimation/lane_kernel.h"
#include "runtime/kernel_set.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

const std::vector<double> kDemand = {12, 15, 9, 14, 20, 11, 17, 13, 16, 10};

TEST(AlphaObjective, AWindowThatEndsBeforeItStartsWritesNothingAndScoresZero) {
    auto state = StateWithDemand(kDemand, 4, 3, 1);
    state->alpha(1, 5) = 0.7;
    state->alphaCriterion[1] = 99.0;
    EXPECT_EQ(AlphaObjective(*state, 0.3, 1, 4), 0.0);
    EXPECT_EQ(state->alphaCriterion[1], 0.0);
    EXPECT_EQ(state->alpha(1, 5), 0.7);
    EXPECT_EQ(BetaObjective(*state, 0.3, 1, 4), 0.0);
}

TEST(AlphaObjective, WritesTheTrialAndItsSeriesOverTheWholeWindow) {
    auto state = StateWithDemand(kDemand, 4, 3, 1);
    state->initialMu[1] = 12.5;
    const double criterion = AlphaObjective(*state, 0.3, 1, 8);
    double sum = 0.0;
    for (int t = 5; t <= 8; ++t) {
        EXPECT_EQ(state->alpha(1, t), 0.3);
        sum = sum + state->muSquaredError(1, t);
    }
    EXPECT_EQ(criterion, sum);
    EXPECT_EQ(state->alphaCriterion[1], criterion);
    EXPECT_EQ(state->mu(1, 5), 12.5);  // S + 1..S + H keep the initial mean
    const double w6 = (5.0 * 0.3) / 6.0 + 1.0 / 6.0;
    EXPECT_EQ(state->mu(1, 6), (1.0 - w6) * 12.5 + w6 * kDemand[4]);
    EXPECT_EQ(state->alpha(1, 9), 0.0);  // beyond the window
}

TEST(AlphaObjective, AnAlphaOfOneFollowsTheLaggedDemand) {
    for (int horizon : {0, 1, 3}) {
        auto state = StateWithDemand(kDemand, 2, 6, horizon);
        state->initialMu[1] = 13.0;
        AlphaObjective(*state, 1.0, 1, 10);
        for (int t = 3 + horizon; t <= 10; ++t) {
            EXPECT_EQ(state->mu(1, t), kDemand[t - horizon - 1]) << horizon << ' ' << t;
        }
    }
}

TEST(BetaObjective, MeasuresAgainstTheMeanTheLastAlphaTrialLeft) {
    auto state = StateWithDemand(kDemand, 4, 4, 1);
    state->initialMu[1] = 12.5;
    state->initialSigma[1] = 2.0;
    AlphaObjective(*state, 0.2, 1, 8);
    const double first = BetaObjective(*state, 0.4, 1, 8);
    EXPECT_EQ(BetaObjective(*state, 0.4, 1, 8), first);
    AlphaObjective(*state, 0.9, 1, 8);
    EXPECT_NE(BetaObjective(*state, 0.4, 1, 8), first);
    for (int t = 5; t <= 8; ++t) {
        EXPECT_EQ(state->beta(1, t), 0.4);
        EXPECT_EQ(state->sigma(1, t), state->mad(1, t) / 0.79788);
    }
    EXPECT_EQ(state->mad(1, 5), 2.0 * 0.79788);
}

// S = 1, H = 1, window 2..4, sigma0 = 0 and the trial 0, so that w = 1 / t. The deviation at t
// measures D(t - 1) against F(t - 1): M(3) = |10 - 4| / 3 = 2, M(4) = 3/4 x 2 + |20 - 12| / 4 =
// 3.5; the criterion sums (|F - D| - M)^2 = 36 + 36 + 2.25.
const std::vector<double> kHandDemand = {5, 10, 20, 30};
const double kHandForecast[] = {0, 0, 4, 12, 25};  // by period
const double kHandMad[] = {0, 0, 0, 2, 3.5};
const double kHandCriterion = 74.25;

TEST(BetaObjective, MeasuresTheDeviationAgainstTheForecastOfTheLaggedPeriod) {
    auto state = StateWithDemand(kHandDemand, 1, 3, 1);
    for (int t = 2; t <= 4; ++t) {
        state->mu(1, t) = kHandForecast[t];
    }
    EXPECT_EQ(BetaObjective(*state, 0.0, 1, 4), kHandCriterion);
    for (int t = 2; t <= 4; ++t) {
        EXPECT_EQ(state->mad(1, t), kHandMad[t]) << t;
    }
}

// The lanes' kernel runs the same recursion on Y = |D - F|, prepared per period.
TEST(LaneKernels, MeasureTheDeviationAgainstTheForecastOfTheLaggedPeriod) {
    std::vector<double> input(kPeriodSlots * kLaneCount, 0.0);
    std::vector<double> output(kPeriodSlots * kLaneCount, 0.0);
    std::vector<double> reciprocal(kPeriodSlots, 0.0);
    for (int t = 1; t < kPeriodSlots; ++t) {
        reciprocal[t] = 1.0 / t;
    }
    for (int t = 2; t <= 4; ++t) {
        for (int lane = 0; lane < kLaneCount; ++lane) {
            input[t * kLaneCount + lane] = std::fabs(kHandDemand[t - 1] - kHandForecast[t]);
        }
    }
    const std::vector<double> trial(kLaneCount, 0.0), start(kLaneCount, 0.0),
        windowEnd(kLaneCount, 4.0);
    std::vector<double> criterion(kLaneCount, -1.0);
    LaneKernelArgs args;
    args.first = 2;
    args.lag = 1;
    args.commonEnd = 4;
    args.lastPeriod = 4;
    args.trial = trial.data();
    args.start = start.data();
    args.windowEnd = windowEnd.data();
    args.reciprocal = reciprocal.data();
    args.input = input.data();
    args.output = output.data();
    args.criterion = criterion.data();
    for (const NamedLaneKernel& kernel : LaneKernels().Supported()) {
        kernel.kernel(args);
        for (int lane = 0; lane < kLaneCount; ++lane) {
            EXPECT_EQ(criterion[lane], kHandCriterion) << kernel.name << ' ' << lane;
            for (int t = 2; t <= 4; ++t) {
                EXPECT_EQ(output[t * kLaneCount + lane], kHandMad[t]) << kernel.name << ' ' << t;
            }
        }
    }
}

TEST(Objectives, ACriterionThatOverflowsNamesTheSalesPointAndPeriod) {
    auto state = StateWithDemand({1, 1, 1, 1e200, 1, 1}, 2, 4, 0);
    state->initialMu[1] = 1.0;
    try {
        AlphaObjective(*state, 0.5, 1, 6);
        FAIL() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Sales point 1, period 4: the smoothed mean is too large for a number (it "
                  "overflowed)");
    }
}

TEST(Searches, AnEmptyWindowSendsEachSearchToTheLowerEndOfItsBracket) {
    auto state = StateWithDemand(kDemand, 4, 0, 1);
    QuietObserver observer;
    EXPECT_NEAR(BrentAlphaInitial(*state, observer, 1), 1.97e-10, 0.01e-10);
    EXPECT_NEAR(BrentBetaInitial(*state, observer, 1), 1.97e-10, 0.01e-10);
    // The update brackets are the previous constant plus and minus a tenth, never clipped.
    EXPECT_NEAR(BrentAlphaUpdate(*state, observer, 1, 4, 0.5), 0.4, 1e-9);
    EXPECT_NEAR(BrentBetaUpdate(*state, observer, 1, 4, 1.5), 1.4, 1e-9);
    EXPECT_NEAR(BrentBetaUpdate(*state, observer, 1, 4, -0.5), -0.6, 1e-9);
}

}  // namespace
}  // namespace sf
