#pragma once

#include "state/run_state.h"

namespace sf {

// The squared-error criteria of a trial constant over the window S + 1..windowEnd of one sales
// point. Each writes its trial constant and its recomputed series over the whole window into
// the state: the callers rely on what the last evaluation left there.
double AlphaObjective(RunState& state, double trial, int salesPoint, int windowEnd);
// Measures against mu as it stands, that is as the last alpha trial left it.
double BetaObjective(RunState& state, double trial, int salesPoint, int windowEnd);

// Stops the run at the first period of the window whose series or error is not finite.
[[noreturn]] void FailOnNonFiniteCriterion(PeriodRow<const double> series,
                                           PeriodRow<const double> errors, int salesPoint,
                                           int first, int last, const char* seriesName);

}  // namespace sf
