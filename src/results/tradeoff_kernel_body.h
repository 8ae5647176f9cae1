// The trade-off kernel, compiled once per instruction set: the including file defines
// SF_TRADEOFF_KERNEL_NAME and SF_TRADEOFF_VECTOR_WIDTH, the doubles in one native vector.
#include <cstring>

#include "outcome/period_outcome.h"
#include "results/tradeoff_kernel.h"

namespace sf {
namespace {

// Several taus side by side, one per lane. Held in plain arrays of doubles and moved with
// memcpy, which needs no alignment.
constexpr std::size_t kWidth = SF_TRADEOFF_VECTOR_WIDTH;
static_assert(kTradeoffBlock % kWidth == 0);
using OutcomeVector = double __attribute__((vector_size(kWidth * sizeof(double))));

inline __attribute__((always_inline)) OutcomeVector Load(const double* from) {
    OutcomeVector value;
    std::memcpy(&value, from, sizeof value);
    return value;
}

inline __attribute__((always_inline)) void Add(double* to, OutcomeVector value) {
    const OutcomeVector sum = Load(to) + value;
    std::memcpy(to, &sum, sizeof sum);
}

}  // namespace

void SF_TRADEOFF_KERNEL_NAME(const double* forecast, const double* sigma, const double* demand,
                             int periods, const std::vector<double>& taus, SumsByTau& total) {
    const OutcomeVector zero{};
    for (std::size_t lane = 0; lane < taus.size(); lane += kWidth) {
        const OutcomeVector tau = Load(&taus[lane]);
        OutcomeVector lostSales{}, returns{}, deliveries{}, sales{}, withoutLostSale{};
        for (int at = 0; at < periods; ++at) {
            const PeriodOutcome<OutcomeVector> outcome =
                OutcomeOfPeriod(zero + forecast[at], zero + sigma[at], tau, zero + demand[at]);
            lostSales = lostSales + outcome.lostSale;
            returns = returns + outcome.returned;
            sales = sales + outcome.sales;
            deliveries = deliveries + outcome.delivery;
            withoutLostSale = withoutLostSale + (outcome.lostSale == zero ? zero + 1.0 : zero);
        }
        Add(&total.lostSales[lane], lostSales);
        Add(&total.returns[lane], returns);
        Add(&total.sales[lane], sales);
        Add(&total.deliveries[lane], deliveries);
        Add(&total.periodsWithoutLostSale[lane], withoutLostSale);
    }
}

}  // namespace sf
