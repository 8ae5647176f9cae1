#pragma once

#include "results/run_results.h"
#include "state/run_options.h"
#include "state/run_state.h"

namespace sf {

// The results of a complete run with its proposals: every sales point any of whose coming rows
// diverged is run again alone on the same demand with the constants kept within 0 and 1, and
// proposes that run's coming deliveries, unless they diverge too. The method treats each sales
// point on its own, so the sales points run again share one state, each as a sales history of
// its one column would run. The state is not touched.
RunResults CompleteResults(const RunState& state, const ResultsRequest& request,
                           const RunOptions& options);

// The proposals alone, into results computed from the state.
void ProposeDeliveries(const RunState& state, const RunOptions& options, RunResults& results);

}  // namespace sf
