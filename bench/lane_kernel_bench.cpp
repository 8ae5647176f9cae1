// The lane kernel alone: one criterion evaluation over a window of the full-size run's average
// length, for one, two and three groups of lanes evaluated together, with the lag 0 and 1. The
// time per lane-step of one group against that of several tells whether one group is bound by
// its recurrence's latency or by its operations.
#include <benchmark/benchmark.h>

#include <vector>

#include "estimation/lane_kernel.h"
#include "runtime/kernel_set.h"
#include "state/run_state.h"

namespace {

constexpr int kFirst = 13;
constexpr int kEnd = 312;  // the middle of the rolling periods 25..600

struct Group {
    std::vector<double> trial, start, windowEnd, criterion, input, output;
};

void LaneGroups(benchmark::State& benchState) {
    const int groupCount = static_cast<int>(benchState.range(0));
    const int lag = static_cast<int>(benchState.range(1));
    const sf::NamedLaneKernel& kernel = sf::LaneKernels().Fastest();
    std::vector<double> reciprocal(sf::kPeriodSlots, 0.0);
    for (int t = 1; t < sf::kPeriodSlots; ++t) {
        reciprocal[t] = 1.0 / t;
    }
    std::vector<Group> groups(groupCount);
    std::vector<sf::LaneKernelArgs> args(groupCount);
    for (int group = 0; group < groupCount; ++group) {
        Group& lanes = groups[group];
        lanes.trial.assign(sf::kLaneCount, 0.3 + 0.01 * group);
        lanes.start.assign(sf::kLaneCount, 10.0);
        lanes.windowEnd.assign(sf::kLaneCount, kEnd);
        lanes.criterion.assign(sf::kLaneCount, 0.0);
        lanes.output.assign(sf::kPeriodSlots * sf::kLaneCount, 0.0);
        for (int cell = 0; cell < sf::kPeriodSlots * sf::kLaneCount; ++cell) {
            lanes.input.push_back(10.0 + cell % 7);
        }
        args[group] = {kFirst,
                       lag,
                       kEnd,
                       kEnd,
                       lanes.trial.data(),
                       lanes.start.data(),
                       lanes.windowEnd.data(),
                       reciprocal.data(),
                       lanes.input.data(),
                       lanes.output.data(),
                       lanes.criterion.data()};
    }
    for (auto _ : benchState) {
        kernel.groups(args.data(), groupCount);
        benchmark::DoNotOptimize(groups[0].criterion.data());
        benchmark::ClobberMemory();
    }
    const double laneSteps = static_cast<double>(benchState.iterations()) * groupCount *
                             sf::kLaneCount * sf::LaneDivisions(kFirst, lag, kEnd);
    benchState.counters["lane_step_ns"] =
        benchmark::Counter(laneSteps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    benchState.SetLabel(kernel.name);
}

}  // namespace

BENCHMARK(LaneGroups)
    ->ArgNames({"groups", "lag"})
    ->ArgsProduct({{1, 2, 3}, {0, 1}})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
