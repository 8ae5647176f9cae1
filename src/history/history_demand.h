#pragma once

#include "state/run_state.h"
#include "state/sales_history.h"

namespace sf {

// Puts the history's demand into the actual demand of its sales points and periods.
void FillActualDemand(const SalesHistory& history, RunState& state);

}  // namespace sf
