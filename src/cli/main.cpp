#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "history/history_reader.h"
#include "run/run_driver.h"
#include "runtime/run_error.h"

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
    std::optional<sf::CliOptions> options =
        sf::ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!options) {
        std::cerr << "sales-forecast-cli: " << problem << "\n\n" << sf::CliUsage();
        return 2;
    }
    if (options->help) {
        std::cout << sf::CliUsage();
        return 0;
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
