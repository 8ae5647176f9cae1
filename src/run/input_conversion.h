#pragma once

#include "runtime/number_locale.h"
#include "state/run_inputs.h"
#include "state/run_state.h"

namespace sf {

// Converts every box in the run's order and checks the values that would otherwise stop a run
// part-way; writes them into the state. The first bad box is reported as a RunError in the
// words of its label, before the report file is touched.
void ConvertInputs(const RunInputs& inputs, const NumberLocale& locale, RunState& state);

}  // namespace sf
