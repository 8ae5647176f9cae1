#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/results_output.h"
#include "results/export_folder.h"
#include "run/run_driver.h"

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
    const std::optional<sf::CliOptions> options =
        sf::ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!options) {
        std::cerr << "sales-forecast-cli: " << problem << "\n\n" << sf::CliUsage();
        return 2;
    }
    if (options->help) {
        std::cout << sf::CliUsage();
        return 0;
    }

    // A folder that cannot take the results is refused before the run, not after it.
    if (options->results.exportFolder) {
        if (const auto problem = sf::PrepareExportFolder(*options->results.exportFolder)) {
            std::cerr << "sales-forecast-cli: " << *problem << '\n';
            return 2;
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
        // Results that may diverge are said to, though the report is complete.
        const std::string warning = sf::HealthWarning(outcome.health, "--bounded-constants");
        if (!warning.empty()) {
            std::cerr << "Warning: " << warning << '\n';
        }
        if (!sf::DeliverResults(*state, *options, run + 1, warning, std::cout, std::cerr)) {
            return 1;
        }
    }
    return 0;
}
