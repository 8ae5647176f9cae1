#pragma once

#include <string_view>

#include "runtime/number_locale.h"
#include "runtime/report_file.h"
#include "state/run_state.h"

namespace sf {

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

}  // namespace sf
