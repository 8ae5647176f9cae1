#pragma once

#include "estimation/lane_kernel.h"
#include "estimation/rolling_forecast.h"
#include "run/run_observer.h"
#include "run/run_state.h"

namespace sf {

struct LaneOptions {
    const NamedLaneKernel* kernel = nullptr;  // null: the fastest this processor has
    int threads = 0;                          // 0: one per core
};

// The rolling forecast with the searches of several sales points side by side in SIMD lanes
// and the sales points spread over the cores. Leaves the state bit for bit as RollingForecast
// does: criteria are evaluated without touching the state, and the series of each sales point's
// last trials are written once its stretch is done. progress is called at every hundredth of
// the searches, one call at a time, from any thread.
void RollingForecastInLanes(RunState& state, RunObserver& observer,
                            const ForecastProgress& progress, const LaneOptions& options = {});

}  // namespace sf
