#include "results/run_series.h"

#include <algorithm>

#include "state/period_stretches.h"

namespace sf {
namespace {

// The periods first..last of one sales point's row, clipped to 1..P.
PeriodSeries Written(const Matrix& matrix, int sp, int first, int last) {
    PeriodSeries series;
    series.first = std::max(first, 1);
    if (last >= series.first) {
        const PeriodRow<const double> row = matrix.Row(sp);
        series.values.assign(&row[series.first], &row[last] + 1);
    }
    return series;
}

}  // namespace

RunSeries CopySeries(const RunState& state) {
    const int p = state.periodNumber;
    const PeriodStretch outcome = OutcomeWindow(state);
    const PeriodStretch constants = ConstantsStretch(state);
    RunSeries copy;
    copy.periodNumber = p;
    copy.outcomeFirst = outcome.first;
    copy.tau = state.tau;
    copy.salesPoints.resize(static_cast<std::size_t>(std::max<int>(state.salesPointCount, 0)));
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        SalesPointSeries& series = copy.salesPoints[static_cast<std::size_t>(sp - 1)];
        series.demandMean = Written(state.demandMean, sp, 1,
                                    !state.demandRecorded && HasDemandMean(state.model) ? p : 0);
        series.demand = Written(state.actualDemand, sp, 1, p);
        // The initial estimation starts the forecasts at S; the constants are first used at S + 1.
        series.forecast = Written(state.mu, sp, outcome.first, outcome.last);
        series.mad = Written(state.mad, sp, outcome.first, outcome.last);
        series.sigma = Written(state.sigma, sp, outcome.first, outcome.last);
        series.alpha = Written(state.alphaUsed, sp, constants.first, constants.last);
        series.beta = Written(state.betaUsed, sp, constants.first, constants.last);
        series.delivery = Written(state.delivery, sp, outcome.first, outcome.last);
        series.lostSale = Written(state.lostSale, sp, outcome.first, outcome.last);
        series.returned = Written(state.returned, sp, outcome.first, outcome.last);
        series.sales = Written(state.sales, sp, outcome.first, outcome.last);
    }
    return copy;
}

}  // namespace sf
