#include "estimation/rolling_forecast.h"

#include "estimation/brent.h"
#include "estimation/period_steps.h"

namespace sf {

void RollingForecast(RunState& state, RunObserver& observer, const ForecastProgress& progress) {
    const int h = state.horizon;
    const int firstRolling = state.initPeriods + state.alphaBetaPeriods + h + 1;
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        for (state.period = firstRolling; state.period <= state.periodNumber; ++state.period) {
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
