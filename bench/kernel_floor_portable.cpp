#define SF_FLOOR_NAME KernelEvaluationsPortable
#define SF_FLOOR_WIDTH 2
#include "kernel_floor_body.h"
