#pragma once

#include <string>
#include <vector>

#include "results/figures.h"
#include "results/run_series.h"
#include "results/tradeoff.h"

namespace sf {

// The CSV texts of the export folder: a header row, commas, numbers as the shortest text that
// reads back to the same double, an empty cell where there is no value, LF line ends.

// summary.csv: one row per sales point, then the row "all".
std::string SummaryCsv(const RunFigures& figures);

// series.csv: one row per sales point and period 1..P, sales points outer.
std::string SeriesCsv(const RunSeries& series);

// tradeoff.csv: one row per tau.
std::string TradeoffCsv(const std::vector<TradeoffRow>& rows);

}  // namespace sf
