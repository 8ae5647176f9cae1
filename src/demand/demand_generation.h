#pragma once

#include "runtime/uniform_source.h"
#include "state/run_state.h"

namespace sf {

// Draws both parameters of every sales point of the selected model between its limits, before
// any demand is generated.
void DrawParameters(RunState& state, UniformSource& source);

// The actual demand of every sales point and period from the drawn parameters (and, for the
// Poisson models, the mean it is drawn around).
void GenerateDemand(RunState& state, UniformSource& source);

}  // namespace sf
