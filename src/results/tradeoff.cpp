#include "results/tradeoff.h"

#include <algorithm>
#include <utility>

#include "results/ratio.h"
#include "results/tradeoff_kernel.h"
#include "runtime/kernel_set.h"

namespace sf {

std::vector<double> TradeoffLanes(std::span<const double> taus) {
    const std::size_t count = taus.size();
    std::vector<double> lanes((count + kTradeoffBlock - 1) / kTradeoffBlock * kTradeoffBlock);
    for (std::size_t k = 0; k < lanes.size(); ++k) {
        lanes[k] = taus[std::min(k, count - 1)];
    }
    return lanes;
}

TradeoffSums BlockTradeoffSums(const NamedTradeoffKernel& kernel, const RunSeries& series,
                               Evaluation evaluation, const SalesPointChoice& chosen,
                               const std::vector<double>& lanes, std::size_t begin,
                               std::size_t end) {
    TradeoffSums block(lanes.size());
    const PeriodStretch stretch = series.Stretch(evaluation);
    const int first = stretch.first;
    const int length = stretch.Length();
    if (length <= 0) {
        return block;
    }
    // A series' values from the first period of the stretch on.
    auto window = [first](const PeriodSeries& column) {
        return &column.values[static_cast<std::size_t>(first - column.first)];
    };
    for (std::size_t at = begin; at < end; ++at) {
        if (!chosen[at]) {
            continue;
        }
        const EvaluatedSeries& point = series.salesPoints[at].Of(evaluation);
        const double* periodDemand = window(series.salesPoints[at].demand);
        double salesPointDemand = 0.0;
        for (int period = 0; period < length; ++period) {
            salesPointDemand = salesPointDemand + periodDemand[period];
        }
        block.demand = block.demand + salesPointDemand;
        block.periods += length;
        kernel.addSalesPoint(window(point.forecast), window(point.sigma), periodDemand, length,
                             lanes, block.byTau);
    }
    return block;
}

void PoolTradeoffSums(TradeoffSums& total, TradeoffSums&& block, bool firstBlock) {
    if (firstBlock) {
        total = std::move(block);
        return;
    }
    SumsByTau& into = total.byTau;
    const SumsByTau& from = block.byTau;
    for (auto [to, add] :
         {std::pair(&into.lostSales, &from.lostSales), std::pair(&into.returns, &from.returns),
          std::pair(&into.deliveries, &from.deliveries), std::pair(&into.sales, &from.sales),
          std::pair(&into.periodsWithoutLostSale, &from.periodsWithoutLostSale)}) {
        for (std::size_t k = 0; k < to->size(); ++k) {
            (*to)[k] = (*to)[k] + (*add)[k];
        }
    }
    total.demand = total.demand + block.demand;
    total.periods += block.periods;
}

std::vector<TradeoffRow> TradeoffRows(const TradeoffSums& total, std::span<const double> taus,
                                      double runTau, const std::optional<OutcomeCosts>& costs) {
    std::vector<TradeoffRow> rows(taus.size());
    for (std::size_t k = 0; k < taus.size(); ++k) {
        TradeoffRow& row = rows[k];
        row.tau = taus[k];
        row.demand = total.demand;
        row.sales = total.byTau.sales[k];
        row.fillRate = Ratio(row.sales, total.demand);
        row.cycleServiceLevel = Ratio(total.byTau.periodsWithoutLostSale[k], total.periods);
        row.lostSales = total.byTau.lostSales[k];
        row.returns = total.byTau.returns[k];
        row.deliveries = total.byTau.deliveries[k];
        if (costs) {
            row.cost = costs->lostSale * row.lostSales + costs->returned * row.returns;
        }
        row.runTau = taus[k] == runTau;
    }
    return rows;
}

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
    const std::vector<double> lanes = TradeoffLanes(taus);
    TradeoffSums total(lanes.size());
    std::size_t begin = 0;
    for (const std::size_t end : BlockEnds(series)) {
        PoolTradeoffSums(total,
                         BlockTradeoffSums(kernel, series, evaluation, chosen, lanes, begin, end),
                         begin == 0);
        begin = end;
    }
    return TradeoffRows(total, taus, series.tau, costs);
}

}  // namespace sf
