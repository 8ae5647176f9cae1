#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "estimation/estimation_fixture.h"
#include "estimation/initial_estimation.h"
#include "estimation/period_steps.h"
#include "estimation/rolling_forecast.h"
#include "estimation/rolling_forecast_lanes.h"
#include "estimation/smoothing.h"
#include "state/quiet_observer.h"

namespace sf {
namespace {

void Forecast(RunState& state, RunObserver& observer) {
    EstimateInitialMeanAndDeviation(state);
    EstimateInitialConstants(state, observer);
    RollingForecast(state, observer, [](double) {});
}

TEST(InitialEstimation, PopulationMeanAndDeviationOfTheFirstPeriods) {
    auto state = StateWithDemand({2, 4, 4, 4, 5, 5, 7, 9, 100}, 8, 0, 0);
    EstimateInitialMeanAndDeviation(*state);
    EXPECT_EQ(state->initialMu[1], 5.0);
    EXPECT_EQ(state->initialSigma[1], 2.0);

    auto single = StateWithDemand({7, 3}, 1, 0, 0);
    EstimateInitialMeanAndDeviation(*single);
    EXPECT_EQ(single->initialMu[1], 7.0);
    EXPECT_EQ(single->initialSigma[1], 0.0);
}

TEST(InitialEstimation, AnEmptySearchWindowFillsOnlyTheStartStretch) {
    auto state = StateWithDemand({10, 12, 14, 9, 11, 13, 15, 8}, 3, 0, 2);
    QuietObserver observer;
    EstimateInitialMeanAndDeviation(*state);
    EstimateInitialConstants(*state, observer);
    EXPECT_NEAR(state->initialAlpha[1], 1.97e-10, 0.01e-10);
    for (int t = 4; t <= 5; ++t) {
        EXPECT_EQ(state->alpha(1, t), state->initialAlpha[1]);
        EXPECT_EQ(state->beta(1, t), state->initialBeta[1]);
    }
    for (int t = 3; t <= 5; ++t) {
        EXPECT_EQ(state->mu(1, t), 12.0);
        EXPECT_EQ(state->sigma(1, t), state->mad(1, t) / 0.79788);
    }
    EXPECT_EQ(state->alpha(1, 6), 0.0);
    EXPECT_EQ(state->mu(1, 2), 0.0);  // before S nothing is written
}

TEST(RollingForecast, ConstantDemandGivesItsLevelAndNoDeviation) {
    auto state = StateWithDemand(std::vector<double>(30, 6.0), 4, 5, 2);
    QuietObserver observer;
    Forecast(*state, observer);
    // (1 - w) d + w d is d up to the rounding of the two products.
    for (int t = 4; t <= 30; ++t) {
        EXPECT_NEAR(state->mu(1, t), 6.0, 1e-14) << t;
        EXPECT_NEAR(state->sigma(1, t), 0.0, 1e-14) << t;
    }
}

TEST(RollingForecast, EarlierPeriodsHoldTheLastTrialOfTheFinalSearch) {
    auto state =
        StateWithDemand({10, 14, 9, 16, 12, 18, 11, 15, 20, 13, 17, 12, 19, 14, 16}, 3, 4, 1);
    QuietObserver observer;
    Forecast(*state, observer);
    const double lastAlphaTrial = state->alpha(1, 4);
    const double lastBetaTrial = state->beta(1, 4);
    for (int t = 4; t <= 14; ++t) {
        EXPECT_EQ(state->alpha(1, t), lastAlphaTrial) << t;
        EXPECT_EQ(state->beta(1, t), lastBetaTrial) << t;
    }
    // The final constants lie within the last search's converged bracket around the trial.
    EXPECT_NEAR(state->alpha(1, 15), lastAlphaTrial, 1e-9);
    EXPECT_NEAR(state->beta(1, 15), lastBetaTrial, 1e-9);
    EXPECT_EQ(state->alpha(1, 3), 0.0);  // S itself is never written
}

TEST(RollingForecast, WithoutHorizonTheStepsReadWhatTheLastTrialLeftInTheirOwnPeriod) {
    auto state = StateWithDemand({10, 14, 9, 16, 12, 18, 11, 15, 20, 13}, 3, 3, 0);
    QuietObserver observer;
    Forecast(*state, observer);
    const double mu0 = state->initialMu[1];
    const double trial = state->alpha(1, 4);
    // With H = 0 every trial series is one step from the initial mean: F(t) = (1 - w) mu0 + w D(t).
    auto trialMean = [&](int t) {
        const double w = SmoothingWeight(t, trial);
        return (1.0 - w) * mu0 + w * state->actualDemand(1, t);
    };
    for (int t = 4; t <= 9; ++t) {
        EXPECT_EQ(state->mu(1, t), trialMean(t)) << t;
    }
    const double w = SmoothingWeight(10, state->alpha(1, 10));
    EXPECT_EQ(state->mu(1, 10), (1.0 - w) * trialMean(10) + w * state->actualDemand(1, 10));
}

// Without demand every criterion is 0 whatever the constant, so each search ends at the lower
// end of its bracket: from the constant stored before the stretch, the constants fall by a
// tenth a period, in the plain path and in the lanes.
TEST(RollingForecast, TheFirstPeriodSearchesAroundTheConstantStoredBeforeIt) {
    const struct {
        int alphaBetaPeriods, horizon, firstRolling;
    } cases[] = {{1, 1, 5}, {0, 0, 3}};  // S = 2
    for (const auto& stretch : cases) {
        for (const bool lanes : {false, true}) {
            SCOPED_TRACE(std::to_string(stretch.firstRolling) + (lanes ? " lanes" : " plain"));
            auto state = StateWithDemand(std::vector<double>(7, 0.0), 2, stretch.alphaBetaPeriods,
                                         stretch.horizon);
            QuietObserver observer;
            EstimateInitialMeanAndDeviation(*state);
            EstimateInitialConstants(*state, observer);
            const double fittedAlpha = state->alphaUsed(1, stretch.firstRolling - 1);
            state->alpha(1, stretch.firstRolling - 1) = 0.7;
            state->beta(1, stretch.firstRolling - 1) = 0.3;
            if (lanes) {
                RollingForecastInLanes(*state, observer, [](double) {});
            } else {
                RollingForecast(*state, observer, [](double) {});
            }
            EXPECT_EQ(state->alphaUsed(1, stretch.firstRolling - 1), fittedAlpha);
            for (int t = stretch.firstRolling; t <= 7; ++t) {
                const double searches = t - stretch.firstRolling + 1;
                EXPECT_NEAR(state->alphaUsed(1, t), 0.7 - 0.1 * searches, 1e-8) << t;
                EXPECT_NEAR(state->betaUsed(1, t), 0.3 - 0.1 * searches, 1e-8) << t;
                EXPECT_EQ(state->mu(1, t), 0.0);
            }
        }
    }
}

// One period's steps with the constants 0 at t = 2, whose weight is 1/2 exactly. With H = 1
// they read period 1: F = (6 + 2) / 2 = 4, M = |2 - 6| / 2 + 8 / 2 = 6. With H = 0 they read
// their own period: F from what the last trial left there, (10 + 20) / 2 = 15, and M against
// that new F, |20 - 15| / 2 + 4 / 2 = 4.5.
TEST(PeriodSteps, ReadTheLaggedPeriodAndWithoutHorizonTheirOwn) {
    const struct {
        int horizon;
        double forecast, mad;
    } cases[] = {{1, 4.0, 6.0}, {0, 15.0, 4.5}};
    for (const auto& step : cases) {
        auto state = StateWithDemand({2, 20}, 1, 0, step.horizon);
        state->mu(1, 1) = 6.0;
        state->mu(1, 2) = 10.0;
        state->mad(1, 1) = 8.0;
        state->mad(1, 2) = 4.0;
        SmoothMeanAt(*state, 1, 2);
        SmoothDeviationAt(*state, 1, 2);
        EXPECT_EQ(state->mu(1, 2), step.forecast) << step.horizon;
        EXPECT_EQ(state->mad(1, 2), step.mad) << step.horizon;
        EXPECT_EQ(state->sigma(1, 2), step.mad / 0.79788) << step.horizon;
    }
}

TEST(RollingForecast, ReportsTheShareDoneAfterEachSalesPoint) {
    auto state = StateWithDemand({1, 2, 3, 4, 5, 6}, 2, 1, 1);
    state->salesPointCount = 4;
    QuietObserver observer;
    std::vector<double> shares;
    EstimateInitialMeanAndDeviation(*state);
    RollingForecast(*state, observer, [&](double share) { shares.push_back(share); });
    EXPECT_EQ(shares, (std::vector<double>{0.25, 0.5, 0.75, 1.0}));
}

}  // namespace
}  // namespace sf
