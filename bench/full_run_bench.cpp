// The full-size run (100 sales points, 600 periods, S = 12, A = 12) for every model and the
// horizons 1 and 0, through the plain estimation and through the lanes, each with its report.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "estimation/initial_estimation.h"
#include "estimation/rolling_forecast.h"
#include "estimation/rolling_forecast_lanes.h"
#include "full_size_run.h"
#include "run/run_driver.h"

namespace {

using bench::FullSize;
using bench::kModels;
using bench::ModelCase;
using bench::SilentObserver;

std::filesystem::path ReportPath() {
    return std::filesystem::temp_directory_path() / "sales-forecast-bench-out.txt";
}

void FullRun(benchmark::State& benchState, const ModelCase& model, int horizon,
             sf::EstimationPath path) {
    auto state = std::make_unique<sf::RunState>();
    SilentObserver observer;
    const sf::RunInputs inputs = FullSize(model, horizon);
    for (auto _ : benchState) {
        sf::UniformSource source;  // every run draws the same demand
        const sf::RunOutcome outcome =
            sf::ExecuteRun(*state, source, inputs, sf::NumberLocale{}, ReportPath(), observer,
                           sf::RunOptions{path, {}});
        if (!outcome.completed) {
            benchState.SkipWithError(outcome.message.c_str());
        }
    }
}

// Collects the times so that the ratio of the two paths can be printed at the end: the plain
// path's single run, the median of the lanes' repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                seconds_[run.run_name.function_name] = run.GetAdjustedRealTime() / 1e3;  // ms
            }
        }
    }
    void PrintRatios() const {
        std::printf("\n%-22s %10s %10s %8s\n", "run", "plain s", "lanes s", "ratio");
        std::printf("(lanes: the median of five repetitions)\n");
        for (const auto& [name, plain] : seconds_) {
            const std::string prefix = "plain/";
            if (name.rfind(prefix, 0) != 0) {
                continue;
            }
            const auto lanes = seconds_.find("lanes/" + name.substr(prefix.size()));
            if (lanes != seconds_.end()) {
                std::printf("%-22s %10.3f %10.3f %8.1f\n", name.substr(prefix.size()).c_str(),
                            plain, lanes->second, plain / lanes->second);
            }
        }
    }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
    for (const ModelCase& model : kModels) {
        for (int horizon : {1, 0}) {
            const std::string name =
                std::string(sf::DemandModelName(model.model)) + "/H" + std::to_string(horizon);
            benchmark::RegisterBenchmark(("plain/" + name).c_str(), FullRun, model, horizon,
                                         sf::EstimationPath::plain)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->UseRealTime();
            benchmark::RegisterBenchmark(("lanes/" + name).c_str(), FullRun, model, horizon,
                                         sf::EstimationPath::lanes)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.5)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true)
                ->UseRealTime();
        }
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    std::filesystem::remove(ReportPath());
    return 0;
}
