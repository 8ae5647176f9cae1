#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/history_options.h"
#include "cli/results_options.h"
#include "run/catalogue_run.h"
#include "runtime/number_locale.h"
#include "scenario/scenario.h"
#include "state/run_inputs.h"
#include "state/run_options.h"

namespace sf {

struct CliOptions {
    RunInputs inputs;
    RunOptions run;
    int runs = 1;
    std::filesystem::path output = "out.txt";
    std::optional<std::filesystem::path> demand;  // a sales history in place of the models
    bool demandOfScenario = false;                // the scenario's, not --demand
    HistoryCliOptions history;                    // as the options give them
    HistoryChoices historyChoices;                // as the history is read: options over scenario
    bool help = false;
    ResultsCliOptions results;
    // Scenario files: --scenario is read beneath the options beside it; --save-scenario keeps
    // the scenario as given before the runs.
    std::filesystem::path scenario;
    std::filesystem::path saveScenario;
    bool version = false;
    bool quiet = false;        // stderr holds errors only
    bool outputGiven = false;  // --output named the report: a catalogue run writes one only then
    int jobs = 0;              // threads of a catalogue run in all; 0: one per core
    std::optional<CatalogueShard> shard;  // the slice of a catalogue's blocks to run
};

// Reads the command line over the boxes, model, options and seed of beneath, which the options
// given replace wherever they stand. Each option's value follows it as the next argument or
// after "=" ("--tau=0.5"). Empty, with the reason in problem, when it cannot be used.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& arguments,
                                          std::string& problem, const Scenario& beneath = {});

// Why the options of reading a history are refused without one.
std::string HistoryOptionsAlone();

// The scenario the options give, as --save-scenario keeps it; the history's path absolute.
Scenario GivenScenario(const CliOptions& options);

// The box texts as a run reads them: a number written with a "." takes the locale's decimal
// separator, so that scripts write "." everywhere while the locale's own stays accepted.
RunInputs WithLocaleDecimals(RunInputs inputs, const NumberLocale& locale);

// What a command line it cannot use prints on stderr: the problem and where to read more.
std::string UsageError(const std::string& problem);

std::string CliUsage();

}  // namespace sf
