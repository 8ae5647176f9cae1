#include "estimation/rolling_forecast.h"

#include "estimation/brent.h"
#include "estimation/period_steps.h"
#include "state/period_stretches.h"

namespace sf {

void RollingForecast(RunState& state, RunObserver& observer, const ForecastProgress& progress) {
    const PeriodStretch rolling = RollingStretch(state);
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        for (state.period = rolling.first; state.period <= rolling.last; ++state.period) {
            const int t = state.period;
            // The searches overwrite alpha, beta, mu, mad and sigma over S + 1..t; the steps
            // below start from what their last trials left.
            state.alpha(sp, t) = BrentAlphaUpdate(state, observer, sp, t, state.alpha(sp, t - 1));
            state.beta(sp, t) = BrentBetaUpdate(state, observer, sp, t, state.beta(sp, t - 1));
            state.alphaUsed(sp, t) = state.alpha(sp, t);
            state.betaUsed(sp, t) = state.beta(sp, t);
            SmoothMeanAt(state, sp, t);
            SmoothDeviationAt(state, sp, t);
        }
        progress(static_cast<double>(sp) / state.salesPointCount);
    }
}

}  // namespace sf
