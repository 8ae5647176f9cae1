#include "estimation/lane_kernel.h"

#include <array>
#include <string>

#include "runtime/run_error.h"

namespace sf {

void EvaluateLanesPortable(const LaneKernelArgs& args);
void StepLaneSearchesPortable(LaneSearches& searches, const double* values);
#if defined(__x86_64__)
void EvaluateLanesAvx2(const LaneKernelArgs& args);
void StepLaneSearchesAvx2(LaneSearches& searches, const double* values);
void EvaluateLanesAvx512(const LaneKernelArgs& args);
void StepLaneSearchesAvx512(LaneSearches& searches, const double* values);
#endif

namespace {

struct KernelList {
    std::array<NamedLaneKernel, 3> kernels{};
    int count = 0;
};

KernelList FindSupportedKernels() {
    KernelList list;
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) {
        list.kernels[list.count++] = {"avx512", EvaluateLanesAvx512, StepLaneSearchesAvx512};
    }
    if (__builtin_cpu_supports("avx2")) {
        list.kernels[list.count++] = {"avx2", EvaluateLanesAvx2, StepLaneSearchesAvx2};
    }
#endif
    list.kernels[list.count++] = {"portable", EvaluateLanesPortable, StepLaneSearchesPortable};
    return list;
}

const KernelList& SupportedKernels() {
    static const KernelList list = FindSupportedKernels();
    return list;
}

}  // namespace

const NamedLaneKernel* SupportedLaneKernels(int& count) {
    count = SupportedKernels().count;
    return SupportedKernels().kernels.data();
}

const NamedLaneKernel& FastestLaneKernel() {
    return SupportedKernels().kernels[0];
}

const NamedLaneKernel& LaneKernelNamed(std::string_view name) {
    if (name.empty()) {
        return FastestLaneKernel();
    }
    const KernelList& list = SupportedKernels();
    for (int at = 0; at < list.count; ++at) {
        if (list.kernels[at].name == name) {
            return list.kernels[at];
        }
    }
    throw RunError("This processor has no lane kernel named \"" + std::string(name) + "\"");
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
