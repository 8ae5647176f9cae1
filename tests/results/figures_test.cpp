#include "results/figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "csv_reading.h"
#include "outcome/deliveries_and_sales.h"
#include "results/export_tables.h"

namespace sf {
namespace {

// Two sales points, outcome window S..P = 2..4, rolling stretch S + A + H + 1..P = 4..4, tau 0
// so that each delivery is its forecast rounded. Sales point 2 has no demand and one negative
// delivery, and a beta that left 0..1.
std::unique_ptr<RunState> SmallCase() {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = 2;
    state->initPeriods = 2;
    state->alphaBetaPeriods = 1;
    state->horizon = 0;
    state->periodNumber = 4;
    state->tau = 0.0;
    const double demand[2][5] = {{0, 10, 12, 8, 9}, {0, 0, 0, 0, 0}};
    const double forecast[2][5] = {{0, 0, 11, 10, 10}, {0, 0, 0, 0, -3}};
    for (int sp = 1; sp <= 2; ++sp) {
        for (int t = 1; t <= 4; ++t) {
            state->actualDemand(sp, t) = demand[sp - 1][t];
            state->mu(sp, t) = forecast[sp - 1][t];
            state->sigma(sp, t) = 2.0;
        }
        state->alphaUsed(sp, 3) = 0.9;  // initial fitting window: not in the means
        state->betaUsed(sp, 3) = 0.9;
    }
    state->alphaUsed(1, 4) = 0.3;
    state->betaUsed(1, 4) = 0.2;
    state->alphaUsed(2, 4) = 0.5;
    state->betaUsed(2, 4) = 1.5;
    ComputeDeliveriesAndSales(*state);
    return state;
}

TEST(Figures, HandCheckedSmallCase) {
    const RunFigures figures = ComputeFigures(*SmallCase());
    ASSERT_EQ(figures.salesPoints.size(), 2u);

    // Deliveries 11, 10, 10 against demand 12, 8, 9: one lost, three returned.
    const Figures& first = figures.salesPoints[0];
    EXPECT_EQ(first.demand, 29.0);
    EXPECT_EQ(first.sales, 28.0);
    EXPECT_EQ(first.lostSales, 1.0);
    EXPECT_EQ(first.returns, 3.0);
    EXPECT_EQ(first.deliveries, 31.0);
    EXPECT_EQ(first.fillRate, 28.0 / 29.0);
    EXPECT_EQ(first.cycleServiceLevel, 2.0 / 3.0);
    EXPECT_EQ(first.returnRate, 3.0 / 31.0);
    EXPECT_EQ(first.bias, 2.0 / 3.0);  // errors -1, 2, 1
    EXPECT_EQ(first.mae, 4.0 / 3.0);
    EXPECT_EQ(first.rmse, std::sqrt(6.0 / 3.0));
    EXPECT_EQ(first.alphaMean, 0.3);
    EXPECT_EQ(first.betaMean, 0.2);
    EXPECT_EQ(first.unstable, 0);
    EXPECT_EQ(first.negativeDeliveries, 0);

    // No demand: no fill rate; deliveries 0, 0, -3 sum to -3, with no return.
    const Figures& second = figures.salesPoints[1];
    EXPECT_FALSE(second.fillRate);
    EXPECT_EQ(second.sales, -3.0);
    EXPECT_EQ(second.lostSales, 3.0);
    EXPECT_EQ(second.cycleServiceLevel, 2.0 / 3.0);
    EXPECT_EQ(second.returnRate, 0.0);
    EXPECT_EQ(second.bias, -1.0);
    EXPECT_EQ(second.rmse, std::sqrt(3.0));
    EXPECT_EQ(second.unstable, 1);
    EXPECT_EQ(second.negativeDeliveries, 1);

    // All: rates from the added sums, over every sales point's periods.
    const Figures& all = figures.all;
    EXPECT_EQ(all.demand, 29.0);
    EXPECT_EQ(all.sales, 25.0);
    EXPECT_EQ(all.fillRate, 25.0 / 29.0);
    EXPECT_EQ(all.cycleServiceLevel, 4.0 / 6.0);
    EXPECT_EQ(all.returnRate, 3.0 / 28.0);
    EXPECT_EQ(all.bias, -1.0 / 6.0);
    EXPECT_EQ(all.mae, 7.0 / 6.0);
    EXPECT_EQ(all.rmse, std::sqrt(15.0 / 6.0));
    EXPECT_EQ(all.alphaMean, (0.3 + 0.5) / 2.0);
    EXPECT_EQ(all.unstable, 1);
    EXPECT_EQ(all.negativeDeliveries, 1);
}

TEST(Figures, ZeroDenominatorsAndEmptyStretchesGiveEmptyCells) {
    auto state = SmallCase();
    // A run whose windows cover every period: no rolling stretch, so no constants' means.
    state->alphaBetaPeriods = 5;
    RunFigures figures = ComputeFigures(*state);
    EXPECT_FALSE(figures.all.alphaMean);
    EXPECT_FALSE(figures.all.betaMean);
    EXPECT_TRUE(figures.all.fillRate);

    // P below S: an empty outcome window, nothing to divide by.
    state = std::make_unique<RunState>();
    state->salesPointCount = 1;
    state->initPeriods = 4;
    state->periodNumber = 0;
    const auto rows = CsvRows(SummaryCsv(ComputeFigures(*state)));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].size(), 16u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "0", "0", "0", "0", "0", "", "", "", "", "",
                                                 "", "", "", "0", "0"}));
    EXPECT_EQ(rows[2][0], "all");
    EXPECT_EQ(rows[2][6], "");
}

}  // namespace
}  // namespace sf
