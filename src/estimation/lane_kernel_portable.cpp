#define SF_LANE_KERNEL_NAME EvaluateLanesPortable
#define SF_LANE_GROUPS_NAME EvaluateLaneGroupsPortable
#define SF_LANE_STEP_NAME StepLaneSearchesPortable
#define SF_LANE_VECTOR_WIDTH 2
#include "estimation/lane_kernel_body.h"
