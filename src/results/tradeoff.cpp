#include "results/tradeoff.h"

#include <algorithm>
#include <cstring>

#include "outcome/period_outcome.h"
#include "results/ratio.h"

namespace sf {
namespace {

// Four taus side by side, one per lane. Held in plain arrays of doubles and moved with memcpy,
// which needs no alignment.
using OutcomeVector = double __attribute__((vector_size(4 * sizeof(double))));
using OutcomeMask = decltype(OutcomeVector{} < OutcomeVector{});
constexpr std::size_t kWidth = 4;

template <typename Vector>
inline __attribute__((always_inline)) Vector Load(const double* from) {
    Vector value;
    std::memcpy(&value, from, sizeof value);
    return value;
}

template <typename Vector>
inline __attribute__((always_inline)) void Add(double* to, Vector value) {
    const Vector sum = Load<Vector>(to) + value;
    std::memcpy(to, &sum, sizeof sum);
}

// The sums of every tau; the taus of a last, partial block of kWidth are repeated and their
// sums left unread.
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

// One sales point's outcome window for every block of taus, each block's sums kept in registers
// over the periods, then added to the totals: the order of the run's own sums. Built for AVX2 as
// well, chosen when the processor has it; the lanes' operations are the same either way.
__attribute__((target_clones("avx2", "default"))) void AddSalesPoint(
    const double* forecast, const double* sigma, const double* demand, int periods,
    const std::vector<double>& taus, SumsByTau& total) {
    const OutcomeVector zero{};
    for (std::size_t lane = 0; lane < taus.size(); lane += kWidth) {
        const OutcomeVector tau = Load<OutcomeVector>(&taus[lane]);
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

}  // namespace

std::vector<TradeoffRow> ComputeTradeoff(const RunSeries& series, std::span<const double> taus,
                                         const std::optional<OutcomeCosts>& costs) {
    const std::size_t count = taus.size();
    std::vector<double> lanes((count + kWidth - 1) / kWidth * kWidth);
    for (std::size_t k = 0; k < lanes.size(); ++k) {
        lanes[k] = taus[std::min(k, count - 1)];
    }
    SumsByTau total(lanes.size());
    double demand = 0.0;
    double periods = 0.0;
    const int first = series.outcomeFirst;
    const int length = series.OutcomeLast() - first + 1;
    // A series' values from the first period of the outcome window on.
    auto window = [first](const PeriodSeries& column) {
        return &column.values[static_cast<std::size_t>(first - column.first)];
    };
    if (length > 0) {
        for (const SalesPointSeries& point : series.salesPoints) {
            const double* periodDemand = window(point.demand);
            double salesPointDemand = 0.0;
            for (int at = 0; at < length; ++at) {
                salesPointDemand = salesPointDemand + periodDemand[at];
            }
            demand = demand + salesPointDemand;
            periods += length;
            AddSalesPoint(window(point.forecast), window(point.sigma), periodDemand, length, lanes,
                          total);
        }
    }

    std::vector<TradeoffRow> rows(count);
    for (std::size_t k = 0; k < count; ++k) {
        TradeoffRow& row = rows[k];
        row.tau = taus[k];
        row.sales = total.sales[k];
        row.fillRate = Ratio(row.sales, demand);
        row.cycleServiceLevel = Ratio(total.periodsWithoutLostSale[k], periods);
        row.lostSales = total.lostSales[k];
        row.returns = total.returns[k];
        row.deliveries = total.deliveries[k];
        if (costs) {
            row.cost = costs->lostSale * row.lostSales + costs->returned * row.returns;
        }
        row.runTau = taus[k] == series.tau;
    }
    return rows;
}

}  // namespace sf
