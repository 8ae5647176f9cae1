#define SF_TRADEOFF_KERNEL_NAME AddSalesPointPortable
#define SF_TRADEOFF_VECTOR_WIDTH 2
#include "results/tradeoff_kernel_body.h"
