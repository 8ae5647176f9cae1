#include "estimation/forecasts_as_known.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "estimation/lane_buffers.h"
#include "estimation/lane_kernel.h"
#include "estimation/smoothing.h"
#include "runtime/kernel_set.h"
#include "state/period_stretches.h"

namespace sf {
namespace {

// Periods 0..2 x 600 (or twice a longer history's P): the replays of the coming periods run to
// P + max(H, 1), beyond the state's last period.
int ReplaySlots(const RunState& state) {
    return 2 * state.periodCapacity + 1;
}

// The series of eight lanes side by side by period: [period * kLaneCount + lane], one after
// another in a thread's lane buffer.
struct LaneSeries {
    static std::size_t CellsFor(const RunState& state) {
        return static_cast<std::size_t>(ReplaySlots(state)) * kLaneCount;
    }

    LaneSeries(double* buffer, std::size_t cells)
        : cells(cells),
          demand(buffer),
          forecast(buffer + cells),
          deviation(buffer + 2 * cells),
          mad(buffer + 3 * cells) {}

    const std::size_t cells;
    double* const demand;
    double* const forecast;
    double* const deviation;  // |D - F| of the alpha replay
    double* const mad;
};

// The replays of the sales points first..first + 7, one per lane, for every rolling period and
// every coming period. Returns the divisions the replays took.
long long ReplayInLanes(RunState& state, const NamedLaneKernel& kernel, const double* reciprocal,
                        int first, LaneSeries& series) {
    const int s = state.initPeriods;
    const int h = state.horizon;
    const int lanes = std::min(kLaneCount, state.salesPointCount - first + 1);
    const PeriodStretch rolling = RollingStretch(state);
    const PeriodStretch coming = ComingPeriods(state);
    double* const demand = series.demand;
    double* const forecast = series.forecast;
    double* const deviation = series.deviation;
    double* const mad = series.mad;
    std::array<double, kLaneCount> trial{}, start{}, windowEnd{}, criterion{};
    std::fill_n(demand, series.cells, 0.0);
    for (int lane = 0; lane < lanes; ++lane) {
        const PeriodRow<const double> row = state.actualDemand.Row(first + lane);
        for (int t = 1; t <= rolling.last; ++t) {
            demand[static_cast<std::size_t>(t) * kLaneCount + lane] = row[t];
        }
    }
    LaneKernelArgs args;
    args.lag = h;
    args.trial = trial.data();
    args.start = start.data();
    args.windowEnd = windowEnd.data();
    args.reciprocal = reciprocal;
    args.criterion = criterion.data();
    long long divisions = 0;
    for (int t = rolling.first; t <= coming.last; ++t) {
        const int d = DecisionPeriod(state, t);
        const int end = d + h;
        // With H = 0 a period's value depends on that period alone, so its replay may start
        // there; otherwise every period of the window feeds a later one.
        args.first = h == 0 ? end : s + 1;
        args.commonEnd = end;
        args.lastPeriod = end;
        windowEnd.fill(end);
        const std::size_t at = static_cast<std::size_t>(end) * kLaneCount;
        if (end > s) {
            for (int lane = 0; lane < lanes; ++lane) {
                trial[lane] = state.alphaUsed(first + lane, d);
                start[lane] = state.initialMu[first + lane];
            }
            args.input = demand;
            args.output = forecast;
            kernel.kernel(args);
            for (std::size_t cell = static_cast<std::size_t>(args.first) * kLaneCount;
                 cell < at + kLaneCount; ++cell) {
                deviation[cell] = std::fabs(demand[cell] - forecast[cell]);
            }
            for (int lane = 0; lane < lanes; ++lane) {
                trial[lane] = state.betaUsed(first + lane, d);
                start[lane] = MadFromSigma(state.initialSigma[first + lane]);
            }
            args.input = deviation;
            args.output = mad;
            kernel.kernel(args);
            divisions += 2 * lanes * LaneDivisions(args.first, h, end);
        }
        // A coming period is kept apart, counted from P.
        const bool isComing = t >= coming.first;
        Matrix& forecastKnown = isComing ? state.comingForecast : state.forecastAsForecast;
        Matrix& sigmaKnown = isComing ? state.comingSigma : state.sigmaAsForecast;
        const int column = isComing ? t - rolling.last : t;
        for (int lane = 0; lane < lanes; ++lane) {
            const int sp = first + lane;
            // An empty window (H = 0 and d = S) leaves the start values of period S.
            forecastKnown(sp, column) = end > s ? forecast[at + lane] : state.mu(sp, s);
            sigmaKnown(sp, column) = end > s ? SigmaFromMad(mad[at + lane]) : state.sigma(sp, s);
        }
    }
    return divisions;
}

}  // namespace

void ForecastsAsKnown(RunState& state, const LaneOptions& options) {
    if (RollingStretch(state).Empty()) {
        return;
    }
    const NamedLaneKernel& kernel = LaneKernels().Named(options.kernel);
    // 1 / t as the criteria's own division gives it.
    std::vector<double> reciprocal(static_cast<std::size_t>(ReplaySlots(state)), 0.0);
    for (int t = 1; t < ReplaySlots(state); ++t) {
        reciprocal[static_cast<std::size_t>(t)] = 1.0 / t;
    }
    const int groups = (state.salesPointCount + kLaneCount - 1) / kLaneCount;
    std::atomic<int> next{0};
    auto work = [&](int thread) {
        const std::size_t cells = LaneSeries::CellsFor(state);
        LaneSeries series(LaneBuffer(state, thread, 4 * cells), cells);
        long long divisions = 0;
        for (int group = next++; group < groups; group = next++) {
            divisions +=
                ReplayInLanes(state, kernel, reciprocal.data(), 1 + group * kLaneCount, series);
        }
        if (options.divisions != nullptr) {
            *options.divisions += divisions;
        }
    };
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int threads = options.threads > 0 ? options.threads : cores;
    // A helper the system will not start fails the run, as in the rolling forecast; those
    // started finish their groups before it does.
    const int workers = std::min(threads, groups);
    KeepLaneBuffers(state, workers);
    std::vector<std::jthread> helpers;
    for (int helper = 1; helper < workers; ++helper) {
        helpers.emplace_back(work, helper);
    }
    work(0);
}

}  // namespace sf
