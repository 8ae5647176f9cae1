#pragma once

#include "state/run_observer.h"
#include "state/run_state.h"

namespace sf {

// Mean and population standard deviation of each sales point over periods 1..S.
void EstimateInitialMeanAndDeviation(RunState& state);

// Initial alpha and beta of each sales point by Brent search, then the smoothed series over
// the start stretch and the initial fitting window.
void EstimateInitialConstants(RunState& state, RunObserver& observer);

}  // namespace sf
