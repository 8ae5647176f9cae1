#pragma once

#include <optional>
#include <vector>

#include "state/run_state.h"

namespace sf {

// How a run's forecasts and deliveries served demand, for one sales point or for all of them.
// The sums run over the outcome window S..P, the constants' means over the rolling stretch
// S + A + H + 1..P. A rate or mean whose denominator is 0 has no value.
struct Figures {
    double demand = 0.0;
    double sales = 0.0;      // the report's salesSum (totalSales for all)
    double lostSales = 0.0;  // lostSaleSum (totalLostSale)
    double returns = 0.0;    // returnedSum (totalReturn)
    double deliveries = 0.0;
    std::optional<double> fillRate;           // sales / demand
    std::optional<double> cycleServiceLevel;  // share of periods without a lost sale
    std::optional<double> returnRate;         // returns / deliveries
    std::optional<double> bias;               // mean of forecast - demand
    std::optional<double> mae;                // mean of |forecast - demand|
    std::optional<double> rmse;               // root of the mean of (forecast - demand)^2
    std::optional<double> alphaMean;          // of the constants the periods used
    std::optional<double> betaMean;
    int unstable = 0;  // 1 or 0; for all, the number of unstable sales points
    int negativeDeliveries = 0;
};

struct RunFigures {
    std::vector<Figures> salesPoints;  // sales point sp at sp - 1
    // The sums of the sales points added in their order; its rates come from those sums, over
    // every sales point's periods.
    Figures all;
};

RunFigures ComputeFigures(const RunState& state);

}  // namespace sf
