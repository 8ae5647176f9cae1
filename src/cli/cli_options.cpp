#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "cli/option_suggestion.h"
#include "runtime/decimal_point_text.h"
#include "state/box_keys.h"
#include "state/example_inputs.h"

namespace sf {
namespace {

// The box an option fills: each takes the text as the user would type it.
std::string RunInputs::*BoxOfOption(std::string_view option) {
    for (const BoxKey& box : kBoxKeys) {
        if (option == OptionOf(box)) {
            return box.text;
        }
    }
    return nullptr;
}

// The models as --model takes them, the one the window starts with marked.
std::string ModelList() {
    std::string list;
    for (const DemandModelRow& row : kDemandModels) {
        list += (list.empty() ? "" : ", ") + std::string(row.name) +
                (row.model == RunInputs().model ? " (default)" : "");
    }
    return list;
}

// What p3 holds for the models that read it.
std::string P3Meaning() {
    std::string meaning;
    for (const DemandModelRow& row : kDemandModels) {
        if (UsesP3(row.model)) {
            meaning += (meaning.empty() ? "" : ", ") + std::string(row.parameters[2].word) +
                       " of " + std::string(row.name);
        }
    }
    return meaning;
}

std::optional<int> ParseRunCount(const std::string& text) {
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count < 1) {
        return std::nullopt;
    }
    return count;
}

// The options of the batch command alone that take a value; the boxes' and the results' are
// in their own tables.
constexpr std::string_view kValueOptions[] = {"--demand", "--model",    "--runs",
                                              "--output", "--scenario", "--save-scenario"};

bool TakesValue(std::string_view option) {
    return BoxOfOption(option) != nullptr || IsResultsOption(option) || IsHistoryOption(option) ||
           std::ranges::find(kValueOptions, option) != std::end(kValueOptions);
}

// Sets what an option without a value asks for; false for any other option.
bool TakeFlag(std::string_view option, CliOptions& options, bool& example) {
    if (option == "--help" || option == "-h") {
        options.help = true;
    } else if (option == "--example") {
        example = true;
    } else if (option == "--bounded-constants") {
        options.run.boundedConstants = true;
    } else if (option == "--summary") {
        options.results.summary = true;
    } else if (option == "--next") {
        options.results.next = true;
    } else if (option == "--version") {
        options.version = true;
    } else if (option == "--quiet") {
        options.quiet = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& arguments,
                                          std::string& problem, const Scenario& beneath) {
    CliOptions options;
    options.run.boundedConstants = beneath.boundedConstants;
    options.run.boxNaming = BoxNaming::options;
    options.results.seed = beneath.seed;
    bool example = false;
    std::optional<DemandModel> model;
    // Box options are applied after --example or the scenario, wherever they stand, so that
    // they win.
    std::vector<std::pair<std::string RunInputs::*, std::string>> boxTexts;
    std::string countOption;  // --sales-points or --periods, which a sales history gives

    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        // A long option may carry its value after "=".
        const std::size_t equals =
            argument.starts_with("--") ? argument.find('=') : std::string::npos;
        const std::string option = argument.substr(0, equals);
        if (TakeFlag(option, options, example)) {
            if (equals != std::string::npos) {
                problem = "option " + option + " takes no value";
                return std::nullopt;
            }
            continue;
        }
        if (!TakesValue(option)) {
            problem = option.size() > 1 && option.starts_with("-")
                          ? "unknown option " + option
                          : "unexpected argument \"" + argument + "\"";
            if (const std::optional<std::string> meant =
                    NearestOption(option, OptionsNamedIn(CliUsage()))) {
                problem += "; did you mean " + *meant + "?";
            }
            return std::nullopt;
        }
        if (equals == std::string::npos && at + 1 >= arguments.size()) {
            problem = "option " + option + " needs a value";
            return std::nullopt;
        }
        const std::string value =
            equals != std::string::npos ? argument.substr(equals + 1) : arguments[++at];
        if (std::string RunInputs::*const box = BoxOfOption(option)) {
            boxTexts.emplace_back(box, value);
            if (box == &RunInputs::Endpointnumber || box == &RunInputs::Periodnumber) {
                countOption = option;
            }
        } else if (option == "--demand") {
            if (value.empty()) {
                problem = "--demand needs a file name";
                return std::nullopt;
            }
            options.demand = value;
        } else if (option == "--model") {
            model = DemandModelFromName(value);
            if (!model) {
                problem = "unknown model \"" + value + "\"";
                return std::nullopt;
            }
        } else if (option == "--runs") {
            const std::optional<int> runs = ParseRunCount(value);
            if (!runs) {
                problem = "--runs needs a whole number of at least 1, not \"" + value + "\"";
                return std::nullopt;
            }
            options.runs = *runs;
        } else if (option == "--output") {
            if (value.empty()) {
                problem = "--output needs a file name";
                return std::nullopt;
            }
            options.output = value;
        } else if (option == "--scenario" || option == "--save-scenario") {
            if (value.empty()) {
                problem = option + " needs a file name";
                return std::nullopt;
            }
            (option == "--scenario" ? options.scenario : options.saveScenario) = value;
        } else if (TakeHistoryOption(option, value, options.history, problem) ==
                       OptionUse::refused ||
                   TakeResultsOption(option, value, options.results, problem) ==
                       OptionUse::refused) {
            return std::nullopt;
        }
    }
    if (const std::optional<std::string> refused = FinishResultsOptions(options.results)) {
        problem = *refused;
        return std::nullopt;
    }

    // --demand names another file, which the scenario's reading choices are not for.
    if (!options.demand && beneath.history) {
        options.demand = beneath.history->path;
        options.demandOfScenario = true;
        options.historyChoices = options.history.Over(beneath.history->choices);
    } else {
        options.historyChoices = options.history.Over({});
    }
    if (options.history.Any() && !options.demand && options.scenario.empty()) {
        problem = HistoryOptionsAlone();
        return std::nullopt;
    }
    if (options.demand && !countOption.empty()) {
        problem = countOption + " cannot be used with " +
                  (options.demandOfScenario ? "the scenario's sales history" : "--demand") +
                  ": the sales history gives the number of sales points and of periods";
        return std::nullopt;
    }
    if (example && !options.scenario.empty()) {
        problem = "--example and --scenario both fill every box; give one of them";
        return std::nullopt;
    }
    options.inputs = example ? ExampleInputs() : beneath.inputs;
    for (const auto& [box, text] : boxTexts) {
        options.inputs.*box = text;
    }
    if (model) {
        options.inputs.model = *model;
    }
    return options;
}

std::string HistoryOptionsAlone() {
    return "--history-decimal, --history-header, --history-columns and --history-missing need a "
           "sales history: --demand, or a scenario that names one";
}

Scenario GivenScenario(const CliOptions& options) {
    Scenario scenario{options.inputs, options.run.boundedConstants, options.results.seed, {}};
    if (options.demand) {
        scenario.history = AbsoluteSource(*options.demand, options.historyChoices);
    }
    return scenario;
}

RunInputs WithLocaleDecimals(RunInputs inputs, const NumberLocale& locale) {
    for (const BoxKey& box : kBoxKeys) {
        inputs.*box.text = WithLocaleDecimal(inputs.*box.text, locale);
    }
    return inputs;
}

std::string UsageError(const std::string& problem) {
    return "sales-forecast-cli: " + problem +
           "\nTry 'sales-forecast-cli --help' for more information.\n";
}

std::string CliUsage() {
    const std::string modelLines = "  --p3 TEXT                  " + P3Meaning() +
                                   "\n  --model NAME               " + ModelList() + "\n";
    return R"(Usage: sales-forecast-cli [OPTION]...

Simulates demand at up to 100 sales points, or reads it from a sales history, forecasts it
by exponential smoothing, sets the deliveries and writes the report out.txt. Every box of
the window has an option that takes its text as typed; unset boxes hold the window's
start-up texts (p1 limits 10 and 30, the rest empty). A value follows its option or comes
after "=" (--tau=0.5). Numbers take a "." as decimal point in any locale; the boxes take
the locale's own separator too.

The boxes:
  --sales-points TEXT        Number of Sales Points (1 to 100)
  --periods TEXT             Number of Periods (0 to 600)
  --init-periods TEXT        # of periods used for estimating initial mu and sigma
  --alpha-beta-periods TEXT  # of periods used for estimating initial alpha and beta
  --warm-up TEXT             Warm-up period
  --horizon TEXT             Forecasting horizon
  --tau TEXT                 tau, the safety factor
  --p1-low TEXT, --p1-up TEXT  limits of the first model parameter
  --p2-low TEXT, --p2-up TEXT  limits of the second model parameter
)" + modelLines +
           R"(
The run:
  --example                  fill the boxes with a small loga scenario; other options win
  --scenario FILE            read the boxes, the model, the options and the seed from a
                             scenario file (or the run.json of an export); other options win
  --save-scenario FILE       write the boxes, the model, the options and the seed as given
                             to a scenario file, then run as usual
  --demand FILE              read the demand from a sales history instead of drawing it: CSV
                             with a comma, semicolon or tab, wide (a column per sales point,
                             an optional header of names and first column of dates) or long
                             (a name, a period or date and a demand column); the file gives
                             the sales points and periods, the model and its limits are not
                             used
  --history-columns NAME,PERIOD,DEMAND
                             the columns of a long history (header names or numbers from 1)
                             when the reader should not find them by their content
  --history-header yes|no|auto
                             whether row 1 of the history holds names (auto: when a cell in it
                             is not a number)
  --history-decimal comma|point|auto
                             the history's decimal separator; needed when a semicolon or tab
                             file holds only numbers like 1.687 (auto: a comma when a number
                             holds one)
  --history-missing zero|refuse
                             read a long history's missing rows as demand 0 (default: refuse)
  --bounded-constants        keep the smoothing constants within 0 and 1
  --runs K                   K runs in one start; each rewrites the report (default 1)
  --output PATH              report file (default out.txt)
  --quiet                    print only errors on stderr: no warnings, no notices

Results of a run:
  --export DIR               replace the folder DIR, in one step once the run is complete, by
                             one holding summary.csv, series.csv, tradeoff.csv, next.csv and
                             run.json; DIR must be new, empty or hold an earlier export only
  --summary                  print after the closing message (after every run) the fill
                             rate, cycle service level, lost sales and returns of the sound
                             sales points as forecast and as reported, the notes, the
                             answers below and the deliveries to decide now
  --next                     print next.csv, what to deliver in the coming periods, on
                             stdout and nothing else (after the last run); the closing
                             message and --summary go to stderr
  --tau-grid FROM:TO:STEP    the taus of the trade-off (default 0:3:0.1), at most 10001; the
                             run's own tau is added
  --target-fill-rate X       the smallest tau whose fill rate reaches X (0 < X <= 1)
  --target-service-level X   the smallest tau whose cycle service level reaches X (0 < X <= 1)
  --lost-sale-cost C, --return-cost C
                             the cost of a unit lost and of a unit returned (both, 0 to 1e15):
                             the cost of each tau, the cheapest tau of the grid and the
                             normal-theory tau
  --seed N                   start the random sequence from N (0 to 4294967295, default 5489)

  -h, --help                 print this help
  --version                  print the program's name and version

No option writes over a file another one names (--output, --save-scenario and --export
against --demand, --scenario and one another): such a pair is refused before anything is
written. --demand and --scenario read files only, and /dev/stdin.

Warnings after a complete run go to stderr, each line starting "Warning: seed N, run K: "
(with a sales history, its file instead of the seed). With --runs K, --export writes the
results of the last run, once it is complete; an export that cannot be written is named on
stderr and exits 1, leaving the old folder in place.

Exit status: 0 when the report is complete, 1 when an input, a file or the run fails, 2 for
a command line it cannot use or paths that would write over one another, 128 + the signal's
number when SIGTERM, SIGINT or SIGHUP stops the run (the last report kept). The manual page
sales-forecast-cli(1) describes the files.
)";
}

}  // namespace sf
