// What a run's results cost at full size (loga, H = 1, through the lanes): the forecasts as known
// at the decision periods and the figures and series beside the run itself, the export folder,
// and the trade-off over 31 and 1,001 taus.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "estimation/forecasts_as_known.h"
#include "full_size_scenario.h"
#include "results/export_folder.h"
#include "results/figures.h"
#include "results/run_results.h"
#include "results/run_series.h"
#include "results/tradeoff.h"
#include "run/run_driver.h"
#include "state/quiet_observer.h"

namespace {

const std::filesystem::path kFolder =
    std::filesystem::temp_directory_path() / "sales-forecast-results-bench";

// One full-size run, kept for every measurement of its results.
sf::RunState& CompletedRunState() {
    static const std::unique_ptr<sf::RunState> state = [] {
        auto run = std::make_unique<sf::RunState>();
        sf::QuietObserver observer;
        sf::UniformSource source;
        sf::ExecuteRun(*run, source, FullSizeInputs(kFullSizeModels[0], 1, "0.5"),
                       sf::NumberLocale{}, kFolder / "out.txt", observer);
        return run;
    }();
    return *state;
}

const sf::RunState& CompletedRun() {
    return CompletedRunState();
}

void FullRun(benchmark::State& benchState) {
    auto state = std::make_unique<sf::RunState>();
    sf::QuietObserver observer;
    const sf::RunInputs inputs = FullSizeInputs(kFullSizeModels[0], 1, "0.5");
    for (auto _ : benchState) {
        sf::UniformSource source;
        sf::ExecuteRun(*state, source, inputs, sf::NumberLocale{}, kFolder / "out.txt", observer);
    }
}

// Part of every run: it writes only the two matrices it owns, the same values each time.
void ForecastsAsKnown(benchmark::State& benchState) {
    sf::RunState& state = CompletedRunState();
    for (auto _ : benchState) {
        sf::ForecastsAsKnown(state);
    }
}

void FiguresAndSeries(benchmark::State& benchState) {
    const sf::RunState& state = CompletedRun();
    for (auto _ : benchState) {
        const sf::RunSeries series = sf::CopySeries(state);
        benchmark::DoNotOptimize(sf::ComputeFigures(series));
    }
}

// The default request: the trade-off over 0:3:0.1 and the run's tau, with a target and costs.
void AllResults(benchmark::State& benchState) {
    const sf::RunState& state = CompletedRun();
    const sf::ResultsRequest request{sf::TauGrid{}, 0.95, sf::OutcomeCosts{5.0, 1.0}, std::nullopt,
                                     std::nullopt};
    for (auto _ : benchState) {
        benchmark::DoNotOptimize(sf::ComputeResults(state, request));
    }
}

void ExportFolder(benchmark::State& benchState) {
    const sf::RunResults results = sf::ComputeResults(CompletedRun(), sf::ResultsRequest{});
    const sf::RunRecord record;
    for (auto _ : benchState) {
        sf::WriteExportFolder(kFolder / "export", results, record);
    }
}

void Tradeoff(benchmark::State& benchState) {
    const sf::RunSeries series = sf::CopySeries(CompletedRun());
    const sf::SalesPointChoice every(series.salesPoints.size(), true);
    const int count = static_cast<int>(benchState.range(0));
    const std::vector<double> taus = sf::GridTaus(sf::TauGrid{0.0, 3.0, 3.0 / (count - 1)}, 0.0);
    for (auto _ : benchState) {
        benchmark::DoNotOptimize(
            sf::ComputeTradeoff(series, sf::Evaluation::asReported, every, taus, std::nullopt));
    }
}

// Milliseconds by name, to set against the budgets at the end.
class BudgetReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                const std::string& args = run.run_name.args;
                const std::string name =
                    run.run_name.function_name + (args.empty() ? "" : "/" + args);
                ms_[name] = run.GetAdjustedRealTime();
                cpuMs_[name] = run.GetAdjustedCPUTime();
            }
        }
    }
    // Wall-clock time is what the budgets are about; the processor time beside it shows what a
    // busy machine added.
    void PrintBudgets() const {
        auto at = [](const std::map<std::string, double>& times, const std::string& name) {
            const auto found = times.find(name);
            return found == times.end() ? 0.0 : found->second;
        };
        std::printf("\n%-38s %11s %11s %9s\n", "measure", "wall", "processor", "budget");
        const struct {
            const char* label;
            const char* name;
            double budget;
        } shares[] = {{"forecasts as known / full run", "forecasts_as_known", 10.0},
                      {"figures and series / full run", "figures_and_series", 5.0}};
        for (const auto& share : shares) {
            std::printf("%-38s %10.2f%% %10.2f%% %8.0f%%\n", share.label,
                        100.0 * at(ms_, share.name) / at(ms_, "full_run"),
                        100.0 * at(cpuMs_, share.name) / at(cpuMs_, "full_run"), share.budget);
        }
        const struct {
            const char* label;
            const char* name;
            double budget;
        } rows[] = {{"export folder", "export_folder", 100.0},
                    {"trade-off, 31 taus", "tradeoff/31", 10.0},
                    {"trade-off, 1,001 taus", "tradeoff/1001", 100.0},
                    {"all results (32 taus, target, costs)", "all_results", 0.0}};
        for (const auto& row : rows) {
            std::printf("%-38s %8.2f ms %8.2f ms", row.label, at(ms_, row.name),
                        at(cpuMs_, row.name));
            if (row.budget > 0.0) {
                std::printf(" %6.0f ms", row.budget);
            }
            std::printf("\n");
        }
    }

  private:
    std::map<std::string, double> ms_;
    std::map<std::string, double> cpuMs_;
};

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::create_directories(kFolder / "export");
    auto timed = [](benchmark::internal::Benchmark* bench) {
        bench->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true)
            ->UseRealTime();
    };
    timed(benchmark::RegisterBenchmark("full_run", FullRun)->MinTime(1.0));
    timed(benchmark::RegisterBenchmark("forecasts_as_known", ForecastsAsKnown));
    timed(benchmark::RegisterBenchmark("figures_and_series", FiguresAndSeries));
    timed(benchmark::RegisterBenchmark("all_results", AllResults));
    timed(benchmark::RegisterBenchmark("export_folder", ExportFolder));
    timed(benchmark::RegisterBenchmark("tradeoff", Tradeoff)->Arg(31)->Arg(1001));
    benchmark::Initialize(&argc, argv);
    BudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintBudgets();
    std::filesystem::remove_all(kFolder);
    return 0;
}
