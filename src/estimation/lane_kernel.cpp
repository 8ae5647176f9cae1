#include "estimation/lane_kernel.h"

#include "runtime/kernel_set.h"

namespace sf {

void EvaluateLanesPortable(const LaneKernelArgs& args);
void EvaluateLaneGroupsPortable(const LaneKernelArgs* groups, int count);
void StepLaneSearchesPortable(LaneSearches& searches, const double* values);
#if defined(__x86_64__)
void EvaluateLanesAvx2(const LaneKernelArgs& args);
void EvaluateLaneGroupsAvx2(const LaneKernelArgs* groups, int count);
void StepLaneSearchesAvx2(LaneSearches& searches, const double* values);
void EvaluateLanesAvx512(const LaneKernelArgs& args);
void EvaluateLaneGroupsAvx512(const LaneKernelArgs* groups, int count);
void StepLaneSearchesAvx512(LaneSearches& searches, const double* values);
#endif

const KernelSet<NamedLaneKernel>& LaneKernels() {
    static const KernelSet<NamedLaneKernel> kernels("lane kernel", {
#if defined(__x86_64__)
        {InstructionSet::avx512,
         {"avx512", EvaluateLanesAvx512, EvaluateLaneGroupsAvx512, StepLaneSearchesAvx512}},
            {InstructionSet::avx2,
             {"avx2", EvaluateLanesAvx2, EvaluateLaneGroupsAvx2, StepLaneSearchesAvx2}},
#endif
            {InstructionSet::portable,
             {"portable", EvaluateLanesPortable, EvaluateLaneGroupsPortable,
              StepLaneSearchesPortable}},
    });
    return kernels;
}

void StartLaneSearch(LaneSearches& searches, int lane, double ax, double bx, double cx) {
    searches.a[lane] = ax < cx ? ax : cx;
    searches.b[lane] = ax > cx ? ax : cx;
    searches.x[lane] = bx;
    searches.w[lane] = bx;
    searches.v[lane] = bx;
    searches.fx[lane] = 0.0;
    searches.fw[lane] = 0.0;
    searches.fv[lane] = 0.0;
    searches.e[lane] = 0.0;
    searches.d[lane] = 0.0;
    searches.trial[lane] = bx;
    searches.iteration[lane] = 0.0;
    searches.searching[lane] = 1.0;
}

}  // namespace sf
