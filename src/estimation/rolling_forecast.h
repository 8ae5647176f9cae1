#pragma once

#include <functional>

#include "run/run_observer.h"
#include "run/run_state.h"

namespace sf {

// Re-estimates alpha and beta at every period of the rolling stretch and carries mu, mad and
// sigma forward to the last period. salesPointDone is called after each sales point.
void RollingForecast(RunState& state, RunObserver& observer,
                     const std::function<void(int salesPointsDone)>& salesPointDone);

}  // namespace sf
