#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "state/run_state.h"

namespace sf {

// After complete run number `run` (from 1): the summary on out when asked for (on err with
// --next), and after the last run next.csv on out and the export folder. warnings: the run's
// health warnings as printed, a line each; notes: its health notes, which go with the results
// only; scenario: the scenario file's text of the runs, which run.json keeps. False when an
// export file could not be written; the reason is then on err.
bool DeliverResults(const RunState& state, const CliOptions& options, int run,
                    const std::vector<std::string>& warnings, const std::vector<std::string>& notes,
                    const std::string& scenario,
                    std::ostream& out, std::ostream& err);

}  // namespace sf
