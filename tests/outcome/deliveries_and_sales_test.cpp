#include "outcome/deliveries_and_sales.h"

#include <gtest/gtest.h>

#include <memory>

namespace sf {
namespace {

// One sales point over periods 1..forecasts.size(), outcome window from period 1.
std::unique_ptr<RunState> StateWithForecasts(const std::vector<double>& forecasts,
                                             const std::vector<double>& deviations,
                                             const std::vector<double>& demand, double tau) {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = 1;
    state->initPeriods = 1;
    state->periodNumber = static_cast<std::int16_t>(forecasts.size());
    state->tau = tau;
    for (std::size_t at = 0; at < forecasts.size(); ++at) {
        const int t = static_cast<int>(at) + 1;
        state->mu(1, t) = forecasts[at];
        state->sigma(1, t) = deviations[at];
        state->actualDemand(1, t) = demand[at];
    }
    return state;
}

TEST(Deliveries, ForecastPlusSafetyStockRoundedHalvesToEven) {
    auto state = StateWithForecasts({2.5, 3.5, 10.0, 10.0}, {0, 0, 2, 1}, {0, 0, 0, 0}, 0.25);
    ComputeDeliveriesAndSales(*state);
    EXPECT_EQ(state->delivery(1, 1), 2.0);
    EXPECT_EQ(state->delivery(1, 2), 4.0);
    EXPECT_EQ(state->delivery(1, 3), 10.0);  // 10.5
    EXPECT_EQ(state->delivery(1, 4), 10.0);  // 10.25
}

TEST(Deliveries, EqualDemandAndANegativeDeliveryTakeTheLostSaleBranch) {
    auto state = StateWithForecasts({7, -3}, {0, 0}, {7, 2}, 0.0);
    ComputeDeliveriesAndSales(*state);
    EXPECT_EQ(state->lostSale(1, 1), 0.0);
    EXPECT_EQ(state->returned(1, 1), 0.0);
    EXPECT_EQ(state->sales(1, 1), 7.0);
    EXPECT_EQ(state->lostSale(1, 2), 5.0);
    EXPECT_EQ(state->sales(1, 2), -3.0);
    EXPECT_EQ(state->returned(1, 2), 0.0);
}

TEST(Deliveries, TheWindowStartsAtTheInitialisationPeriodAndSumsAddUp) {
    auto state = StateWithForecasts({50, 9, 9.4, 12}, {0, 0, 0, 0}, {1, 10, 8.5, 12}, 0.5);
    state->initPeriods = 2;
    state->salesPointCount = 1;
    ComputeDeliveriesAndSales(*state);
    EXPECT_EQ(state->delivery(1, 1), 0.0);  // before S nothing is written
    EXPECT_EQ(state->lostSaleSum[1], 1.0);
    EXPECT_EQ(state->returnedSum[1], 0.5);
    EXPECT_EQ(state->salesSum[1], 9.0 + 8.5 + 12.0);
    EXPECT_EQ(state->totalSales, state->salesSum[1]);
    EXPECT_EQ(state->totalLostSale, state->lostSaleSum[1]);
    EXPECT_EQ(state->totalReturn, state->returnedSum[1]);
}

}  // namespace
}  // namespace sf
