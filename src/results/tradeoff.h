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

// The largest cost a front end takes: a cost of lost sales and returns then overflows only where
// the outcomes themselves are beyond any demand a run has.
inline constexpr double kLargestCost = 1e15;

// Whether a typed cost can be used: a number from 0 to kLargestCost.
inline bool IsUsableCost(double cost) {
    return cost >= 0.0 && cost <= kLargestCost;
}

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

}  // namespace sf
