#define SF_LANE_KERNEL_NAME EvaluateLanesAvx512
#define SF_LANE_GROUPS_NAME EvaluateLaneGroupsAvx512
#define SF_LANE_STEP_NAME StepLaneSearchesAvx512
#define SF_LANE_VECTOR_WIDTH 8
#include "estimation/lane_kernel_body.h"
