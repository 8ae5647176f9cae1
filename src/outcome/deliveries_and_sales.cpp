#include "outcome/deliveries_and_sales.h"

#include <cmath>

#include "outcome/period_outcome.h"
#include "runtime/run_error.h"
#include "state/period_stretches.h"

namespace sf {
namespace {

// Deliveries far from the demand (a huge tau) can make the sums overflow though each period's
// values are finite.
void CheckFiniteSums(const RunState& state, int sp, int t) {
    if (!std::isfinite(state.lostSaleSum[sp]) || !std::isfinite(state.returnedSum[sp]) ||
        !std::isfinite(state.salesSum[sp])) {
        FailAt(sp, t,
               "the sums of lost sale, return and sales grew too large for a number (they "
               "overflowed)");
    }
}

}  // namespace

void ClearOutcomeSums(RunState& state) {
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        state.lostSaleSum[sp] = 0.0;
        state.returnedSum[sp] = 0.0;
        state.salesSum[sp] = 0.0;
    }
    state.totalLostSale = 0.0;
    state.totalReturn = 0.0;
    state.totalSales = 0.0;
}

void ComputeDeliveriesAndSales(RunState& state) {
    const PeriodStretch outcome = OutcomeWindow(state);
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        for (state.period = outcome.first; state.period <= outcome.last; ++state.period) {
            const int t = state.period;
            const PeriodOutcome<double> outcome = OutcomeOfPeriod(
                state.mu(sp, t), state.sigma(sp, t), state.tau, state.actualDemand(sp, t));
            if (!std::isfinite(outcome.delivery)) {
                FailAt(sp, t, "the delivery is too large for a number (it overflowed)");
            }
            state.delivery(sp, t) = outcome.delivery;
            state.lostSale(sp, t) = outcome.lostSale;
            state.returned(sp, t) = outcome.returned;
            state.sales(sp, t) = outcome.sales;
        }
    }
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        for (state.period = outcome.first; state.period <= outcome.last; ++state.period) {
            const int t = state.period;
            state.lostSaleSum[sp] = state.lostSaleSum[sp] + state.lostSale(sp, t);
            state.returnedSum[sp] = state.returnedSum[sp] + state.returned(sp, t);
            state.salesSum[sp] = state.salesSum[sp] + state.sales(sp, t);
            CheckFiniteSums(state, sp, t);
        }
        state.totalLostSale = state.totalLostSale + state.lostSaleSum[sp];
        state.totalReturn = state.totalReturn + state.returnedSum[sp];
        state.totalSales = state.totalSales + state.salesSum[sp];
        if (!std::isfinite(state.totalLostSale) || !std::isfinite(state.totalReturn) ||
            !std::isfinite(state.totalSales)) {
            FailAt(sp, outcome.last,
                   "adding its sums made the run totals too large for a number (they overflowed)");
        }
    }
}

}  // namespace sf
