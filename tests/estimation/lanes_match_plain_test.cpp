// The lanes must leave every member of the run state and every byte of the report exactly as
// the plain estimation does, on every kernel this processor has and for any number of threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "estimation/estimation_fixture.h"
#include "estimation/initial_estimation.h"
#include "estimation/lane_kernel.h"
#include "estimation/rolling_forecast.h"
#include "estimation/rolling_forecast_lanes.h"
#include "recording_observer.h"
#include "run/run_driver.h"
#include "run_state_comparison.h"
#include "runtime/kernel_set.h"
#include "runtime/run_error.h"
#include "test_folder.h"

namespace sf {
namespace {

struct Result {
    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    RunOutcome outcome;
    std::string report;
};

Result RunWith(const RunInputs& inputs, const RunOptions& options) {
    Result result;
    TestFolder folder;
    UniformSource source;
    QuietObserver observer;
    result.outcome = ExecuteRun(*result.state, source, inputs, NumberLocale{},
                                folder.Path("out.txt"), observer, options);
    result.report = folder.Read(result.outcome.completed ? "out.txt" : "out.txt.incomplete");
    // The message of a fault names the report's folder, which is this run's own.
    std::string& message = result.outcome.message;
    const std::string root = folder.Root().string();
    for (std::size_t at = message.find(root); at != std::string::npos; at = message.find(root)) {
        message.replace(at, root.size(), "<folder>");
    }
    return result;
}

std::vector<NamedLaneKernel> Kernels() {
    const std::span<const NamedLaneKernel> kernels = LaneKernels().Supported();
    return std::vector<NamedLaneKernel>(kernels.begin(), kernels.end());
}

void ExpectSameRun(const RunInputs& inputs, const NamedLaneKernel& kernel, int threads,
                   bool bounded = false) {
    const Result plain = RunWith(inputs, RunOptions{EstimationPath::plain, {}, bounded});
    const Result lanes = RunWith(
        inputs, RunOptions{EstimationPath::lanes, LaneOptions{kernel.name, threads}, bounded});
    SCOPED_TRACE(std::string(kernel.name) + ", " + std::to_string(threads) + " threads" +
                 (bounded ? ", bounded constants" : ""));
    EXPECT_EQ(lanes.outcome.completed, plain.outcome.completed);
    EXPECT_EQ(lanes.outcome.message, plain.outcome.message);
    EXPECT_TRUE(lanes.report == plain.report) << "the reports differ";
    if (plain.outcome.completed) {
        EXPECT_EQ(FirstDifference(*plain.state, *lanes.state), "");
    }
}

std::string Text(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

RunInputs RandomInputs(std::mt19937& random) {
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    auto whole = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    RunInputs inputs;
    inputs.model = static_cast<DemandModel>(whole(0, 6));
    inputs.Endpointnumber = std::to_string(whole(1, 20));
    inputs.Periodnumber = std::to_string(whole(0, 120));
    inputs.periodsforinitialization = std::to_string(whole(1, 12));
    inputs.periodsforalphabeta = std::to_string(whole(0, 8));
    inputs.warmuptx = "0";
    inputs.horizontx = std::to_string(whole(0, 4));
    inputs.tau_tx = Text(uniform(-0.5, 2.0));
    inputs.p1low = Text(uniform(0.0, 30.0));
    inputs.p1up = Text(uniform(0.0, 40.0));
    switch (inputs.model) {
        case DemandModel::meanAR1:
        case DemandModel::AR1:
            inputs.p2low = Text(uniform(-0.5, 1.0));
            inputs.p2up = Text(uniform(0.0, 1.0));
            break;
        case DemandModel::Normal:
            inputs.p2low = Text(uniform(0.0, 3.0));
            inputs.p2up = Text(uniform(0.0, 6.0));
            break;
        case DemandModel::loga:
        case DemandModel::sqrot:
        case DemandModel::linear:
        case DemandModel::t_tplusn:
            inputs.p2low = Text(uniform(-2.0, 2.0));
            inputs.p2up = Text(uniform(-2.0, 3.0));
            break;
    }
    inputs.p3 = Text(uniform(0.5, 10.0));
    return inputs;
}

RunInputs ModelInputs(DemandModel model, const char* salesPoints, const char* periods,
                      const char* horizon, const char* p2low, const char* p2up, const char* p3) {
    RunInputs inputs;
    inputs.model = model;
    inputs.Endpointnumber = salesPoints;
    inputs.Periodnumber = periods;
    inputs.periodsforinitialization = "4";
    inputs.periodsforalphabeta = "6";
    inputs.warmuptx = "0";
    inputs.horizontx = horizon;
    inputs.tau_tx = "0.5";
    inputs.p2low = p2low;
    inputs.p2up = p2up;
    inputs.p3 = p3;
    return inputs;
}

TEST(LanesMatchPlain, TheReferenceScenariosOnEveryKernel) {
    const RunInputs scenarios[] = {
        ModelInputs(DemandModel::loga, "3", "24", "1", "1", "3", ""),
        ModelInputs(DemandModel::sqrot, "3", "24", "2", "0.5", "2", ""),
        ModelInputs(DemandModel::linear, "4", "24", "1", "-1.5", "1.5", ""),
        ModelInputs(DemandModel::t_tplusn, "3", "24", "2", "5", "20", "5"),
        ModelInputs(DemandModel::meanAR1, "3", "24", "1", "0.3", "0.9", ""),
        ModelInputs(DemandModel::AR1, "3", "24", "3", "0.3", "0.7", "3"),
        ModelInputs(DemandModel::Normal, "3", "24", "1", "1", "5", ""),
        ModelInputs(DemandModel::loga, "3", "24", "0", "1", "3", ""),
        ModelInputs(DemandModel::loga, "17", "60", "0", "1", "3", ""),
    };
    for (const RunInputs& inputs : scenarios) {
        for (const NamedLaneKernel& kernel : Kernels()) {
            ExpectSameRun(inputs, kernel, 2);
            ExpectSameRun(inputs, kernel, 2, true);
        }
    }
}

TEST(LanesMatchPlain, RandomisedInputsOnEveryKernelAndThreadCount) {
    std::mt19937 random(2026);
    const std::vector<NamedLaneKernel> kernels = Kernels();
    for (int set = 0; set < 240; ++set) {
        const RunInputs inputs = RandomInputs(random);
        SCOPED_TRACE("set " + std::to_string(set));
        ExpectSameRun(inputs, kernels[set % kernels.size()], 1 + set % 3, set % 2 == 1);
    }
}

TEST(LanesMatchPlain, AFaultPartWayIsTheFaultOfTheLowestSalesPoint) {
    // Exploding demand: sales point 3 overflows at period 49, sales point 1 at period 55. The
    // plain order meets sales point 1 first, however the lanes run.
    RunInputs inputs = ModelInputs(DemandModel::AR1, "3", "60", "1", "1.3", "1.3", "0");
    inputs.p1low = "1e150";
    inputs.p1up = "1";
    for (const NamedLaneKernel& kernel : Kernels()) {
        ExpectSameRun(inputs, kernel, 2);
    }
    const Result lanes = RunWith(inputs, RunOptions{});
    EXPECT_EQ(lanes.outcome.message.rfind("Sales point 1, period 55: ", 0), 0u);
}

// Around 1e7 a step of 1e-10 is below the spacing of doubles, so no search converges: every
// search ends with the notice, in the lanes as in the plain path.
TEST(LanesMatchPlain, EverySearchThatHitsTheLimitShowsTheNotice) {
    auto prepare = [] {
        auto state = StateWithDemand({5, 6, 5, 6, 5, 6, 5, 6, 5, 6}, 3, 2, 1);
        state->salesPointCount = 2;
        for (int t = 1; t <= 10; ++t) {
            state->actualDemand(2, t) = state->actualDemand(1, t);
        }
        QuietObserver initial;
        EstimateInitialMeanAndDeviation(*state);
        EstimateInitialConstants(*state, initial);
        for (int sp = 1; sp <= 2; ++sp) {
            state->alpha(sp, 6) = 1e7;
            state->beta(sp, 6) = 1e7;
        }
        return state;
    };
    auto plain = prepare();
    RecordingObserver plainObserver;
    RollingForecast(*plain, plainObserver, [](double) {});
    for (const NamedLaneKernel& kernel : Kernels()) {
        auto lanes = prepare();
        RecordingObserver lanesObserver;
        RollingForecastInLanes(
            *lanes, lanesObserver, [](double) {}, LaneOptions{kernel.name, 2});
        EXPECT_EQ(lanesObserver.notices.size(), 2u * 2u * 4u);  // 2 searches, 2 points, 4 periods
        EXPECT_EQ(lanesObserver.notices, plainObserver.notices);
        EXPECT_EQ(FirstDifference(*plain, *lanes), "");
    }
}

TEST(Lanes, ReportProgressAsTheyGoAndStopWhenTheCallbackThrows) {
    auto prepare = [] {
        auto state = StateWithDemand(std::vector<double>(200, 0.0), 4, 4, 1);
        state->salesPointCount = 20;
        for (int sp = 1; sp <= 20; ++sp) {
            for (int t = 1; t <= 200; ++t) {
                state->actualDemand(sp, t) = (sp * 7 + t * 13) % 17;
            }
        }
        QuietObserver initial;
        EstimateInitialMeanAndDeviation(*state);
        EstimateInitialConstants(*state, initial);
        return state;
    };
    QuietObserver observer;
    auto state = prepare();
    std::vector<double> shares;
    // Three threads finish searches in any order; the shares they report never step back.
    RollingForecastInLanes(
        *state, observer, [&](double share) { shares.push_back(share); }, LaneOptions{"", 3});
    ASSERT_GE(shares.size(), 50u);  // about every hundredth
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.back(), 1.0);

    state = prepare();
    int calls = 0;
    const auto stopAtOnce = [&](double) {
        ++calls;
        throw RunError("stopped");
    };
    EXPECT_THROW(RollingForecastInLanes(*state, observer, stopAtOnce), RunError);
    EXPECT_EQ(calls, 1);
}

TEST(LanesMatchPlain, FullSize) {
    RunInputs inputs = ModelInputs(DemandModel::loga, "100", "600", "1", "0.5", "1.5", "");
    inputs.periodsforinitialization = "12";
    inputs.periodsforalphabeta = "12";
    ExpectSameRun(inputs, Kernels().front(), 0);
}

}  // namespace
}  // namespace sf
