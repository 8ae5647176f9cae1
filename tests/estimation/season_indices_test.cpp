#include "estimation/season_indices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "estimation/estimation_fixture.h"

namespace sf {
namespace {

// Periods 1..count of a pattern repeated at the level, optionally growing by step a period.
std::vector<double> Repeated(const std::vector<double>& pattern, int count, double level,
                             double step = 0.0) {
    std::vector<double> demand;
    for (int t = 0; t < count; ++t) {
        demand.push_back((level + step * t) *
                         pattern[static_cast<std::size_t>(t) % pattern.size()]);
    }
    return demand;
}

struct IndicesCase {
    std::string name;
    std::vector<double> window;
    int length;
    std::vector<double> indices;
    bool flat;
};

TEST(SeasonIndices, RatioToTheCentredAverageByPosition) {
    const std::vector<IndicesCase> cases = {
        // An exact pattern at a steady level: the centred average is the level (2 x 4 for the
        // even length), so each ratio is the pattern itself.
        {"even length", Repeated({0.5, 1.0, 1.5, 1.0}, 24, 10.0), 4, {0.5, 1.0, 1.5, 1.0}, false},
        {"odd length", Repeated({1.5, 0.5, 1.0}, 15, 8.0), 3, {1.5, 0.5, 1.0}, false},
        // A position without demand is closed whatever the test says, and the others take
        // the average of 1 over all positions.
        {"closed position", Repeated({2.0, 1.0, 0.0}, 9, 5.0), 3, {2.0, 1.0, 0.0}, false},
        {"no demand at all", std::vector<double>(9, 0.0), 3, {1.0, 1.0, 1.0}, true},
        {"steady demand", std::vector<double>(15, 4.0), 7, std::vector<double>(7, 1.0), true},
        // Noise around a level without a pattern at lag 4 keeps the indices 1.
        {"no season shown",
         {9, 11, 10, 12, 8, 10, 11, 9, 12, 10, 9, 11, 10, 8, 12, 11, 9, 10, 11, 12},
         4,
         {1.0, 1.0, 1.0, 1.0},
         true},
    };
    for (const IndicesCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SeasonIndices found = ComputeSeasonIndices(c.window, c.length);
        EXPECT_EQ(found.flat, c.flat);
        ASSERT_EQ(found.indices.size(), c.indices.size());
        double sum = 0.0;
        for (std::size_t k = 0; k < c.indices.size(); ++k) {
            EXPECT_NEAR(found.indices[k], c.indices[k], 1e-12) << "position " << k;
            sum += found.indices[k];
        }
        EXPECT_NEAR(sum, static_cast<double>(c.length), 1e-12);
    }
}

TEST(SeasonIndices, ATrendLeavesThePatternToTheRatios) {
    // The centred average follows a linear trend exactly, so the ratios keep the pattern up to
    // what the trend moves within one season.
    const SeasonIndices found =
        ComputeSeasonIndices(Repeated({1.4, 0.6, 1.0, 1.0}, 24, 50.0, 1.0), 4);
    ASSERT_FALSE(found.flat);
    EXPECT_NEAR(found.indices[0], 1.4, 0.02);
    EXPECT_NEAR(found.indices[1], 0.6, 0.02);
}

TEST(SeasonTest, LagAutocorrelationAgainstBartlettsBound) {
    EXPECT_TRUE(WindowShowsSeason(Repeated({3, 1, 1, 1, 1, 1, 2}, 28, 10.0), 7));
    EXPECT_FALSE(WindowShowsSeason(std::vector<double>(28, 3.0), 7));
    // Alternation at lag 2 is no season of 3.
    EXPECT_FALSE(WindowShowsSeason(Repeated({2.0, 1.0}, 12, 10.0), 3));
}

TEST(SeasonAdjustment, DividesByTheIndexAndCarriesTheLevelOverClosedPeriods) {
    // Position 1 (periods 1, 4, 7 ...) is closed: the first period takes the first open one's
    // adjusted demand, every later closed period the adjusted demand before it.
    std::vector<double> demand = {0, 10, 20, 0, 10, 20, 0, 10, 20, 0, 12, 30};
    auto state = StateWithDemand(demand, 9, 0, 1);
    AdjustDemandForSeason(*state, 3);
    ASSERT_TRUE(state->season.Active());
    EXPECT_EQ(state->season.flatSalesPoints, 0);
    EXPECT_EQ(state->season.Index(1, 1), 0.0);
    EXPECT_DOUBLE_EQ(state->season.Index(1, 2), 1.0);
    EXPECT_DOUBLE_EQ(state->season.Index(1, 3), 2.0);
    const std::vector<double> adjusted = {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 12, 15};
    for (int t = 1; t <= 12; ++t) {
        EXPECT_DOUBLE_EQ(state->actualDemand(1, t), adjusted[static_cast<std::size_t>(t - 1)])
            << "period " << t;
        EXPECT_EQ(state->season.GivenDemand(1, t), demand[static_cast<std::size_t>(t - 1)]);
    }

    auto none = StateWithDemand(demand, 9, 0, 1);
    AdjustDemandForSeason(*none, kNoSeason);
    EXPECT_FALSE(none->season.Active());
    EXPECT_EQ(none->actualDemand(1, 3), 20.0);
}

}  // namespace
}  // namespace sf
