#pragma once

#include "results/run_results.h"
#include "ui/chart_content.h"

namespace sf::ui {

// The charts of a complete run, built from its results alone.

struct SalesPointCharts {
    ChartContent demand;     // demand, forecast and delivery over the periods
    ChartContent constants;  // the smoothing constants each period used
};

// The series of sales point salesPoint (from 1); where it names none, as for the row "all",
// empty charts that ask for a selection.
SalesPointCharts ChartsOfSalesPoint(const RunSeries& series, int salesPoint);

// Fill rate and cycle service level over the taus of the trade-off, with the run's own tau, the
// target's answer and, where costs were given, the cost on a right-hand axis with the cheapest
// tau marked.
ChartContent TradeoffChart(const RunResults& results);

}  // namespace sf::ui
