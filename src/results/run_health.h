#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "state/run_state.h"

namespace sf {

// What a complete run says about its own results beyond the report. The described method lets
// a smoothing constant leave 0..1, after which some sales points' forecasts may grow without
// bound: those are warned about. What only grazes the limits is noted, not warned about.
struct RunHealth {
    int salesPointCount = 0;
    // Whose forecasts diverged in either evaluation, increasing; the others are sound.
    std::vector<int> divergedSalesPoints;
    bool windowsCoverEveryPeriod = false;  // S + A + H >= P: no rolling forecast was made
    int soundConstantsLeft01 = 0;          // sound sales points whose constants left 0..1
    int soundNegativeSigma = 0;            // sound sales points whose sigma fell below 0
    bool horizonZero = false;
    int seasonLength = 0;           // M of a run with a season, else 0
    int seasonFlatSalesPoints = 0;  // whose window showed no season: their indices stayed 1
};

// Whether the forecasts of the sales point diverged in the report's series (S..P) or in those
// known at the decision periods (the rolling stretch).
bool ForecastsDiverged(const RunState& state, int salesPoint);

RunHealth AssessRunHealth(const RunState& state);

// The health of sales points after those of joined, theirs numbered from first in the whole.
void JoinRunHealth(RunHealth& joined, const RunHealth& block, int first);

// The warnings for the user, one line each; none for a sound run. boundedOption names the
// option that keeps the constants within 0..1 as the front end shows it.
std::vector<std::string> HealthWarnings(const RunHealth& health, std::string_view boundedOption);

// What the results should be read with, one line each; shown with the results, not as warnings.
std::vector<std::string> HealthNotes(const RunHealth& health);

}  // namespace sf
