#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "cli/option_suggestion.h"
#include "cli/option_table.h"
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

// A value follows its option as the next argument or after "=" ("--tau=0.5").
struct OptionValue {
    std::string option;
    std::string value;
};

// The option at arguments[at] and its value, moving at past the value; empty, with the reason
// in problem, for an argument that is no option or an option without its value.
std::optional<OptionValue> NextOption(const std::vector<std::string>& arguments, std::size_t& at,
                                      std::string& problem) {
    const std::string& argument = arguments[at];
    // A long option may carry its value after "=".
    const std::size_t equals = argument.starts_with("--") ? argument.find('=') : std::string::npos;
    OptionValue given{argument.substr(0, equals), {}};
    const CliOption* option = FindCliOption(given.option);
    if (option == nullptr && BoxOfOption(given.option) == nullptr) {
        problem = given.option.size() > 1 && given.option.starts_with("-")
                      ? "unknown option " + given.option
                      : "unexpected argument \"" + argument + "\"";
        if (const std::optional<std::string> meant =
                NearestOption(given.option, OptionsNamedIn(CliUsage()))) {
            problem += "; did you mean " + *meant + "?";
        }
        return std::nullopt;
    }
    if (option != nullptr && option->flag != nullptr) {
        if (equals != std::string::npos) {
            problem = "option " + given.option + " takes no value";
            return std::nullopt;
        }
        return given;
    }
    if (equals == std::string::npos && at + 1 >= arguments.size()) {
        problem = "option " + given.option + " needs a value";
        return std::nullopt;
    }
    given.value = equals != std::string::npos ? argument.substr(equals + 1) : arguments[++at];
    return given;
}

// The choices of a sales history: the scenario's, unless --demand names another file.
void ChooseHistory(CliOptions& options, const Scenario& beneath) {
    if (!options.demand && beneath.history) {
        options.demand = beneath.history->path;
        options.demandOfScenario = true;
        options.historyChoices = options.history.Over(beneath.history->choices);
    } else {
        options.historyChoices = options.history.Over({});
    }
}

// Why the options cannot be used together, if they cannot; countOption: --sales-points or
// --periods where given, which a sales history gives.
std::optional<std::string> Conflict(const GivenOptions& given, const std::string& countOption) {
    const CliOptions& options = given.options;
    if (options.history.Any() && !options.demand && options.scenario.empty()) {
        return HistoryOptionsAlone();
    }
    if (options.demand && !countOption.empty()) {
        return countOption + " cannot be used with " +
               (options.demandOfScenario ? "the scenario's sales history" : "--demand") +
               ": the sales history gives the number of sales points and of periods";
    }
    if (given.example && !options.scenario.empty()) {
        return "--example and --scenario both fill every box; give one of them";
    }
    return std::nullopt;
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& arguments,
                                          std::string& problem, const Scenario& beneath) {
    GivenOptions given;
    CliOptions& options = given.options;
    options.run.boundedConstants = beneath.boundedConstants;
    options.run.season = beneath.season;
    options.run.boxNaming = BoxNaming::options;
    options.results.seed = beneath.seed;
    // Box options are applied after --example or the scenario, wherever they stand, so that
    // they win.
    std::vector<std::pair<std::string RunInputs::*, std::string>> boxTexts;
    std::string countOption;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::optional<OptionValue> next = NextOption(arguments, at, problem);
        if (!next) {
            return std::nullopt;
        }
        if (const CliOption* option = FindCliOption(next->option)) {
            if (option->flag != nullptr) {
                option->flag(given) = true;
            } else if (!option->take(option->name, next->value, given, problem)) {
                return std::nullopt;
            }
            continue;
        }
        std::string RunInputs::*const box = BoxOfOption(next->option);
        boxTexts.emplace_back(box, next->value);
        if (box == &RunInputs::Endpointnumber || box == &RunInputs::Periodnumber) {
            countOption = next->option;
        }
    }
    if (const std::optional<std::string> refused = FinishResultsOptions(options.results)) {
        problem = *refused;
        return std::nullopt;
    }
    ChooseHistory(options, beneath);
    if (const std::optional<std::string> conflict = Conflict(given, countOption)) {
        problem = *conflict;
        return std::nullopt;
    }
    options.inputs = given.example ? ExampleInputs() : beneath.inputs;
    for (const auto& [box, text] : boxTexts) {
        options.inputs.*box = text;
    }
    if (given.model) {
        options.inputs.model = *given.model;
    }
    return options;
}

std::string HistoryOptionsAlone() {
    return HistoryOptionNames() + " need a sales history: --demand, or a scenario that names one";
}

Scenario GivenScenario(const CliOptions& options) {
    Scenario scenario{
        options.inputs, options.run.boundedConstants, options.results.seed, {}, options.run.season};
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
    const std::string modelLines =
        "  --p3 TEXT                  " + P3Meaning() + "\n" + OptionLines(OptionGroup::boxes);
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
)" + OptionLines(OptionGroup::run) +
           R"(
Results of a run:
)" + OptionLines(OptionGroup::results) +
           "\n" + OptionLines(OptionGroup::program) + R"(
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
