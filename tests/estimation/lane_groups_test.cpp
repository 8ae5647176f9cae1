// Lane groups evaluated together must leave each group exactly what the kernel leaves when it
// evaluates that group alone: the same series and criteria, bit for bit, whatever the groups'
// window ends and idle lanes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "estimation/lane_kernel.h"
#include "runtime/kernel_set.h"
#include "state/run_state.h"

namespace sf {
namespace {

struct GroupWindows {
    const char* name;
    int lag;
    std::vector<std::vector<int>> windowEnds;  // by group, by lane; 0 for an idle lane
    // Lane 0 of group 0 takes a trial the fused quotient leaves to the division, which then
    // serves every group of the call, while each group alone takes the quotient path.
    bool trialForTheDivision = false;
};

const GroupWindows kCases[] = {
    {"lag 1, the same ends",
     1,
     {{40, 40, 40, 40, 40, 40, 40, 40}, {40, 40, 40, 40, 40, 40, 40, 40}}},
    {"lag 1, the first group ends sooner",
     1,
     {{30, 31, 30, 33, 30, 30, 30, 30}, {45, 44, 44, 50, 44, 44, 44, 44}}},
    {"lag 1, the second group ends sooner, idle lanes",
     1,
     {{52, 0, 50, 50, 51, 50, 0, 50}, {20, 21, 0, 22, 20, 20, 20, 20}}},
    {"lag 1, a group within its start periods",
     1,
     {{11, 11, 11, 11, 11, 11, 11, 11}, {35, 36, 37, 38, 39, 40, 41, 42}}},
    {"lag 0, three groups",
     0,
     {{25, 26, 27, 25, 25, 25, 25, 25},
      {18, 18, 18, 0, 18, 18, 18, 19},
      {33, 33, 33, 33, 33, 33, 33, 40}}},
    {"lag 1, a trial for the division beside trials for the quotient",
     1,
     {{60, 60, 60, 60, 60, 60, 60, 60}, {58, 60, 61, 60, 60, 60, 60, 60}},
     true},
    {"lag 3, three groups, masked ends",
     3,
     {{29, 29, 35, 29, 0, 29, 29, 29},
      {14, 12, 12, 12, 12, 12, 12, 12},
      {44, 44, 44, 44, 44, 44, 44, 41}}},
};

struct Lanes {
    std::vector<double> trial, start, windowEnd, criterion, input, output;
    LaneKernelArgs args;
};

Lanes MakeLanes(int group, const GroupWindows& windows, const double* reciprocal) {
    const std::vector<int>& ends = windows.windowEnds[group];
    const int lag = windows.lag;
    Lanes lanes;
    int commonEnd = kMaxPeriods;
    int lastPeriod = 0;
    for (int lane = 0; lane < kLaneCount; ++lane) {
        const bool forTheDivision = windows.trialForTheDivision && group == 0 && lane == 0;
        lanes.trial.push_back(forTheDivision ? 1e-310 : 0.05 + 0.11 * lane + 0.3 * group);
        lanes.start.push_back(3.0 + lane);
        lanes.windowEnd.push_back(ends[lane]);
        if (ends[lane] > 0) {
            commonEnd = std::min(commonEnd, ends[lane]);
            lastPeriod = std::max(lastPeriod, ends[lane]);
        }
    }
    lanes.criterion.assign(kLaneCount, -1.0);
    lanes.output.assign(kPeriodSlots * kLaneCount, 0.0);
    for (int cell = 0; cell < kPeriodSlots * kLaneCount; ++cell) {
        lanes.input.push_back(std::fmod(cell * 0.37 + group, 9.0));
    }
    lanes.args = {11,
                  lag,
                  commonEnd,
                  lastPeriod,
                  lanes.trial.data(),
                  lanes.start.data(),
                  lanes.windowEnd.data(),
                  reciprocal,
                  lanes.input.data(),
                  lanes.output.data(),
                  lanes.criterion.data()};
    return lanes;
}

TEST(LaneGroups, EachGroupGetsTheBitsOfItsOwnEvaluation) {
    std::vector<double> reciprocal(kPeriodSlots, 0.0);
    for (int t = 1; t < kPeriodSlots; ++t) {
        reciprocal[t] = 1.0 / t;
    }
    for (const NamedLaneKernel& kernel : LaneKernels().Supported()) {
        for (const GroupWindows& windows : kCases) {
            const int count = static_cast<int>(windows.windowEnds.size());
            ASSERT_LE(count, kMaxLaneGroups);
            std::vector<Lanes> alone, together;
            std::vector<LaneKernelArgs> args;
            for (int group = 0; group < count; ++group) {
                alone.push_back(MakeLanes(group, windows, reciprocal.data()));
                together.push_back(MakeLanes(group, windows, reciprocal.data()));
                args.push_back(together.back().args);
                kernel.kernel(alone.back().args);
            }
            kernel.groups(args.data(), count);
            for (int group = 0; group < count; ++group) {
                const Lanes& expected = alone[group];
                const Lanes& actual = together[group];
                for (int lane = 0; lane < kLaneCount; ++lane) {
                    if (windows.windowEnds[group][lane] == 0) {
                        continue;  // an idle lane's values are never read
                    }
                    EXPECT_EQ(actual.criterion[lane], expected.criterion[lane])
                        << kernel.name << ", " << windows.name << ", group " << group << ", lane "
                        << lane;
                    for (int t = 11; t <= windows.windowEnds[group][lane]; ++t) {
                        const int cell = t * kLaneCount + lane;
                        ASSERT_EQ(actual.output[cell], expected.output[cell])
                            << kernel.name << ", " << windows.name << ", group " << group
                            << ", lane " << lane << ", period " << t;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace sf
