#include "results/run_health.h"

#include <algorithm>

#include "state/period_stretches.h"

namespace sf {
namespace {

// Enough sales points to find them, not a line of a hundred numbers.
constexpr std::size_t kNamedSalesPoints = 5;

bool Outside01(double constant) {
    return !(constant >= 0.0 && constant <= 1.0);
}

}  // namespace

bool IsUnstable(const RunState& state, int salesPoint) {
    const PeriodStretch constants = ConstantsStretch(state);
    for (int t = constants.first; t <= constants.last; ++t) {
        if (Outside01(state.alphaUsed(salesPoint, t)) || Outside01(state.betaUsed(salesPoint, t))) {
            return true;
        }
    }
    const PeriodStretch outcome = OutcomeWindow(state);
    for (int t = outcome.first; t <= outcome.last; ++t) {
        if (state.sigma(salesPoint, t) < 0.0) {
            return true;
        }
    }
    return false;
}

RunHealth AssessRunHealth(const RunState& state) {
    RunHealth health;
    health.salesPointCount = state.salesPointCount;
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        if (IsUnstable(state, sp)) {
            health.unstableSalesPoints.push_back(sp);
        }
    }
    health.windowsCoverEveryPeriod = RollingStretch(state).Empty();
    return health;
}

std::vector<std::string> HealthWarnings(const RunHealth& health, std::string_view boundedOption) {
    std::vector<std::string> warnings;
    const std::size_t unstable = health.unstableSalesPoints.size();
    if (unstable > 0) {
        std::string warning =
            "The smoothing constants of " + std::to_string(unstable) + " of " +
            std::to_string(health.salesPointCount) +
            " sales points left 0 to 1 or their sigma fell below 0, so their forecasts "
            "may diverge: sales point";
        warning += unstable == 1 ? " " : "s ";
        const std::size_t named = std::min(unstable, kNamedSalesPoints);
        for (std::size_t at = 0; at < named; ++at) {
            warning += (at == 0 ? "" : ", ") + std::to_string(health.unstableSalesPoints[at]);
        }
        if (unstable > named) {
            warning += " and " + std::to_string(unstable - named) + " more";
        }
        warning +=
            ". The option " + std::string(boundedOption) + " keeps the constants within 0 and 1.";
        warnings.push_back(warning);
    }
    if (health.windowsCoverEveryPeriod) {
        warnings.push_back(
            "The periods for initial mu and sigma, for initial alpha and beta and the forecasting "
            "horizon cover every period of the run, so no rolling forecast was made.");
    }
    return warnings;
}

}  // namespace sf
