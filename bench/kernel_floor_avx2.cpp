#include <immintrin.h>

#define SF_FLOOR_NAME KernelEvaluationsAvx2
#define SF_FLOOR_WIDTH 4
#define SF_FLOOR_FUSED(x, y, z)              \
    reinterpret_cast<Lanes>(_mm256_fmadd_pd( \
        reinterpret_cast<__m256d>(x), reinterpret_cast<__m256d>(y), reinterpret_cast<__m256d>(z)))
#include "kernel_floor_body.h"
