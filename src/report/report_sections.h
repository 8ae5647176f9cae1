#pragma once

#include <array>
#include <string>
#include <string_view>

#include "runtime/number_locale.h"
#include "runtime/report_file.h"
#include "state/run_state.h"

namespace sf {

// The heading above each matrix's rows, in the report's order.
inline constexpr std::array<std::string_view, 6> kMatrixHeadings = {
    "Actual demand matrix: sales points in columns, periods in rows",
    "mu: sales points in columns, periods in rows",
    "sigma: sales points in columns, periods in rows",
    "sales points in columns, periods in rows",
    "alpha values used: sales points in columns, periods in rows",
    "beta values used: sales points in columns, periods in rows"};

// The three totals the report ends with.
struct ReportTotals {
    double sales = 0.0;
    double lostSale = 0.0;
    double returned = 0.0;
};

void WriteParameterHeading(ReportFile& report);

// One line per sales point: its number and the parameters drawn for the selected model.
void WriteParameterLines(RunState& state, ReportFile& report, const NumberLocale& locale);

// In place of the drawn parameters when the demand was read from a file.
void WriteDemandSource(ReportFile& report, std::string_view fileName);

// "Demand adjusted by a season of M periods", only when the run has a season.
void WriteSeasonLine(const RunState& state, ReportFile& report);

// A blank line, the heading and one row of "00" cells per period.
void WriteActualDemandMatrix(RunState& state, ReportFile& report, const NumberLocale& locale);

// Forecasts, deliveries, parameters found, the lost-sale table and the three totals.
void WriteRemainingSections(RunState& state, ReportFile& report, const NumberLocale& locale);

// The line above the rows of the lost-sale table.
std::string LostSaleHeading();

// A row of the lost-sale table as written for another sales point number, its sums as they were.
std::string RenumberedLostSaleRow(std::string_view row, int salesPoint, const NumberLocale& locale);

ReportTotals TotalsOf(const RunState& state);

// A blank line and the three total lines.
void WriteTotals(const ReportTotals& totals, ReportFile& report, const NumberLocale& locale);

}  // namespace sf
