#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "results/next_deliveries.h"
#include "results/run_record.h"
#include "results/run_results.h"
#include "state/run_state.h"

namespace sf {

// After complete run number `run` (from 1): the summary on out when asked for (on err with
// --next), and after the last run next.csv on out and the export folder. warnings: the run's
// health warnings as printed, a line each; healthNotes: its health notes, which go with the
// results only, followed by what the proposals tell; scenario: the scenario file's text of the
// runs, which run.json keeps. False when an export file could not be written; the reason is then on
// err. Why --check-from cannot check the run the options describe, naming the option; none when it
// can or is not given, or when the run will refuse its inputs itself.
std::optional<std::string> RefusedCheckFrom(const CliOptions& options, const NumberLocale& locale);

// How the export folder of the last run is written from the results, their coming rows and the
// record: the note for the user; throws a RunError naming what failed.
using ExportWriting = std::function<std::string(
    const RunResults& results, const std::vector<NextDelivery>& next, const RunRecord& record)>;

// As DeliverResults, for results already computed with their proposals and coming rows (a
// catalogue run's, which finishes an export it began as it ran).
bool DeliverComputedResults(const RunResults& results, const std::vector<NextDelivery>& next,
                            const CliOptions& options, int run,
                            const std::vector<std::string>& warnings,
                            const std::vector<std::string>& healthNotes,
                            const std::string& scenario, std::ostream& out, std::ostream& err,
                            const ExportWriting& writeExport);

bool DeliverResults(const RunState& state, const CliOptions& options, int run,
                    const std::vector<std::string>& warnings,
                    const std::vector<std::string>& healthNotes, const std::string& scenario,
                    std::ostream& out, std::ostream& err);

}  // namespace sf
