#pragma once

#include <optional>
#include <span>
#include <vector>

#include "results/run_series.h"

namespace sf {

// What a unit of lost sales and a unit returned cost.
struct OutcomeCosts {
    double lostSale = 0.0;
    double returned = 0.0;
};

// What the run's own forecasts would have given with another tau, all sales points together,
// over the outcome window: the deliveries and outcomes of every period and their sums, in the
// order the run itself takes, so the row of the run's own tau holds the run's totals.
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
};

// One row per tau, in the order given. No estimation runs again: the forecasts and sigmas are
// the run's.
std::vector<TradeoffRow> ComputeTradeoff(const RunSeries& series, std::span<const double> taus,
                                         const std::optional<OutcomeCosts>& costs);

struct NamedTradeoffKernel;
// ComputeTradeoff with a kernel of one's choosing, for the tests that prove them alike.
std::vector<TradeoffRow> ComputeTradeoffWith(const NamedTradeoffKernel& kernel,
                                             const RunSeries& series, std::span<const double> taus,
                                             const std::optional<OutcomeCosts>& costs);

}  // namespace sf
