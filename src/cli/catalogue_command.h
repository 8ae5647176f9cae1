#pragma once

#include <optional>
#include <string>

#include "cli/cli_options.h"
#include "runtime/number_locale.h"
#include "state/run_observer.h"

namespace sf {

// The largest sales point number the report's number format prints.
inline constexpr int kMostReportedSalesPoints = 32767;

// Why the options cannot run the catalogue their sales history makes (naming the option to add
// or leave out); none when they can.
std::optional<std::string> CatalogueUsageProblem(const CliOptions& options);

// The runs of a catalogue, each delivering its results as a run of the form does; the exit
// status. Progress goes on one line of stderr where it is a terminal and not --quiet.
int RunCatalogueCommand(CliOptions& options, const NumberLocale& locale, RunObserver& observer,
                        const std::string& scenarioText);

}  // namespace sf
