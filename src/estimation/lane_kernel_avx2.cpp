#include <immintrin.h>

#define SF_LANE_KERNEL_NAME EvaluateLanesAvx2
#define SF_LANE_GROUPS_NAME EvaluateLaneGroupsAvx2
#define SF_LANE_STEP_NAME StepLaneSearchesAvx2
#define SF_LANE_VECTOR_WIDTH 4
#define SF_LANE_FUSED(x, y, z)                    \
    reinterpret_cast<LaneVector>(_mm256_fmadd_pd( \
        reinterpret_cast<__m256d>(x), reinterpret_cast<__m256d>(y), reinterpret_cast<__m256d>(z)))
#include "estimation/lane_kernel_body.h"
