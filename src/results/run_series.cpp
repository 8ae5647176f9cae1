#include "results/run_series.h"

#include <algorithm>

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
    const int s = state.initPeriods;
    const int p = state.periodNumber;
    RunSeries copy;
    copy.periodNumber = p;
    copy.outcomeFirst = s;
    copy.tau = state.tau;
    copy.salesPoints.resize(static_cast<std::size_t>(std::max<int>(state.salesPointCount, 0)));
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        SalesPointSeries& series = copy.salesPoints[static_cast<std::size_t>(sp - 1)];
        series.demandMean = Written(state.demandMean, sp, 1,
                                    !state.demandRecorded && HasDemandMean(state.model) ? p : 0);
        series.demand = Written(state.actualDemand, sp, 1, p);
        // The initial estimation starts the forecasts at S; the constants are first used at S + 1.
        series.forecast = Written(state.mu, sp, s, p);
        series.mad = Written(state.mad, sp, s, p);
        series.sigma = Written(state.sigma, sp, s, p);
        series.alpha = Written(state.alphaUsed, sp, s + 1, p);
        series.beta = Written(state.betaUsed, sp, s + 1, p);
        series.delivery = Written(state.delivery, sp, s, p);
        series.lostSale = Written(state.lostSale, sp, s, p);
        series.returned = Written(state.returned, sp, s, p);
        series.sales = Written(state.sales, sp, s, p);
    }
    return copy;
}

}  // namespace sf
