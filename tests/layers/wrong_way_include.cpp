// Built only by the layer test, against the demand models' library: the run driver sits above
// demand, so this include must not be found.
#include "run/run_driver.h"
