#include "results/divergence.h"

#include <algorithm>
#include <cmath>

namespace sf {
namespace {

constexpr double kRelativeReach = 1e-6;

bool Outside01(double constant) {
    return !(constant >= 0.0 && constant <= 1.0);
}

}  // namespace

DemandBand BandOfDemand(std::span<const double> demand) {
    if (demand.empty()) {
        return {};
    }
    const auto [lowest, highest] = std::minmax_element(demand.begin(), demand.end());
    const double lo = *lowest;
    const double hi = *highest;
    const double reach =
        std::max(hi - lo, kRelativeReach * std::max({1.0, std::fabs(lo), std::fabs(hi)}));
    return {lo - reach, hi + reach, reach};
}

bool Diverged(const DemandBand& band, std::span<const double> forecast,
              std::span<const double> sigma) {
    return std::ranges::any_of(forecast,
                               [&](double f) { return !(f >= band.low && f <= band.high); }) ||
           std::ranges::any_of(sigma, [&](double s) { return !(std::fabs(s) <= band.reach); });
}

int NegativeSigmaPeriods(const DemandBand& band, std::span<const double> sigma) {
    const double below = -kRelativeReach * band.reach;
    return static_cast<int>(std::ranges::count_if(sigma, [&](double s) { return s < below; }));
}

bool LeftZeroToOne(std::span<const double> alpha, std::span<const double> beta) {
    return std::ranges::any_of(alpha, Outside01) || std::ranges::any_of(beta, Outside01);
}

}  // namespace sf
