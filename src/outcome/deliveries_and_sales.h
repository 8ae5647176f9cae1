#pragma once

#include "state/run_state.h"

namespace sf {

// Sets the per-sales-point sums and the run totals to zero.
void ClearOutcomeSums(RunState& state);

// Deliveries, lost sale, return and realised sales over the outcome window S..P, then their
// sums per sales point and the run totals.
void ComputeDeliveriesAndSales(RunState& state);

}  // namespace sf
