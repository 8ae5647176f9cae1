#include "results/figures.h"

#include <cmath>

#include "results/ratio.h"
#include "results/run_health.h"
#include "state/period_stretches.h"

namespace sf {
namespace {

// What the figures are made of; the all row adds these in sales-point order.
struct FigureSums {
    double demand = 0.0;
    double sales = 0.0;
    double lostSales = 0.0;
    double returns = 0.0;
    double deliveries = 0.0;
    double error = 0.0;
    double absoluteError = 0.0;
    double squaredError = 0.0;
    double outcomePeriods = 0.0;
    double periodsWithoutLostSale = 0.0;
    double alpha = 0.0;
    double beta = 0.0;
    double rollingPeriods = 0.0;
    int unstable = 0;
    int negativeDeliveries = 0;
};

FigureSums SalesPointSums(const RunState& state, int sp) {
    FigureSums sums;
    sums.sales = state.salesSum[sp];
    sums.lostSales = state.lostSaleSum[sp];
    sums.returns = state.returnedSum[sp];
    const PeriodStretch outcome = OutcomeWindow(state);
    for (int t = outcome.first; t <= outcome.last; ++t) {
        const double demand = state.actualDemand(sp, t);
        const double error = state.mu(sp, t) - demand;
        sums.demand = sums.demand + demand;
        sums.deliveries = sums.deliveries + state.delivery(sp, t);
        sums.error = sums.error + error;
        sums.absoluteError = sums.absoluteError + std::fabs(error);
        sums.squaredError = sums.squaredError + error * error;
        sums.outcomePeriods += 1.0;
        sums.periodsWithoutLostSale += state.lostSale(sp, t) == 0.0 ? 1.0 : 0.0;
        sums.negativeDeliveries += state.delivery(sp, t) < 0.0 ? 1 : 0;
    }
    const PeriodStretch rolling = RollingStretch(state);
    for (int t = rolling.first; t <= rolling.last; ++t) {
        sums.alpha = sums.alpha + state.alphaUsed(sp, t);
        sums.beta = sums.beta + state.betaUsed(sp, t);
        sums.rollingPeriods += 1.0;
    }
    sums.unstable = IsUnstable(state, sp) ? 1 : 0;
    return sums;
}

void Add(FigureSums& total, const FigureSums& sums) {
    total.demand = total.demand + sums.demand;
    total.sales = total.sales + sums.sales;
    total.lostSales = total.lostSales + sums.lostSales;
    total.returns = total.returns + sums.returns;
    total.deliveries = total.deliveries + sums.deliveries;
    total.error = total.error + sums.error;
    total.absoluteError = total.absoluteError + sums.absoluteError;
    total.squaredError = total.squaredError + sums.squaredError;
    total.outcomePeriods += sums.outcomePeriods;
    total.periodsWithoutLostSale += sums.periodsWithoutLostSale;
    total.alpha = total.alpha + sums.alpha;
    total.beta = total.beta + sums.beta;
    total.rollingPeriods += sums.rollingPeriods;
    total.unstable += sums.unstable;
    total.negativeDeliveries += sums.negativeDeliveries;
}

Figures FromSums(const FigureSums& sums) {
    Figures figures;
    figures.demand = sums.demand;
    figures.sales = sums.sales;
    figures.lostSales = sums.lostSales;
    figures.returns = sums.returns;
    figures.deliveries = sums.deliveries;
    figures.fillRate = Ratio(sums.sales, sums.demand);
    figures.cycleServiceLevel = Ratio(sums.periodsWithoutLostSale, sums.outcomePeriods);
    figures.returnRate = Ratio(sums.returns, sums.deliveries);
    figures.bias = Ratio(sums.error, sums.outcomePeriods);
    figures.mae = Ratio(sums.absoluteError, sums.outcomePeriods);
    if (const std::optional<double> meanSquare = Ratio(sums.squaredError, sums.outcomePeriods)) {
        figures.rmse = std::sqrt(*meanSquare);
    }
    figures.alphaMean = Ratio(sums.alpha, sums.rollingPeriods);
    figures.betaMean = Ratio(sums.beta, sums.rollingPeriods);
    figures.unstable = sums.unstable;
    figures.negativeDeliveries = sums.negativeDeliveries;
    return figures;
}

}  // namespace

RunFigures ComputeFigures(const RunState& state) {
    RunFigures figures;
    FigureSums all;
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        const FigureSums sums = SalesPointSums(state, sp);
        figures.salesPoints.push_back(FromSums(sums));
        Add(all, sums);
    }
    figures.all = FromSums(all);
    return figures;
}

}  // namespace sf
