#pragma once

#include <cmath>

#include "estimation/series_checks.h"
#include "estimation/smoothing.h"
#include "state/run_state.h"

namespace sf {

// The steps that carry one sales point's series to period t with the constants stored at t,
// shared by the initial estimation and the rolling forecast.

// F(t) = (1 - w) F(t - H) + w D(t - H). With H = 0 it reads the F(t) already there: what the
// last trial of the alpha search left.
inline void SmoothMeanAt(RunState& state, int salesPoint, int t) {
    const int h = state.horizon;
    const double w = SmoothingWeight(t, state.alpha(salesPoint, t));
    state.mu(salesPoint, t) =
        SmoothedStep(w, state.mu(salesPoint, t - h), state.actualDemand(salesPoint, t - h));
    CheckFiniteForecast(state, salesPoint, t);
}

// M(t) = |D(t - H) - F(t - H)| w + (1 - w) M(t - H) and sigma(t). Runs after SmoothMeanAt has
// written F(t), so with H = 0 it measures against that new F(t).
inline void SmoothDeviationAt(RunState& state, int salesPoint, int t) {
    const int h = state.horizon;
    const double w = SmoothingWeight(t, state.beta(salesPoint, t));
    const double absoluteError =
        std::fabs(state.actualDemand(salesPoint, t - h) - state.mu(salesPoint, t - h));
    state.mad(salesPoint, t) = SmoothedDeviation(w, absoluteError, state.mad(salesPoint, t - h));
    state.sigma(salesPoint, t) = SigmaFromMad(state.mad(salesPoint, t));
    CheckFiniteDeviation(state, salesPoint, t);
}

}  // namespace sf
