#include "runtime/kernel_set.h"

namespace sf {

bool ProcessorRuns(InstructionSet set) {
#if defined(__x86_64__)
    __builtin_cpu_init();
    switch (set) {
        case InstructionSet::avx512:
            // The kernels compiled for it use all three.
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
                   __builtin_cpu_supports("avx512vl");
        case InstructionSet::avx2:
            // Its lane kernel divides with fused multiply-adds.
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
        case InstructionSet::portable:
            break;
    }
#endif
    return set == InstructionSet::portable;
}

}  // namespace sf
