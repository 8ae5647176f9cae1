#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
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
        // Results that may diverge are said to, though the report is complete; every line of
        // the warning is marked, so that a script can tell it from a failure.
        std::istringstream warning(sf::HealthWarning(outcome.health, "--bounded-constants"));
        for (std::string line; std::getline(warning, line);) {
            std::cerr << "Warning: " << line << '\n';
        }
    }
    return 0;
}
