#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "state/run_state.h"

namespace sf {

// What a complete run says about its own results beyond the report: the described method lets
// a smoothing constant leave 0..1, after which a forecast may grow without bound.
struct RunHealth {
    int salesPointCount = 0;
    std::vector<int> unstableSalesPoints;  // increasing
    bool windowsCoverEveryPeriod = false;  // S + A + H >= P: no rolling forecast was made
};

// A constant a period used left 0..1 (periods S + 1..P), or sigma fell below 0 in the outcome
// window S..P.
bool IsUnstable(const RunState& state, int salesPoint);

RunHealth AssessRunHealth(const RunState& state);

// The warnings for the user, one line each; none for a healthy run. boundedOption names the
// option that keeps the constants within 0..1 as the front end shows it.
std::vector<std::string> HealthWarnings(const RunHealth& health, std::string_view boundedOption);

}  // namespace sf
