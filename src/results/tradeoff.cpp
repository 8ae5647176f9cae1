#include "results/tradeoff.h"

#include <algorithm>

#include "results/ratio.h"
#include "results/tradeoff_kernel.h"
#include "runtime/kernel_set.h"

namespace sf {

std::vector<TradeoffRow> ComputeTradeoff(const RunSeries& series, Evaluation evaluation,
                                         const SalesPointChoice& chosen,
                                         std::span<const double> taus,
                                         const std::optional<OutcomeCosts>& costs) {
    return ComputeTradeoffWith(TradeoffKernels().Fastest(), series, evaluation, chosen, taus,
                               costs);
}

std::vector<TradeoffRow> ComputeTradeoffWith(const NamedTradeoffKernel& kernel,
                                             const RunSeries& series, Evaluation evaluation,
                                             const SalesPointChoice& chosen,
                                             std::span<const double> taus,
                                             const std::optional<OutcomeCosts>& costs) {
    const std::size_t count = taus.size();
    std::vector<double> lanes((count + kTradeoffBlock - 1) / kTradeoffBlock * kTradeoffBlock);
    for (std::size_t k = 0; k < lanes.size(); ++k) {
        lanes[k] = taus[std::min(k, count - 1)];
    }
    SumsByTau total(lanes.size());
    double demand = 0.0;
    double periods = 0.0;
    const PeriodStretch stretch = series.Stretch(evaluation);
    const int first = stretch.first;
    const int length = stretch.Length();
    // A series' values from the first period of the stretch on.
    auto window = [first](const PeriodSeries& column) {
        return &column.values[static_cast<std::size_t>(first - column.first)];
    };
    if (length > 0) {
        for (std::size_t at = 0; at < series.salesPoints.size(); ++at) {
            if (!chosen[at]) {
                continue;
            }
            const EvaluatedSeries& point = series.salesPoints[at].Of(evaluation);
            const double* periodDemand = window(series.salesPoints[at].demand);
            double salesPointDemand = 0.0;
            for (int period = 0; period < length; ++period) {
                salesPointDemand = salesPointDemand + periodDemand[period];
            }
            demand = demand + salesPointDemand;
            periods += length;
            kernel.addSalesPoint(window(point.forecast), window(point.sigma), periodDemand, length,
                                 lanes, total);
        }
    }

    std::vector<TradeoffRow> rows(count);
    for (std::size_t k = 0; k < count; ++k) {
        TradeoffRow& row = rows[k];
        row.tau = taus[k];
        row.demand = demand;
        row.sales = total.sales[k];
        row.fillRate = Ratio(row.sales, demand);
        row.cycleServiceLevel = Ratio(total.periodsWithoutLostSale[k], periods);
        row.lostSales = total.lostSales[k];
        row.returns = total.returns[k];
        row.deliveries = total.deliveries[k];
        if (costs) {
            row.cost = costs->lostSale * row.lostSales + costs->returned * row.returns;
        }
        row.runTau = taus[k] == series.tau;
    }
    return rows;
}

}  // namespace sf
