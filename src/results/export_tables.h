#pragma once

#include <string>
#include <string_view>

#include "results/next_deliveries.h"
#include "results/run_record.h"
#include "results/run_results.h"
#include "results/run_series.h"

namespace sf {

// The CSV texts of the export folder: a header row, commas, numbers as the shortest text that
// reads back to the same double, an empty cell where there is no value, text quoted where it
// holds a comma, a quote or a line end, LF line ends.

// summary.csv: per evaluation, as_forecast first, one row per sales point, then the rows
// "sound" and "all".
std::string SummaryCsv(const RunResults& results, const RunRecord& record);

// The cells of a row of summary.csv after its keys, each after a comma, and the line end.
std::string SummaryCells(const Figures& figures);

// series.csv: one row per sales point and period 1..P, then its coming periods, sales points
// outer.
std::string SeriesCsv(const RunSeries& series);
// Its header row, and the rows of a block of a catalogue whose first sales point is first.
std::string SeriesHeader();
std::string SeriesRows(const RunSeries& block, int first);

// next.csv: one row per sales point and coming period, sales points outer; the header alone
// when as_forecast has no periods, so that nothing can be decided from it.
std::string NextCsv(const RunResults& results);
// From rows made already (NextDeliveries).
std::string NextCsv(const RunResults& results, const std::vector<NextDelivery>& rows);

// check.csv: the check on unseen periods, per answer the sales points then the pooled row
// "sound"; empty when the run was not checked.
std::string CheckCsv(const RunResults& results);

// season.csv: the season indices of a run with a season, one row per sales point and position
// 1..M (position p holds the periods p, p + M, ...); empty without a season.
std::string SeasonCsv(const RunSeries& series);
inline constexpr std::string_view kSeasonHeader = "sales_point,name,position,index";

// tradeoff.csv: per evaluation, as_forecast first, one row per tau.
std::string TradeoffCsv(const RunResults& results);

}  // namespace sf
