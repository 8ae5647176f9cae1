#include "results/run_health.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "state/run_state.h"

namespace sf {
namespace {

// Sales points with demand from 10 to 20 over P = 8 (lo 10, hi 20, R 10: forecasts within 0..30,
// sigma within -10..10), S = 2, A = 1, H = 1: the outcome window is 2..8, the rolling stretch
// 5..8. Every forecast is 15, every sigma 1, every constant 0.5.
std::unique_ptr<RunState> SteadyState(int salesPoints) {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = static_cast<std::int16_t>(salesPoints);
    state->initPeriods = 2;
    state->alphaBetaPeriods = 1;
    state->horizon = 1;
    state->periodNumber = 8;
    for (int sp = 1; sp <= salesPoints; ++sp) {
        for (int t = 1; t <= 8; ++t) {
            state->actualDemand(sp, t) = t % 2 == 0 ? 10.0 : 20.0;
            for (Matrix* forecast : {&state->mu, &state->forecastAsForecast}) {
                (*forecast)(sp, t) = 15.0;
            }
            for (Matrix* series : {&state->sigma, &state->sigmaAsForecast}) {
                (*series)(sp, t) = 1.0;
            }
            state->alphaUsed(sp, t) = 0.5;
            state->betaUsed(sp, t) = 0.5;
        }
    }
    return state;
}

TEST(RunHealth, AForecastOrSigmaFarOutsideTheDemandDivergedAndNothingElseDid) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        Matrix RunState::*series;
        int period;
        double value;
        bool diverged;
    };
    const Case cases[] = {
        {"a forecast at hi + R", &RunState::mu, 8, 30.0, false},
        {"a forecast just above hi + R", &RunState::mu, 8, std::nextafter(30.0, 31.0), true},
        {"a forecast below lo - R at S", &RunState::mu, 2, -1e-9, true},
        {"a forecast before the outcome window", &RunState::mu, 1, 1e90, false},
        {"a sigma of -R", &RunState::sigma, 3, -10.0, false},
        {"a sigma beyond -R", &RunState::sigma, 3, -10.000001, true},
        {"a forecast as known that is no number", &RunState::forecastAsForecast, 5, nan, true},
        {"a sigma as known above R", &RunState::sigmaAsForecast, 8, 10.5, true},
        {"a forecast as known before the rolling stretch", &RunState::forecastAsForecast, 4, 1e90,
         false},
        {"a constant far outside 0..1 alone", &RunState::alphaUsed, 6, 7.0, false},
        {"a demand that widens the band", &RunState::actualDemand, 1, 1e90, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto state = SteadyState(3);
        if (c.series == &RunState::actualDemand) {
            state->mu(2, 8) = 1e80;  // far outside 10..20, within a band widened to 1e90
        }
        ((*state).*c.series)(2, c.period) = c.value;
        EXPECT_FALSE(ForecastsDiverged(*state, 1));
        EXPECT_EQ(ForecastsDiverged(*state, 2), c.diverged);
        const RunHealth health = AssessRunHealth(*state);
        EXPECT_EQ(health.divergedSalesPoints,
                  c.diverged ? std::vector<int>{2} : std::vector<int>{});
        EXPECT_FALSE(health.windowsCoverEveryPeriod);
    }

    // The same demand every period: R is 1e-6 of it, so forecasts must keep to it closely.
    auto state = SteadyState(1);
    for (int t = 1; t <= 8; ++t) {
        state->actualDemand(1, t) = 5.0;
        state->mu(1, t) = state->forecastAsForecast(1, t) = 5.0;
        state->sigma(1, t) = state->sigmaAsForecast(1, t) = 0.0;
    }
    state->mu(1, 4) = 5.000004;
    EXPECT_FALSE(ForecastsDiverged(*state, 1));
    state->mu(1, 4) = 5.00001;
    EXPECT_TRUE(ForecastsDiverged(*state, 1));
}

TEST(RunHealth, NotesCountOnlySoundSalesPoints) {
    auto state = SteadyState(4);
    state->alphaUsed(1, 3) = 1.2;  // left 0..1, sound
    state->betaUsed(2, 8) = -0.1;  // left 0..1, but diverged:
    state->mu(2, 6) = 1e9;
    state->sigmaAsForecast(3, 7) = -1e-4;  // below -1e-6 R: a note
    state->sigma(4, 2) = -1e-6;            // rounding, not a note
    const RunHealth health = AssessRunHealth(*state);
    EXPECT_EQ(health.divergedSalesPoints, std::vector<int>{2});
    EXPECT_EQ(health.soundConstantsLeft01, 1);
    EXPECT_EQ(health.soundNegativeSigma, 1);
    EXPECT_FALSE(health.horizonZero);
}

TEST(RunHealth, WarningsNameDivergenceAndEmptyWindowsOnlyNotesTheRest) {
    const std::string cover =
        "The periods for initial mu and sigma, for initial alpha and beta and the forecasting "
        "horizon cover every period of the run, so no rolling forecast was made.";
    const std::string diverged = " sales points diverged, far outside their demand: sales point";
    const std::string option =
        ". The sound rows and the trade-off leave them out. The option --bounded-constants keeps "
        "the constants within 0 and 1.";
    struct Case {
        RunHealth health;
        std::vector<std::string> warnings;
        std::vector<std::string> notesStarting;
    };
    const Case cases[] = {
        {{40, {}, false, 0, 0, false}, {}, {}},
        {{40, {7}, false, 0, 0, false},
         {"The forecasts of 1 of 40" + diverged + " 7" + option},
         {}},
        {{40, {1, 2, 3, 4, 5}, false, 0, 0, false},
         {"The forecasts of 5 of 40" + diverged + "s 1, 2, 3, 4, 5" + option},
         {}},
        {{40, {1, 2, 3, 4, 5, 9, 40}, false, 0, 0, false},
         {"The forecasts of 7 of 40" + diverged + "s 1, 2, 3, 4, 5 and 2 more" + option},
         {}},
        {{40, {}, true, 0, 0, true},
         {cover},
         {"as_forecast has no periods", "With a forecasting horizon of 0"}},
        {{40, {}, false, 1, 2, false},
         {},
         {"The smoothing constants of 1 sound sales point left 0 to 1",
          "The sigma of 2 sound sales points fell below 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warnings.empty() ? "" : c.warnings.front());
        EXPECT_EQ(HealthWarnings(c.health, "--bounded-constants"), c.warnings);
        const std::vector<std::string> notes = HealthNotes(c.health);
        ASSERT_EQ(notes.size(), c.notesStarting.size());
        for (std::size_t at = 0; at < notes.size(); ++at) {
            EXPECT_EQ(notes[at].rfind(c.notesStarting[at], 0), 0u) << notes[at];
        }
    }
}

}  // namespace
}  // namespace sf
