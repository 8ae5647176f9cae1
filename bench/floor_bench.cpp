// How close the full-size run comes to the limit of the divider. Every period step of the
// criteria takes one correctly rounded division, which must stay; the floor is the run's
// divisions (counted by the run itself) times what one division costs when the divider is fed
// a stream of independent eight-lane vector divisions, spread over the cores. Prints the run's
// time as a multiple of that floor, measured in the same minute (median of nine each), and the
// share of each phase of the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "full_size_scenario.h"
#include "run/run_driver.h"
#include "state/quiet_observer.h"
#include "state/run_measures.h"

namespace {

constexpr int kRepetitions = 9;

using EightLanes = double __attribute__((vector_size(8 * sizeof(double))));
constexpr int kStreams = 16;  // enough independent vectors to cover the division's latency
constexpr long long kRoundsPerIteration = 1 << 16;
constexpr long long kDivisionsPerIteration = kRoundsPerIteration * kStreams * 8;

// Each stream divides a constant by its last quotient, so the values stay near 1 and the
// streams only wait on themselves.
template <int>
__attribute__((always_inline)) inline double DivisionStream(long long rounds) {
    EightLanes streams[kStreams];
    for (int k = 0; k < kStreams; ++k) {
        streams[k] = EightLanes{} + (1.1 + 0.01 * k);
    }
    const EightLanes numerator = EightLanes{} + 1.3;
    for (long long round = 0; round < rounds; ++round) {
        for (int k = 0; k < kStreams; ++k) {
            streams[k] = numerator / streams[k];
        }
    }
    double sum = 0.0;
    for (int k = 0; k < kStreams; ++k) {
        sum += streams[k][0];
    }
    return sum;
}

__attribute__((target("avx512f"))) double DivisionStreamAvx512(long long rounds) {
    return DivisionStream<0>(rounds);
}
__attribute__((target("avx2"))) double DivisionStreamAvx2(long long rounds) {
    return DivisionStream<1>(rounds);
}
double DivisionStreamPortable(long long rounds) {
    return DivisionStream<2>(rounds);
}

double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// What the repetitions measured, for the summary at the end.
struct Measured {
    std::vector<double> divisionSeconds;  // processor seconds of one division, by repetition
    std::vector<double> runWall;
    std::vector<double> runProcessor;
    long long runDivisions = 0;  // of one run
    sf::RunMeasures phases;      // added up over the repetitions
};
Measured measured;

void Division(benchmark::State& benchState) {
    double (*stream)(long long) = __builtin_cpu_supports("avx512f") ? DivisionStreamAvx512
                                  : __builtin_cpu_supports("avx2")  ? DivisionStreamAvx2
                                                                    : DivisionStreamPortable;
    const double processor = ProcessorSeconds();
    for (auto _ : benchState) {
        benchmark::DoNotOptimize(stream(kRoundsPerIteration));
    }
    const double divisions = static_cast<double>(benchState.iterations()) * kDivisionsPerIteration;
    measured.divisionSeconds.push_back((ProcessorSeconds() - processor) / divisions);
    benchState.counters["divisions"] = benchmark::Counter(divisions, benchmark::Counter::kIsRate);
}

// The full-size run of loga with H = 1, tau 0.5 and the limits 10..30 and 1..2, as the batch
// command runs it with those boxes: on a run state of its own, its report included.
sf::RunInputs RunInputs() {
    sf::RunInputs inputs = FullSizeInputs(kFullSizeModels[0], 1, "0.5");
    inputs.p1low = "10";
    inputs.p1up = "30";
    inputs.p2low = "1";
    inputs.p2up = "2";
    return inputs;
}

void FullRun(benchmark::State& benchState) {
    sf::QuietObserver observer;
    const sf::RunInputs inputs = RunInputs();
    const std::filesystem::path report =
        std::filesystem::temp_directory_path() / "sales-forecast-floor-bench-out.txt";
    for (auto _ : benchState) {
        sf::UniformSource source;
        sf::RunMeasures measures;
        sf::RunOptions options;
        options.measures = &measures;
        const auto wall = std::chrono::steady_clock::now();
        const double processor = ProcessorSeconds();
        auto state = std::make_unique<sf::RunState>();
        const sf::RunOutcome outcome =
            sf::ExecuteRun(*state, source, inputs, sf::NumberLocale{}, report, observer, options);
        measured.runProcessor.push_back(ProcessorSeconds() - processor);
        measured.runWall.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count());
        if (!outcome.completed) {
            benchState.SkipWithError(outcome.message.c_str());
        }
        measured.runDivisions = measures.divisions;
        for (int phase = 0; phase < sf::kRunPhaseCount; ++phase) {
            measured.phases.wallSeconds[phase] += measures.wallSeconds[phase];
            measured.phases.processorSeconds[phase] += measures.processorSeconds[phase];
        }
    }
    std::filesystem::remove(report);
}

double Sum(const std::array<double, sf::kRunPhaseCount>& values) {
    double sum = 0.0;
    for (double value : values) {
        sum += value;
    }
    return sum;
}

void PrintSummary() {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const double division = Median(measured.divisionSeconds);
    const double floorProcessor = static_cast<double>(measured.runDivisions) * division;
    const double floorWall = floorProcessor / cores;
    const double wall = Median(measured.runWall);
    const double processor = Median(measured.runProcessor);
    std::printf("\nThe full-size run against the divider's floor (median of %d each)\n",
                kRepetitions);
    std::printf("  divisions of one run            %14lld\n", measured.runDivisions);
    std::printf("  one division, streamed          %14.4f ns of processor time\n", division * 1e9);
    std::printf("  floor on %d cores                %14.4f s (processor %.4f s)\n", cores,
                floorWall, floorProcessor);
    std::printf("  run                             %14.4f s (processor %.4f s)\n", wall, processor);
    std::printf("  ratio to the floor              %14.2f   (processor %.2f)\n", wall / floorWall,
                processor / floorProcessor);
    std::printf("\n  %-12s %8s %10s\n", "phase", "wall", "processor");
    const double wallSum = Sum(measured.phases.wallSeconds);
    const double processorSum = Sum(measured.phases.processorSeconds);
    for (int phase = 0; phase < sf::kRunPhaseCount; ++phase) {
        std::printf("  %-12s %7.1f%% %9.1f%%\n", sf::kRunPhaseNames[phase],
                    100.0 * measured.phases.wallSeconds[phase] / wallSum,
                    100.0 * measured.phases.processorSeconds[phase] / processorSum);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("division_stream", Division)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.1)
        ->Repetitions(kRepetitions);
    benchmark::RegisterBenchmark("full_run/loga/H1", FullRun)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    PrintSummary();
    return 0;
}
