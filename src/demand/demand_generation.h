#pragma once

#include "runtime/number_locale.h"
#include "runtime/report_file.h"
#include "runtime/uniform_source.h"
#include "state/run_state.h"

namespace sf {

// Draws every sales point's parameters (writing one parameter line each), then the actual
// demand of every sales point and period for the selected model.
void GenerateDemand(RunState& state, UniformSource& source, ReportFile& report,
                    const NumberLocale& locale);

}  // namespace sf
