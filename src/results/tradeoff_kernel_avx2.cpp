#define SF_TRADEOFF_KERNEL_NAME AddSalesPointAvx2
#define SF_TRADEOFF_VECTOR_WIDTH 4
#include "results/tradeoff_kernel_body.h"
