#pragma once

#include <optional>
#include <span>
#include <vector>

#include "results/run_series.h"
#include "results/tradeoff_kernel.h"

namespace sf {

// What a unit of lost sales and a unit returned cost.
struct OutcomeCosts {
    double lostSale = 0.0;
    double returned = 0.0;
};

// What one evaluation's forecasts would have given with another tau, the sales points taken
// together, over the evaluation's stretch: the deliveries and outcomes of every period and
// their sums, in the order the run itself takes, so the row of the run's own tau holds the
// evaluation's sums (as reported over every sales point: the run's totals).
struct TradeoffRow {
    double tau = 0.0;
    std::optional<double> fillRate;           // sales / demand
    std::optional<double> cycleServiceLevel;  // share of periods without a lost sale
    double lostSales = 0.0;
    double returns = 0.0;
    double deliveries = 0.0;
    double sales = 0.0;
    std::optional<double> cost;  // lost-sale cost x lost sales + return cost x returns
    bool runTau = false;         // the run's own tau
    double demand = 0.0;         // of the chosen sales points over the stretch
};

// The sales points a trade-off takes, sales point sp at sp - 1: the sound ones.
using SalesPointChoice = std::vector<bool>;

// One row per tau, in the order given, over the chosen sales points. No estimation runs again:
// the forecasts and sigmas are the evaluation's.
std::vector<TradeoffRow> ComputeTradeoff(const RunSeries& series, Evaluation evaluation,
                                         const SalesPointChoice& chosen,
                                         std::span<const double> taus,
                                         const std::optional<OutcomeCosts>& costs);

// What the rows of a trade-off come from: the sums over the chosen sales points for every tau
// of the padded grid (TradeoffLanes), their demand and their periods.
struct TradeoffSums {
    TradeoffSums() : byTau(0) {}
    explicit TradeoffSums(std::size_t lanes) : byTau(lanes) {}
    SumsByTau byTau;
    double demand = 0.0;
    double periods = 0.0;
};

// The taus in blocks of kTradeoffBlock, a last partial block filled with repeats.
std::vector<double> TradeoffLanes(std::span<const double> taus);

// The sums of the chosen sales points of one block of the series, begin..end.
TradeoffSums BlockTradeoffSums(const NamedTradeoffKernel& kernel, const RunSeries& series,
                               Evaluation evaluation, const SalesPointChoice& chosen,
                               const std::vector<double>& lanes, std::size_t begin,
                               std::size_t end);

// A block's sums into those of the blocks before it: the first block's are the pool.
void PoolTradeoffSums(TradeoffSums& total, TradeoffSums&& block, bool firstBlock);

// The rows of the taus given (the lanes' first ones) from the pooled sums.
std::vector<TradeoffRow> TradeoffRows(const TradeoffSums& total, std::span<const double> taus,
                                      double runTau, const std::optional<OutcomeCosts>& costs);

// ComputeTradeoff with a kernel of one's choosing, for the tests that prove them alike.
std::vector<TradeoffRow> ComputeTradeoffWith(const NamedTradeoffKernel& kernel,
                                             const RunSeries& series, Evaluation evaluation,
                                             const SalesPointChoice& chosen,
                                             std::span<const double> taus,
                                             const std::optional<OutcomeCosts>& costs);

}  // namespace sf
