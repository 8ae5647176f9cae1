#pragma once

#include "state/run_inputs.h"

namespace sf {

// What a scenario keeps: the boxes as typed, the model, and the options that change what a run
// computes. How and where a run is made (the report's path, the number of runs) is not part of
// it.
struct Scenario {
    RunInputs inputs;
    bool boundedConstants = false;
};

}  // namespace sf
