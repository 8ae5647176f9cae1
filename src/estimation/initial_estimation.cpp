#include "estimation/initial_estimation.h"

#include <cmath>

#include "estimation/brent.h"
#include "estimation/period_steps.h"

namespace sf {

void EstimateInitialMeanAndDeviation(RunState& state) {
    const int s = state.initPeriods;
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        double mean = 0.0;
        for (state.period = 1; state.period <= s; ++state.period) {
            mean = state.actualDemand(sp, state.period) + mean;
        }
        state.initialMu[sp] = mean / s;
    }
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        state.squareSum = 0.0;
        for (state.period = 1; state.period <= s; ++state.period) {
            const double deviation = state.actualDemand(sp, state.period) - state.initialMu[sp];
            state.squareSum = state.squareSum + deviation * deviation;
        }
        state.initialSigma[sp] = std::sqrt(state.squareSum / s);  // population form
    }
}

void EstimateInitialConstants(RunState& state, RunObserver& observer) {
    const int s = state.initPeriods;
    const int h = state.horizon;
    const int lastFitted = s + state.alphaBetaPeriods + h;

    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        state.initialAlpha[sp] = BrentAlphaInitial(state, observer, sp);
        // Measured against mu as the last trial of the alpha search left it.
        state.initialBeta[sp] = BrentBetaInitial(state, observer, sp);
        for (state.period = s + 1; state.period <= lastFitted; ++state.period) {
            state.alpha(sp, state.period) = state.initialAlpha[sp];
            state.beta(sp, state.period) = state.initialBeta[sp];
            state.alphaUsed(sp, state.period) = state.initialAlpha[sp];
            state.betaUsed(sp, state.period) = state.initialBeta[sp];
        }
    }

    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        for (state.period = s; state.period <= s + h; ++state.period) {
            state.mu(sp, state.period) = state.initialMu[sp];
        }
        for (state.period = s + h + 1; state.period <= lastFitted; ++state.period) {
            SmoothMeanAt(state, sp, state.period);
        }
    }

    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        for (state.period = s; state.period <= s + h; ++state.period) {
            state.mad(sp, state.period) = MadFromSigma(state.initialSigma[sp]);
            state.sigma(sp, state.period) = SigmaFromMad(state.mad(sp, state.period));
        }
        for (state.period = s + h + 1; state.period <= lastFitted; ++state.period) {
            SmoothDeviationAt(state, sp, state.period);
        }
    }
}

}  // namespace sf
