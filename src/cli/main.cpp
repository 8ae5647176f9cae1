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
#include "scenario/scenario_format.h"
#include "state/quiet_observer.h"
#include "version/program_version.h"

namespace {

// The batch command acknowledges every notice at once and cannot be stopped half-way.
class ConsoleObserver : public sf::QuietObserver {
  public:
    explicit ConsoleObserver(bool quiet) : quiet_(quiet) {}
    void ShowNotice(std::string_view message) override {
        if (!quiet_) {
            std::cerr << message << '\n';
        }
    }
    void ShowClosingMessage(std::string_view message) override { std::cout << message << '\n'; }

  private:
    const bool quiet_;
};

// Which run a warning comes from, so that the warnings of runs side by side can be told apart.
std::string RunName(const sf::CliOptions& options, int run) {
    const std::string demand =
        options.demand ? options.demand->string() : "seed " + std::to_string(options.results.seed);
    return demand + ", run " + std::to_string(run);
}

}  // namespace

// ExecuteRun turns the faults of a run into its outcome; any other fault (no memory for the run
// state, say) still ends with a message and exit status 1.
int main(int argc, char** argv) try {
    const sf::NumberLocale locale = sf::ReadUserNumberLocale();
    std::string problem;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::optional<sf::CliOptions> options = sf::ParseCliOptions(arguments, problem);
    if (!options) {
        std::cerr << sf::UsageError(problem);
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
            options = sf::ParseCliOptions(arguments, problem,
                                          sf::ReadScenarioFile(options->scenario, locale));
        }
        // Kept before the runs, as given: the texts may still be refused by the run, as the
        // window's Save keeps whatever its boxes hold.
        if (!options->saveScenario.empty()) {
            sf::WriteScenarioFile(options->saveScenario, sf::GivenScenario(*options), locale);
        }
    } catch (const sf::RunError& refusal) {
        std::cerr << refusal.what() << '\n';
        return 1;
    }
    // run.json keeps the scenario as --save-scenario would; a text it cannot keep stops the
    // command before the run.
    std::string scenarioText;
    if (options->results.exportFolder) {
        try {
            scenarioText = sf::ScenarioText(sf::GivenScenario(*options), locale);
        } catch (const sf::RunError& refusal) {
            std::cerr << "The export's run.json " << refusal.what() << '\n';
            return 1;
        }
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

    options->inputs = sf::WithLocaleDecimals(options->inputs, locale);
    auto state = std::make_unique<sf::RunState>();
    sf::UniformSource source(options->results.seed);
    ConsoleObserver observer(options->quiet);
    for (int run = 0; run < options->runs; ++run) {
        const sf::RunOutcome outcome = sf::ExecuteRun(*state, source, options->inputs, locale,
                                                      options->output, observer, options->run);
        if (!outcome.completed) {
            std::cerr << outcome.message << '\n';
            return 1;
        }
        // Results that may diverge are said to, though the report is complete; every line of
        // the warning is marked, so that a script can tell it from a failure.
        const std::vector<std::string> warnings =
            sf::HealthWarnings(outcome.health, "--bounded-constants");
        for (const std::string& line : warnings) {
            if (!options->quiet) {
                std::cerr << "Warning: " << RunName(*options, run + 1) << ": " << line << '\n';
            }
        }
        if (!sf::DeliverResults(*state, *options, run + 1, warnings, scenarioText, std::cout,
                                std::cerr)) {
            return 1;
        }
    }
    return 0;
} catch (...) {
    std::cerr << sf::OutcomeOfFault(std::current_exception()).message << '\n';
    return 1;
}
