#pragma once

#include "state/run_state.h"
#include "state/sales_history.h"

namespace sf {

// Puts the history's demand into the actual demand of its sales points and periods, and keeps
// the names it gives them for the results.
void FillActualDemand(const SalesHistory& history, RunState& state);

}  // namespace sf
