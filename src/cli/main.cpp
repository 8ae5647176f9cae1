#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/catalogue_command.h"
#include "cli/cli_options.h"
#include "cli/merge_exports.h"
#include "cli/results_output.h"
#include "history/history_reader.h"
#include "results/export_folder.h"
#include "run/catalogue_run.h"
#include "run/run_driver.h"
#include "runtime/file_clashes.h"
#include "runtime/process_signals.h"
#include "runtime/run_error.h"
#include "runtime/shown_text.h"
#include "scenario/scenario_file.h"
#include "scenario/scenario_format.h"
#include "state/quiet_observer.h"
#include "version/program_version.h"

namespace {

// The batch command acknowledges every notice at once; a stop signal stops its run. When stdout
// carries a file for a pipeline, the closing message goes to stderr, which --quiet keeps for
// errors.
class ConsoleObserver : public sf::QuietObserver {
  public:
    ConsoleObserver(bool quiet, bool stdoutTaken) : quiet_(quiet), stdoutTaken_(stdoutTaken) {}
    void ShowNotice(std::string_view message) override {
        if (!quiet_) {
            std::cerr << sf::ShownEscaped(message) << '\n';
        }
    }
    void ShowClosingMessage(std::string_view message) override {
        if (!stdoutTaken_) {
            std::cout << sf::ShownEscaped(message) << '\n';
        } else if (!quiet_) {
            std::cerr << sf::ShownEscaped(message) << '\n';
        }
    }
    bool StopRequested() const override { return sf::CaughtStopSignal() != 0; }

  private:
    const bool quiet_;
    const bool stdoutTaken_;
};

// Which run a warning comes from, so that the warnings of runs side by side can be told apart.
std::string RunName(const sf::CliOptions& options, int run) {
    const std::string demand =
        options.demand ? options.demand->string() : "seed " + std::to_string(options.results.seed);
    return demand + ", run " + std::to_string(run);
}

// A message may quote what a user typed or a file held, which never goes raw to the terminal.
void Tell(const std::string& message) {
    std::cerr << sf::ShownEscaped(message) << '\n';
}

// As job runners expect of a process that a signal ended.
int StoppedStatus() {
    return 128 + sf::CaughtStopSignal();
}

int Stopped() {
    Tell(std::string(sf::kStoppedMessage));
    return StoppedStatus();
}

// A refusal with exit status 1, unless a stop signal cut a reading short: then the stop.
int Refuse(const std::string& problem) {
    if (sf::CaughtStopSignal() != 0) {
        return Stopped();
    }
    Tell(problem);
    return 1;
}

// Every path of the command line, so that no file is written over another or over an input.
std::optional<std::string> PathClash(const sf::CliOptions& options) {
    const sf::UsedPath paths[] = {
        {"--demand", options.demand.value_or(""), sf::PathUse::read},
        {"--scenario", options.scenario, sf::PathUse::read},
        {"--output", options.output, sf::PathUse::written},
        {"--save-scenario", options.saveScenario, sf::PathUse::written},
        {"--export", options.results.exportFolder.value_or(""), sf::PathUse::replaced},
    };
    return sf::FindPathClash(paths);
}

// A refused box is named by its option, so the command's name goes in front, as for every
// other fault of the command line; one refused as a scenario file gave it says so: the user
// may never have seen that text.
std::string BoxRefusal(const sf::RunOutcome& outcome, const sf::CliOptions& options,
                       const std::optional<sf::Scenario>& scenario) {
    if (outcome.inputBox == nullptr) {
        return outcome.message;
    }
    const std::string refusal = "sales-forecast-cli: " + outcome.message;
    if (!scenario || options.inputs.*outcome.inputBox != scenario->inputs.*outcome.inputBox) {
        return refusal;
    }
    return refusal + " (as the scenario file \"" + options.scenario.string() + "\" gives it)";
}

// What the command line asks for, read and checked before any run.
struct Command {
    std::vector<std::string> arguments;
    sf::NumberLocale locale;
    std::optional<sf::CliOptions> options;
    std::optional<sf::Scenario> scenario;
    std::string scenarioText;  // for run.json, as --save-scenario would keep it
};

// An exit status where the command ends before its runs.
using Ending = std::optional<int>;

int UsageFault(const std::string& problem) {
    std::cerr << sf::UsageError(sf::ShownEscaped(problem));
    return 2;
}

// Before anything is read or written: no file the user gave is written over, and a folder
// that cannot take the results is refused before the run, not after it.
Ending RefusedPaths(const sf::CliOptions& options) {
    if (const std::optional<std::string> clash = PathClash(options)) {
        Tell("sales-forecast-cli: " + *clash);
        return 2;
    }
    if (options.results.exportFolder) {
        if (const auto refused = sf::CheckExportFolder(*options.results.exportFolder)) {
            Tell("sales-forecast-cli: " + *refused);
            return 2;
        }
    }
    return std::nullopt;
}

// The scenario file beneath the options, which are read again over it so that they win; then
// --save-scenario. A file that cannot be used is a refused input, like a box.
Ending TakeScenario(Command& command) {
    try {
        sf::CliOptions& given = *command.options;
        if (!given.scenario.empty()) {
            command.scenario =
                sf::ReadScenarioFile(given.scenario, command.locale, sf::StandardInput::accepted);
            std::string problem;
            command.options = sf::ParseCliOptions(command.arguments, problem, *command.scenario);
            if (command.options && command.options->history.Any() && !command.options->demand) {
                problem = sf::HistoryOptionsAlone();
                command.options.reset();
            }
            if (!command.options) {
                return UsageFault(problem);
            }
            // The scenario's sales history is read and must not be written over either.
            if (const std::optional<std::string> clash = PathClash(*command.options)) {
                Tell("sales-forecast-cli: " + *clash);
                return 2;
            }
        }
        // Kept before the runs, as given: the texts may still be refused by the run, as the
        // window's Save keeps whatever its boxes hold.
        if (!command.options->saveScenario.empty()) {
            sf::WriteScenarioFile(command.options->saveScenario,
                                  sf::GivenScenario(*command.options), command.locale);
        }
    } catch (const sf::RunError& refusal) {
        return Refuse(refusal.what());
    }
    return std::nullopt;
}

// run.json keeps the scenario as --save-scenario would; a text it cannot keep stops the command
// before the run.
Ending KeepScenarioText(Command& command) {
    if (!command.options->results.exportFolder) {
        return std::nullopt;
    }
    try {
        command.scenarioText =
            sf::ScenarioText(sf::GivenScenario(*command.options), command.locale);
    } catch (const sf::RunError& refusal) {
        Tell("The export's run.json " + std::string(refusal.what()));
        return 1;
    }
    return std::nullopt;
}

// A sales history is read whole before any run, so a bad file leaves the report alone.
Ending ReadHistory(sf::CliOptions& options) {
    if (!options.demand) {
        return std::nullopt;
    }
    try {
        options.inputs.history =
            options.demandOfScenario
                ? sf::ReadScenarioHistory({*options.demand, options.historyChoices},
                                          options.scenario)
                : sf::ReadSalesHistory(*options.demand, options.historyChoices,
                                       sf::StandardInput::accepted);
    } catch (const sf::RunError& refusal) {
        return Refuse(refusal.what());
    }
    return std::nullopt;
}

// The command line read and every file it names checked or read: the exit status where it ends
// here.
Ending Prepare(Command& command) {
    std::string problem;
    command.options = sf::ParseCliOptions(command.arguments, problem);
    if (!command.options) {
        return UsageFault(problem);
    }
    if (command.options->help) {
        std::cout << sf::CliUsage();
        return 0;
    }
    if (command.options->version) {
        std::cout << "sales-forecast-cli " << sf::kProgramVersion << '\n';
        return 0;
    }
    if (const Ending ending = RefusedPaths(*command.options)) {
        return ending;
    }
    if (const Ending ending = TakeScenario(command)) {
        return ending;
    }
    if (const Ending ending = KeepScenarioText(command)) {
        return ending;
    }
    if (const Ending ending = ReadHistory(*command.options)) {
        return ending;
    }
    if (const std::optional<std::string> problem = sf::CatalogueUsageProblem(*command.options)) {
        return UsageFault(*problem);
    }
    return std::nullopt;
}

// The runs one after another, each delivering its results.
int RunAll(Command& command) {
    sf::CliOptions& options = *command.options;
    options.inputs = sf::WithLocaleDecimals(options.inputs, command.locale);
    if (command.scenario) {
        // As the run reads it, so that a box it refuses is still known as the scenario's.
        command.scenario->inputs = sf::WithLocaleDecimals(command.scenario->inputs, command.locale);
    }
    if (const std::optional<std::string> refusal = sf::RefusedCheckFrom(options, command.locale)) {
        Tell("sales-forecast-cli: " + *refusal);
        return 2;
    }
    ConsoleObserver observer(options.quiet, options.results.next);
    if (sf::IsCatalogue(options.inputs)) {
        return sf::RunCatalogueCommand(options, command.locale, observer, command.scenarioText);
    }
    auto state = std::make_unique<sf::RunState>(sf::PeriodsToHold(options.inputs));
    sf::UniformSource source(options.results.seed);
    for (int run = 1; run <= options.runs; ++run) {
        if (sf::CaughtStopSignal() != 0) {
            return Stopped();  // before the run writes anything
        }
        const sf::RunOutcome outcome = sf::ExecuteRun(
            *state, source, options.inputs, command.locale, options.output, observer, options.run);
        if (!outcome.completed) {
            Tell(BoxRefusal(outcome, options, command.scenario) +
                 (outcome.reportNotCreated ? "\nName a report file in a folder that can be "
                                             "written with --output FILE."
                                           : ""));
            return sf::CaughtStopSignal() != 0 ? StoppedStatus() : 1;
        }
        // Results that diverged are said to, though the report is complete; every line of the
        // warning is marked, so that a script can tell it from a failure. Notes go with the
        // results only.
        const std::vector<std::string> warnings =
            sf::HealthWarnings(outcome.health, "--bounded-constants");
        for (const std::string& line : warnings) {
            if (!options.quiet) {
                Tell("Warning: " + RunName(options, run) + ": " + line);
            }
        }
        if (sf::CaughtStopSignal() != 0) {
            return Stopped();
        }
        if (!sf::DeliverResults(*state, options, run, warnings, sf::HealthNotes(outcome.health),
                                command.scenarioText, std::cout, std::cerr)) {
            return 1;
        }
    }
    return 0;
}

}  // namespace

// ExecuteRun turns the faults of a run into its outcome; any other fault (no memory for the run
// state, say) still ends with a message and exit status 1.
int main(int argc, char** argv) try {
    sf::IgnoreFileSizeSignal();
    sf::CatchStopSignals();
    Command command{{argv + 1, argv + argc}, sf::ReadUserNumberLocale(), {}, {}, {}};
    if (!command.arguments.empty() && command.arguments.front() == sf::kMergeExportsOption) {
        return sf::RunMergeExports(command.arguments, std::cerr);
    }
    if (const Ending ending = Prepare(command)) {
        return *ending;
    }
    return RunAll(command);
} catch (...) {
    Tell(sf::OutcomeOfFault(std::current_exception()).message);
    return 1;
}
