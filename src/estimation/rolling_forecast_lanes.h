#pragma once

#include "estimation/lane_kernel.h"
#include "estimation/rolling_forecast.h"
#include "state/run_observer.h"
#include "state/run_options.h"
#include "state/run_state.h"

namespace sf {

// The rolling forecast with the searches of several sales points side by side in SIMD lanes
// and the sales points spread over the cores. Leaves the state bit for bit as RollingForecast
// does: criteria are evaluated without touching the state, and the series of each sales point's
// last trials are written once its stretch is done. progress is called at every hundredth of
// the searches, one call at a time, from any thread.
void RollingForecastInLanes(RunState& state, RunObserver& observer,
                            const ForecastProgress& progress, const LaneOptions& options = {});

}  // namespace sf
