#include "estimation/objectives.h"

#include <cmath>
#include <string>

#include "estimation/smoothing.h"
#include "runtime/run_error.h"
#include "state/period_stretches.h"

namespace sf {

void FailOnNonFiniteCriterion(PeriodRow<const double> series, PeriodRow<const double> errors,
                              int salesPoint, int first, int last, const char* seriesName) {
    for (int t = first; t <= last; ++t) {
        if (!std::isfinite(series[t]) || !std::isfinite(errors[t])) {
            FailAt(salesPoint, t,
                   std::string("the ") + seriesName + " is too large for a number (it overflowed)");
        }
    }
    FailAt(salesPoint, last, std::string("the error sum of the ") + seriesName + " overflowed");
}

double AlphaObjective(RunState& state, double trial, int salesPoint, int windowEnd) {
    const int first = CriterionWindow(state, windowEnd).first;
    const int lag = state.horizon;
    const PeriodRow<double> alpha = state.alpha.Row(salesPoint);
    const PeriodRow<double> forecast = state.mu.Row(salesPoint);
    const PeriodRow<double> squaredError = state.muSquaredError.Row(salesPoint);
    const PeriodRow<const double> demand = state.actualDemand.Row(salesPoint);

    for (int t = first; t <= windowEnd; ++t) {
        alpha[t] = trial;
    }
    double criterion = 0.0;
    for (int t = first; t <= windowEnd; ++t) {
        forecast[t] = state.initialMu[salesPoint];
    }
    for (int t = first + lag; t <= windowEnd; ++t) {
        const double w = SmoothingWeight(t, alpha[t]);
        forecast[t] = SmoothedStep(w, forecast[t - lag], demand[t - lag]);
    }
    for (int t = first; t <= windowEnd; ++t) {
        squaredError[t] = SquaredForecastError(forecast[t], demand[t]);
    }
    for (int t = first; t <= windowEnd; ++t) {
        criterion = criterion + squaredError[t];
    }
    state.alphaCriterion[salesPoint] = criterion;
    if (!std::isfinite(criterion)) {
        FailOnNonFiniteCriterion(forecast, squaredError, salesPoint, first, windowEnd,
                                 "smoothed mean");
    }
    return criterion;
}

double BetaObjective(RunState& state, double trial, int salesPoint, int windowEnd) {
    const int first = CriterionWindow(state, windowEnd).first;
    const int lag = state.horizon;
    const PeriodRow<double> beta = state.beta.Row(salesPoint);
    const PeriodRow<double> mad = state.mad.Row(salesPoint);
    const PeriodRow<double> sigma = state.sigma.Row(salesPoint);
    const PeriodRow<double> squaredError = state.madSquaredError.Row(salesPoint);
    const PeriodRow<const double> forecast = state.mu.Row(salesPoint);
    const PeriodRow<const double> demand = state.actualDemand.Row(salesPoint);

    for (int t = first; t <= windowEnd; ++t) {
        beta[t] = trial;
    }
    double criterion = 0.0;
    for (int t = first; t <= windowEnd; ++t) {
        mad[t] = MadFromSigma(state.initialSigma[salesPoint]);
        sigma[t] = SigmaFromMad(mad[t]);
    }
    for (int t = first + lag; t <= windowEnd; ++t) {
        const double w = SmoothingWeight(t, beta[t]);
        mad[t] = SmoothedStep(w, mad[t - lag], std::fabs(demand[t - lag] - forecast[t - lag]));
        sigma[t] = SigmaFromMad(mad[t]);
    }
    for (int t = first; t <= windowEnd; ++t) {
        squaredError[t] = SquaredDeviationError(forecast[t], demand[t], mad[t]);
    }
    for (int t = first; t <= windowEnd; ++t) {
        criterion = criterion + squaredError[t];
    }
    state.betaCriterion[salesPoint] = criterion;
    if (!std::isfinite(criterion)) {
        FailOnNonFiniteCriterion(sigma, squaredError, salesPoint, first, windowEnd,
                                 "smoothed deviation");
    }
    return criterion;
}

}  // namespace sf
