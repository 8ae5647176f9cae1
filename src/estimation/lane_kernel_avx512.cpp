#include <immintrin.h>

#define SF_LANE_KERNEL_NAME EvaluateLanesAvx512
#define SF_LANE_GROUPS_NAME EvaluateLaneGroupsAvx512
#define SF_LANE_STEP_NAME StepLaneSearchesAvx512
#define SF_LANE_VECTOR_WIDTH 8
#define SF_LANE_FUSED(x, y, z)                    \
    reinterpret_cast<LaneVector>(_mm512_fmadd_pd( \
        reinterpret_cast<__m512d>(x), reinterpret_cast<__m512d>(y), reinterpret_cast<__m512d>(z)))
#include "estimation/lane_kernel_body.h"
