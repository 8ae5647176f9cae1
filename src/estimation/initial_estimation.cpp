#include "estimation/initial_estimation.h"

namespace sf {

void EstimateInitialMeanAndDeviation(RunState&) {}

void EstimateInitialConstants(RunState&, RunObserver&) {}

}  // namespace sf
