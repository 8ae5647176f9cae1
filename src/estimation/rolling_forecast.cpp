#include "estimation/rolling_forecast.h"

#include <cmath>

#include "estimation/brent.h"
#include "estimation/series_checks.h"
#include "estimation/smoothing.h"

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

            const double w = SmoothingWeight(t, state.alpha(sp, t));
            state.mu(sp, t) = (1.0 - w) * state.mu(sp, t - h) + w * state.actualDemand(sp, t - h);
            CheckFiniteForecast(state, sp, t);

            const double wBeta = SmoothingWeight(t, state.beta(sp, t));
            state.mad(sp, t) =
                std::fabs(state.actualDemand(sp, t - h) - state.mu(sp, t - h)) * wBeta +
                (1.0 - wBeta) * state.mad(sp, t - h);
            state.sigma(sp, t) = state.mad(sp, t) / kMadPerSigma;
            CheckFiniteDeviation(state, sp, t);
        }
        progress(static_cast<double>(sp) / state.salesPointCount);
    }
}

}  // namespace sf
