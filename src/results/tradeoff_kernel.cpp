#include "results/tradeoff_kernel.h"

#include "runtime/kernel_set.h"

namespace sf {

void AddSalesPointPortable(const double* forecast, const double* sigma, const double* demand,
                           int periods, const std::vector<double>& taus, SumsByTau& total);
#if defined(__x86_64__)
void AddSalesPointAvx2(const double* forecast, const double* sigma, const double* demand,
                       int periods, const std::vector<double>& taus, SumsByTau& total);
#endif

const KernelSet<NamedTradeoffKernel>& TradeoffKernels() {
    static const KernelSet<NamedTradeoffKernel> kernels("trade-off kernel", {
#if defined(__x86_64__)
        {InstructionSet::avx2, {"avx2", AddSalesPointAvx2}},
#endif
            {InstructionSet::portable, {"portable", AddSalesPointPortable}},
    });
    return kernels;
}

}  // namespace sf
