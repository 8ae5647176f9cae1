#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "run/run_driver.h"
#include "scenario/scenario_file.h"
#include "version/program_version.h"

namespace {

// The batch command acknowledges every notice at once and cannot be stopped half-way.
class ConsoleObserver : public sf::RunObserver {
  public:
    void ReportProgress(int) override {}
    void ShowNotice(std::string_view message) override { std::cerr << message << '\n'; }
    void ShowClosingMessage(std::string_view message) override { std::cout << message << '\n'; }
    bool StopRequested() const override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
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
    if (!options->scenario.empty()) {
        const std::optional<sf::Scenario> scenario =
            sf::ReadScenarioFile(options->scenario, problem);
        if (!scenario) {
            std::cerr << problem << '\n';
            return 1;
        }
        // Read again over the scenario, so that the options beside it win.
        options = sf::ParseCliOptions(arguments, problem, *scenario);
    }
    // Kept before the runs, as given: the texts may still be refused by the run, as the
    // window's Save keeps whatever its boxes hold.
    if (!options->saveScenario.empty() &&
        !sf::WriteScenarioFile(options->saveScenario,
                               {options->inputs, options->run.boundedConstants}, problem)) {
        std::cerr << problem << '\n';
        return 1;
    }

    auto state = std::make_unique<sf::RunState>();
    sf::UniformSource source;
    ConsoleObserver observer;
    for (int run = 0; run < options->runs; ++run) {
        const sf::RunOutcome outcome = sf::ExecuteRun(*state, source, options->inputs, locale,
                                                      options->output, observer, options->run);
        if (!outcome.completed) {
            std::cerr << outcome.message << '\n';
            return 1;
        }
        // Results that may diverge are said to, though the report is complete.
        if (const std::string warning = sf::HealthWarning(outcome.health, "--bounded-constants");
            !warning.empty()) {
            std::cerr << "Warning: " << warning << '\n';
        }
    }
    return 0;
}
