#define SF_LANE_KERNEL_NAME EvaluateLanesAvx2
#define SF_LANE_GROUPS_NAME EvaluateLaneGroupsAvx2
#define SF_LANE_STEP_NAME StepLaneSearchesAvx2
#define SF_LANE_VECTOR_WIDTH 4
#include "estimation/lane_kernel_body.h"
