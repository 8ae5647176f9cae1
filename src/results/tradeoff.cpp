#include "results/tradeoff.h"

#include <algorithm>
#include <utility>

#include "results/ratio.h"
#include "results/tradeoff_kernel.h"
#include "runtime/kernel_set.h"

namespace sf {
namespace {

// A block's sums into the pooled ones (the first block's are the pool, later ones are added),
// and the block's cleared for the next.
void PoolBlock(SumsByTau& block, double& blockDemand, double& blockPeriods, bool firstBlock,
               SumsByTau& total, double& demand, double& periods) {
    if (firstBlock) {
        std::swap(total, block);
        demand = blockDemand;
        periods = blockPeriods;
    } else {
        for (auto [into, from] :
             {std::pair(&total.lostSales, &block.lostSales),
              std::pair(&total.returns, &block.returns),
              std::pair(&total.deliveries, &block.deliveries),
              std::pair(&total.sales, &block.sales),
              std::pair(&total.periodsWithoutLostSale, &block.periodsWithoutLostSale)}) {
            for (std::size_t k = 0; k < into->size(); ++k) {
                (*into)[k] = (*into)[k] + (*from)[k];
            }
        }
        demand = demand + blockDemand;
        periods += blockPeriods;
    }
    block = SumsByTau(total.sales.size());
    blockDemand = 0.0;
    blockPeriods = 0.0;
}

}  // namespace

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
    SumsByTau block(lanes.size());
    double blockDemand = 0.0;
    double blockPeriods = 0.0;
    const PeriodStretch stretch = series.Stretch(evaluation);
    const int first = stretch.first;
    const int length = stretch.Length();
    // A series' values from the first period of the stretch on.
    auto window = [first](const PeriodSeries& column) {
        return &column.values[static_cast<std::size_t>(first - column.first)];
    };
    std::size_t begin = 0;
    for (const std::size_t end : length > 0 ? BlockEnds(series) : std::vector<std::size_t>{}) {
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
            blockDemand = blockDemand + salesPointDemand;
            blockPeriods += length;
            kernel.addSalesPoint(window(point.forecast), window(point.sigma), periodDemand, length,
                                 lanes, block);
        }
        PoolBlock(block, blockDemand, blockPeriods, begin == 0, total, demand, periods);
        begin = end;
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
