// How close the full-size run comes to the limits of this processor, against two floors, each
// timed alone and multiplied by the run's period steps (counted by the run itself: one sales
// point's recursion through one period inside one criterion evaluation), spread over the cores:
// - the criterion kernel: the smoothing recursion with its error sum, eight lanes, the lag 1, a
//   window of 300 periods, the same operations in the same order as the engine's kernel but
//   keeping no series (bench/kernel_floor_body.h);
// - the divider: a stream of independent eight-lane vector divisions, what every period step
//   cost where the weight's quotient came from the divider (it still does on a processor
//   without a fused multiply-add).
// Prints the run's time as a multiple of each floor, measured in the same minute (median of
// nine each), and the share of each phase of the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "estimation/smoothing.h"
#include "full_size_scenario.h"
#include "kernel_floor.h"
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

constexpr long long kKernelStepsPerIteration = sf::bench::kKernelFloorSteps;

double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// What the repetitions measured, for the summary at the end.
struct Measured {
    std::vector<double> divisionSeconds;    // processor seconds of one division, by repetition
    std::vector<double> kernelStepSeconds;  // processor seconds of one kernel period step
    std::vector<double> runWall;
    std::vector<double> runProcessor;
    long long runPeriodSteps = 0;  // of one run
    sf::RunMeasures phases;        // added up over the repetitions
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

void KernelFloor(benchmark::State& benchState) {
    double (*evaluations)(const double*, const double*) =
        __builtin_cpu_supports("avx512f") ? sf::bench::KernelEvaluationsAvx512
        : __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")
            ? sf::bench::KernelEvaluationsAvx2
            : sf::bench::KernelEvaluationsPortable;
    std::vector<double> input(8 * (sf::bench::kKernelEnd + 1));
    for (std::size_t cell = 0; cell < input.size(); ++cell) {
        input[cell] = 10.0 + static_cast<double>(cell % 7);
    }
    std::vector<double> reciprocals(sf::bench::kKernelEnd + 1, 0.0);
    for (int t = 1; t <= sf::bench::kKernelEnd; ++t) {
        reciprocals[t] = 1.0 / t;
    }
    const double processor = ProcessorSeconds();
    for (auto _ : benchState) {
        benchmark::DoNotOptimize(evaluations(input.data(), reciprocals.data()));
    }
    const double steps = static_cast<double>(benchState.iterations()) * kKernelStepsPerIteration;
    measured.kernelStepSeconds.push_back((ProcessorSeconds() - processor) / steps);
    benchState.counters["period_steps"] = benchmark::Counter(steps, benchmark::Counter::kIsRate);
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
        measured.runPeriodSteps = measures.divisions;
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

// One floor's line: its cost per period step, the floor of the run on the cores, and the run's
// time as a multiple of it.
void PrintFloor(const char* name, double stepSeconds, double wall, double processor) {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const double floorProcessor = static_cast<double>(measured.runPeriodSteps) * stepSeconds;
    const double floorWall = floorProcessor / cores;
    std::printf("  %-26s %9.4f ns %10.4f s %10.2f %10.2f\n", name, stepSeconds * 1e9, floorWall,
                wall / floorWall, processor / floorProcessor);
}

void PrintSummary() {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const double wall = Median(measured.runWall);
    const double processor = Median(measured.runProcessor);
    std::printf("\nThe full-size run against its floors (median of %d each)\n", kRepetitions);
    std::printf("  period steps of one run   %14lld\n", measured.runPeriodSteps);
    std::printf("  run                       %14.4f s (processor %.4f s)\n", wall, processor);
    std::printf("\n  %-26s %12s %12s %10s %10s\n", "floor (processor time)", "per step",
                std::to_string(cores).append(" cores").c_str(), "ratio", "processor");
    PrintFloor("criterion kernel alone", Median(measured.kernelStepSeconds), wall, processor);
    PrintFloor("streamed division", Median(measured.divisionSeconds), wall, processor);
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
    benchmark::RegisterBenchmark("kernel_floor/8_lanes/H1/window_300", KernelFloor)
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
