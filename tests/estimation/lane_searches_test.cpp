// The lanes' search step must follow the plain search exactly, ties, NaN and the iteration
// limit included, on every kernel this processor has.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "estimation/brent_search.h"
#include "estimation/lane_kernel.h"
#include "runtime/kernel_set.h"

namespace sf {
namespace {

using Criterion = std::function<double(double)>;

struct Trace {
    std::vector<double> trials;
    double result = 0.0;
    bool limitReached = false;
};

Trace PlainSearch(double centre, double halfWidth, const Criterion& f) {
    BrentSearch search(centre - halfWidth, centre, centre + halfWidth);
    Trace trace;
    double value = 0.0;
    do {
        trace.trials.push_back(search.Trial());
        value = f(search.Trial());
    } while (search.Take(value));
    trace.result = search.Result();
    trace.limitReached = search.IterationLimitReached();
    return trace;
}

// Eight searches side by side, each lane with its own criterion, until every one has ended.
std::vector<Trace> LaneSearch(const NamedLaneKernel& kernel, const std::vector<double>& centres,
                              double halfWidth, const std::vector<Criterion>& criteria) {
    LaneSearches searches{};
    std::vector<Trace> traces(kLaneCount);
    std::vector<bool> searching(kLaneCount, true);
    for (int lane = 0; lane < kLaneCount; ++lane) {
        StartLaneSearch(searches, lane, centres[lane] - halfWidth, centres[lane],
                        centres[lane] + halfWidth);
    }
    for (int round = 0; round < 200; ++round) {
        double values[kLaneCount];
        for (int lane = 0; lane < kLaneCount; ++lane) {
            if (searching[lane]) {
                traces[lane].trials.push_back(searches.trial[lane]);
            }
            values[lane] = criteria[lane](searches.trial[lane]);
        }
        kernel.step(searches, values);
        for (int lane = 0; lane < kLaneCount; ++lane) {
            if (searching[lane] && searches.searching[lane] == 0.0) {
                searching[lane] = false;
                traces[lane].result = searches.x[lane];
                traces[lane].limitReached = searches.iteration[lane] > kBrentIterationLimit;
            }
        }
    }
    return traces;
}

std::vector<Criterion> Criteria() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<Criterion> criteria = {
        [](double) { return 0.0; },                                      // every trial ties
        [](double x) { return (x - 0.3) * (x - 0.3); },                  // smooth
        [](double x) { return std::fabs(x - 0.71); },                    // a kink
        [](double x) { return std::floor(x * 7.0); },                    // steps: many equal values
        [](double x) { return std::round(std::fabs(x - 0.3) * 20.0); },  // a flat bottom
        [nan](double x) { return x > 0.4 ? nan : 1.0 - x; },             // no value beyond 0.4
        [](double x) { return -std::cos(40.0 * x); },                    // many minima
        [](double x) { return x < 0.5 ? -0.0 : 0.0; },                   // signed zeros
    };
    std::mt19937_64 random(11);
    for (int draw = 0; draw < 5; ++draw) {
        const double seed = std::uniform_real_distribution<double>(0.0, 1000.0)(random);
        criteria.push_back([seed](double x) {  // a rough, fixed function of the trial
            return std::fmod(std::sin(x * 12.9898 + seed) * 43758.5453, 1.0);
        });
        criteria.push_back([seed](double x) {  // the same with three levels: ties everywhere
            return std::floor(3.0 *
                              std::fabs(std::fmod(std::sin(x * 12.9898 + seed) * 43758.5453, 1.0)));
        });
    }
    return criteria;
}

TEST(LaneSearches, EveryLaneFollowsThePlainSearch) {
    const std::vector<Criterion> all = Criteria();
    for (const NamedLaneKernel& kernel : LaneKernels().Supported()) {
        for (std::size_t offset = 0; offset < all.size(); ++offset) {
            std::vector<Criterion> criteria;
            std::vector<double> centres;
            for (int lane = 0; lane < kLaneCount; ++lane) {
                criteria.push_back(all[(offset + lane) % all.size()]);
                centres.push_back(lane % 2 == 0 ? 0.5 : 0.05 * lane);
            }
            const std::vector<Trace> lanes = LaneSearch(kernel, centres, 0.5, criteria);
            for (int lane = 0; lane < kLaneCount; ++lane) {
                const Trace plain = PlainSearch(centres[lane], 0.5, criteria[lane]);
                SCOPED_TRACE(std::string(kernel.name) + " lane " + std::to_string(lane));
                EXPECT_EQ(lanes[lane].trials, plain.trials);
                EXPECT_EQ(lanes[lane].result, plain.result);
                EXPECT_EQ(lanes[lane].limitReached, plain.limitReached);
            }
        }
    }
}

TEST(LaneSearches, TheIterationLimitEndsALaneLikeThePlainSearch) {
    // Around 1e7 the tolerance is below the spacing of doubles: no search converges.
    const Criterion step = [](double x) { return x > 1e7 - 0.05 ? 1.0 : 0.0; };
    for (const NamedLaneKernel& kernel : LaneKernels().Supported()) {
        const std::vector<Trace> lanes = LaneSearch(kernel, std::vector<double>(kLaneCount, 1e7),
                                                    0.1, std::vector<Criterion>(kLaneCount, step));
        const Trace plain = PlainSearch(1e7, 0.1, step);
        ASSERT_TRUE(plain.limitReached);
        EXPECT_EQ(plain.trials.size(), 101u);
        for (const Trace& lane : lanes) {
            EXPECT_TRUE(lane.limitReached);
            EXPECT_EQ(lane.trials, plain.trials);
            EXPECT_EQ(lane.result, plain.result);
        }
    }
}

}  // namespace
}  // namespace sf
