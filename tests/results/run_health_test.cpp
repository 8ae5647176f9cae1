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

// Sales points whose constants stayed at 0.5 and sigma at 1 over S = 2 .. P = 6; the periods a
// step used are 3..6, the outcome window 2..6.
std::unique_ptr<RunState> SteadyState(int salesPoints) {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = static_cast<std::int16_t>(salesPoints);
    state->initPeriods = 2;
    state->alphaBetaPeriods = 1;
    state->horizon = 1;
    state->periodNumber = 6;
    for (int sp = 1; sp <= salesPoints; ++sp) {
        for (int t = 2; t <= 6; ++t) {
            state->alphaUsed(sp, t) = 0.5;
            state->betaUsed(sp, t) = 0.5;
            state->sigma(sp, t) = 1.0;
        }
    }
    return state;
}

TEST(RunHealth, AConstantOutside01OrANegativeSigmaWhereTheRunUsedItIsUnstable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        Matrix RunState::*series;
        int period;
        double value;
        bool unstable;
    };
    const Case cases[] = {
        {"alpha 0 and 1 are within", &RunState::alphaUsed, 3, 0.0, false},
        {"beta 1 is within", &RunState::betaUsed, 6, 1.0, false},
        {"alpha just above 1", &RunState::alphaUsed, 3, std::nextafter(1.0, 2.0), true},
        {"beta below 0 at the last period", &RunState::betaUsed, 6, -0.1, true},
        {"an alpha that is no number", &RunState::alphaUsed, 4, nan, true},
        {"alpha of period S, used by no step", &RunState::alphaUsed, 2, 7.0, false},
        {"beta after the last period", &RunState::betaUsed, 7, 7.0, false},
        {"sigma below 0 at S", &RunState::sigma, 2, -1e-3, true},
        {"sigma below 0 before the outcome window", &RunState::sigma, 1, -1.0, false},
        {"sigma -0 is not below 0", &RunState::sigma, 5, -0.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto state = SteadyState(3);
        ((*state).*c.series)(2, c.period) = c.value;
        EXPECT_FALSE(IsUnstable(*state, 1));
        EXPECT_EQ(IsUnstable(*state, 2), c.unstable);
        const RunHealth health = AssessRunHealth(*state);
        EXPECT_EQ(health.unstableSalesPoints,
                  c.unstable ? std::vector<int>{2} : std::vector<int>{});
        EXPECT_FALSE(health.windowsCoverEveryPeriod);
    }
}

TEST(RunHealth, TheWarningsNameTheCountTheFirstSalesPointsAndTheOption) {
    struct Case {
        std::vector<int> unstable;
        bool windowsCover;
        std::vector<std::string> warnings;
    };
    const std::string cover =
        "The periods for initial mu and sigma, for initial alpha and beta and the forecasting "
        "horizon cover every period of the run, so no rolling forecast was made.";
    const std::string diverge =
        " left 0 to 1 or their sigma fell below 0, so their forecasts may "
        "diverge: sales point";
    const std::string option =
        ". The option --bounded-constants keeps the constants within 0 and 1.";
    const Case cases[] = {
        {{}, false, {}},
        {{7}, false, {"The smoothing constants of 1 of 40 sales points" + diverge + " 7" + option}},
        {{1, 2, 3, 4, 5},
         false,
         {"The smoothing constants of 5 of 40 sales points" + diverge + "s 1, 2, 3, 4, 5" +
          option}},
        {{1, 2, 3, 4, 5, 9, 40},
         false,
         {"The smoothing constants of 7 of 40 sales points" + diverge +
          "s 1, 2, 3, 4, 5 and 2 more" + option}},
        {{}, true, {cover}},
        {{3},
         true,
         {"The smoothing constants of 1 of 40 sales points" + diverge + " 3" + option, cover}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warnings.empty() ? "" : c.warnings.front());
        EXPECT_EQ(HealthWarnings({40, c.unstable, c.windowsCover}, "--bounded-constants"),
                  c.warnings);
    }
}

}  // namespace
}  // namespace sf
