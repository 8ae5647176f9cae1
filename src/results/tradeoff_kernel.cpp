#include "results/tradeoff_kernel.h"

#include <array>

namespace sf {

void AddSalesPointPortable(const double* forecast, const double* sigma, const double* demand,
                           int periods, const std::vector<double>& taus, SumsByTau& total);
#if defined(__x86_64__)
void AddSalesPointAvx2(const double* forecast, const double* sigma, const double* demand,
                       int periods, const std::vector<double>& taus, SumsByTau& total);
#endif

std::span<const NamedTradeoffKernel> SupportedTradeoffKernels() {
    static const auto kernels = [] {
        std::array<NamedTradeoffKernel, 2> list{};
        std::size_t count = 0;
#if defined(__x86_64__)
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2")) {
            list[count++] = {"avx2", AddSalesPointAvx2};
        }
#endif
        list[count++] = {"portable", AddSalesPointPortable};
        return std::pair{list, count};
    }();
    return {kernels.first.data(), kernels.second};
}

}  // namespace sf
