#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/results_output.h"
#include "history/history_reader.h"
#include "results/export_folder.h"
#include "run/run_driver.h"
#include "runtime/run_error.h"
#include "scenario/scenario_file.h"
#include "state/quiet_observer.h"
#include "version/program_version.h"

namespace {

// The batch command acknowledges every notice at once and cannot be stopped half-way.
class ConsoleObserver : public sf::QuietObserver {
  public:
    void ShowNotice(std::string_view message) override { std::cerr << message << '\n'; }
    void ShowClosingMessage(std::string_view message) override { std::cout << message << '\n'; }
};

}  // namespace

// ExecuteRun turns the faults of a run into its outcome; any other fault (no memory for the run
// state, say) still ends with a message and exit status 1.
int main(int argc, char** argv) try {
    const sf::NumberLocale locale = sf::ReadUserNumberLocale();
    std::string problem;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::optional<sf::CliOptions> options = sf::ParseCliOptions(arguments, problem);
    if (!options) {
        std::cerr << "sales-forecast-cli: " << problem << "\n\n" << sf::CliUsage();
        return 2;
    }
    if (options->help) {
        std::cout << sf::CliUsage();
        return 0;
    }
    if (options->version) {
        std::cout << "sales-forecast-cli " << sf::kProgramVersion << '\n';
        return 0;
    }

    // Scenario files: a file that cannot be used is a refused input, like a box.
    try {
        if (!options->scenario.empty()) {
            // Read again over the scenario, so that the options beside it win.
            options =
                sf::ParseCliOptions(arguments, problem, sf::ReadScenarioFile(options->scenario));
        }
        // Kept before the runs, as given: the texts may still be refused by the run, as the
        // window's Save keeps whatever its boxes hold.
        if (!options->saveScenario.empty()) {
            sf::WriteScenarioFile(options->saveScenario,
                                  {options->inputs, options->run.boundedConstants});
        }
    } catch (const sf::RunError& refusal) {
        std::cerr << refusal.what() << '\n';
        return 1;
    }

    // A folder that cannot take the results is refused before the run, not after it.
    if (options->results.exportFolder) {
        if (const auto problem = sf::PrepareExportFolder(*options->results.exportFolder)) {
            std::cerr << "sales-forecast-cli: " << *problem << '\n';
            return 2;
        }
    }
    // A sales history is read whole before any run, so a bad file leaves the report alone.
    if (options->demand) {
        try {
            options->inputs.history = sf::ReadSalesHistory(*options->demand);
        } catch (const sf::RunError& refusal) {
            std::cerr << refusal.what() << '\n';
            return 1;
        }
    }

    auto state = std::make_unique<sf::RunState>();
    sf::UniformSource source(options->results.seed);
    ConsoleObserver observer;
    for (int run = 0; run < options->runs; ++run) {
        const sf::RunOutcome outcome = sf::ExecuteRun(*state, source, options->inputs, locale,
                                                      options->output, observer, options->run);
        if (!outcome.completed) {
            std::cerr << outcome.message << '\n';
            return 1;
        }
        // Results that diverged are said to, though the report is complete; every line of the
        // warning is marked, so that a script can tell it from a failure. Notes go with the
        // results only.
        const std::vector<std::string> warnings =
            sf::HealthWarnings(outcome.health, "--bounded-constants");
        for (const std::string& line : warnings) {
            std::cerr << "Warning: " << line << '\n';
        }
        if (!sf::DeliverResults(*state, *options, run + 1, warnings,
                                sf::HealthNotes(outcome.health), std::cout, std::cerr)) {
            return 1;
        }
    }
    return 0;
} catch (...) {
    std::cerr << sf::OutcomeOfFault(std::current_exception()).message << '\n';
    return 1;
}
