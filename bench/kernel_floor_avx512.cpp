#include <immintrin.h>

#define SF_FLOOR_NAME KernelEvaluationsAvx512
#define SF_FLOOR_WIDTH 8
#define SF_FLOOR_FUSED(x, y, z)              \
    reinterpret_cast<Lanes>(_mm512_fmadd_pd( \
        reinterpret_cast<__m512d>(x), reinterpret_cast<__m512d>(y), reinterpret_cast<__m512d>(z)))
#include "kernel_floor_body.h"
