#pragma once

#include <cstddef>
#include <vector>

namespace sf {

// Declared only: the kernel files, each compiled for its own instruction set, include this
// header and need none of the set's code (runtime/kernel_set.h).
template <class Kernel>
class KernelSet;

// The taus are taken in blocks of four, a last partial block filled with repeats.
inline constexpr std::size_t kTradeoffBlock = 4;

// The sums of every tau of the padded grid.
struct SumsByTau {
    explicit SumsByTau(std::size_t lanes)
        : lostSales(lanes),
          returns(lanes),
          deliveries(lanes),
          sales(lanes),
          periodsWithoutLostSale(lanes) {}

    std::vector<double> lostSales;
    std::vector<double> returns;
    std::vector<double> deliveries;
    std::vector<double> sales;
    std::vector<double> periodsWithoutLostSale;  // whole numbers
};

// Adds one sales point's outcome window, for every tau, to the sums: each tau's sums over the
// periods first, then added to the totals, the order of the run's own sums. Compiled once per
// instruction set; every lane takes the run's own operations, so each gives the same bits.
using TradeoffKernel = void (*)(const double* forecast, const double* sigma, const double* demand,
                                int periods, const std::vector<double>& taus, SumsByTau& total);

struct NamedTradeoffKernel {
    const char* name;
    TradeoffKernel addSalesPoint;
};

// The trade-off kernels of every instruction set this processor has.
const KernelSet<NamedTradeoffKernel>& TradeoffKernels();

}  // namespace sf
