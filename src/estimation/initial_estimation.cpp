#include "estimation/initial_estimation.h"

#include <cmath>

#include "estimation/brent.h"
#include "estimation/period_steps.h"
#include "state/period_stretches.h"

namespace sf {

void EstimateInitialMeanAndDeviation(RunState& state) {
    const PeriodStretch window = InitialisationWindow(state);
    const int s = state.initPeriods;  // the sums are divided by S
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        double mean = 0.0;
        for (state.period = window.first; state.period <= window.last; ++state.period) {
            mean = state.actualDemand(sp, state.period) + mean;
        }
        state.initialMu[sp] = mean / s;
    }
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        state.squareSum = 0.0;
        for (state.period = window.first; state.period <= window.last; ++state.period) {
            const double deviation = state.actualDemand(sp, state.period) - state.initialMu[sp];
            state.squareSum = state.squareSum + deviation * deviation;
        }
        state.initialSigma[sp] = std::sqrt(state.squareSum / s);  // population form
    }
}

void EstimateInitialConstants(RunState& state, RunObserver& observer) {
    const PeriodStretch start = StartStretch(state);
    const PeriodStretch fitted = InitialFittingWindow(state);

    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        state.initialAlpha[sp] = BrentAlphaInitial(state, observer, sp);
        // Measured against mu as the last trial of the alpha search left it.
        state.initialBeta[sp] = BrentBetaInitial(state, observer, sp);
        for (state.period = fitted.first; state.period <= fitted.last; ++state.period) {
            state.alpha(sp, state.period) = state.initialAlpha[sp];
            state.beta(sp, state.period) = state.initialBeta[sp];
            state.alphaUsed(sp, state.period) = state.initialAlpha[sp];
            state.betaUsed(sp, state.period) = state.initialBeta[sp];
        }
    }

    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        for (state.period = start.first; state.period <= start.last; ++state.period) {
            state.mu(sp, state.period) = state.initialMu[sp];
        }
        for (state.period = start.last + 1; state.period <= fitted.last; ++state.period) {
            SmoothMeanAt(state, sp, state.period);
        }
    }

    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        for (state.period = start.first; state.period <= start.last; ++state.period) {
            state.mad(sp, state.period) = MadFromSigma(state.initialSigma[sp]);
            state.sigma(sp, state.period) = SigmaFromMad(state.mad(sp, state.period));
        }
        for (state.period = start.last + 1; state.period <= fitted.last; ++state.period) {
            SmoothDeviationAt(state, sp, state.period);
        }
    }
}

}  // namespace sf
