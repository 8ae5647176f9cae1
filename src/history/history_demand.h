#pragma once

#include "state/run_options.h"
#include "state/run_state.h"
#include "state/sales_history.h"

namespace sf {

// Puts the history's demand into the actual demand of its sales points and periods, and keeps
// the names it gives them for the results. A block takes its sales points as sales points
// 1, 2, ..., as a file holding them alone would give them.
void FillActualDemand(const SalesHistory& history, SalesPointBlock block, RunState& state);

}  // namespace sf
