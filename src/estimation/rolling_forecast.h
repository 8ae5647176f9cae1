#pragma once

#include <functional>

#include "state/run_observer.h"
#include "state/run_state.h"

namespace sf {

// Tells how much of the rolling stretch is done, 0 to 1; what it throws stops the run.
using ForecastProgress = std::function<void(double shareDone)>;

// Re-estimates alpha and beta at every period of the rolling stretch and carries mu, mad and
// sigma forward to the last period. progress is called after each sales point.
void RollingForecast(RunState& state, RunObserver& observer, const ForecastProgress& progress);

}  // namespace sf
