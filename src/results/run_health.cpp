#include "results/run_health.h"

#include <algorithm>
#include <span>

#include "results/divergence.h"
#include "state/period_stretches.h"

namespace sf {
namespace {

// Enough sales points to find them, not a line of a hundred numbers.
constexpr std::size_t kNamedSalesPoints = 5;

std::span<const double> Over(const Matrix& matrix, int salesPoint, const PeriodStretch& stretch) {
    if (stretch.Empty()) {
        return {};
    }
    return {matrix.Row(salesPoint).data() + stretch.first,
            static_cast<std::size_t>(stretch.Length())};
}

DemandBand BandOf(const RunState& state, int salesPoint) {
    return BandOfDemand(Over(state.actualDemand, salesPoint, {1, state.periodNumber}));
}

std::string SalesPointCount(int count) {
    return std::to_string(count) + (count == 1 ? " sound sales point" : " sound sales points");
}

}  // namespace

bool ForecastsDiverged(const RunState& state, int salesPoint) {
    const DemandBand band = BandOf(state, salesPoint);
    const PeriodStretch outcome = OutcomeWindow(state);
    const PeriodStretch rolling = RollingStretch(state);
    return Diverged(band, Over(state.mu, salesPoint, outcome),
                    Over(state.sigma, salesPoint, outcome)) ||
           Diverged(band, Over(state.forecastAsForecast, salesPoint, rolling),
                    Over(state.sigmaAsForecast, salesPoint, rolling));
}

RunHealth AssessRunHealth(const RunState& state) {
    RunHealth health;
    health.salesPointCount = state.salesPointCount;
    const PeriodStretch outcome = OutcomeWindow(state);
    const PeriodStretch rolling = RollingStretch(state);
    const PeriodStretch constants = ConstantsStretch(state);
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        if (ForecastsDiverged(state, sp)) {
            health.divergedSalesPoints.push_back(sp);
            continue;
        }
        const DemandBand band = BandOf(state, sp);
        health.soundConstantsLeft01 +=
            LeftZeroToOne(Over(state.alphaUsed, sp, constants), Over(state.betaUsed, sp, constants))
                ? 1
                : 0;
        health.soundNegativeSigma +=
            NegativeSigmaPeriods(band, Over(state.sigma, sp, outcome)) > 0 ||
                    NegativeSigmaPeriods(band, Over(state.sigmaAsForecast, sp, rolling)) > 0
                ? 1
                : 0;
    }
    health.windowsCoverEveryPeriod = rolling.Empty();
    health.seasonLength = state.season.length;
    health.seasonFlatSalesPoints = state.season.flatSalesPoints;
    health.horizonZero = state.horizon == 0;
    return health;
}

std::vector<std::string> HealthWarnings(const RunHealth& health, std::string_view boundedOption) {
    std::vector<std::string> warnings;
    const std::size_t diverged = health.divergedSalesPoints.size();
    if (diverged > 0) {
        std::string warning = "The forecasts of " + std::to_string(diverged) + " of " +
                              std::to_string(health.salesPointCount) +
                              " sales points diverged, far outside their demand: sales point";
        warning += diverged == 1 ? " " : "s ";
        const std::size_t named = std::min(diverged, kNamedSalesPoints);
        for (std::size_t at = 0; at < named; ++at) {
            warning += (at == 0 ? "" : ", ") + std::to_string(health.divergedSalesPoints[at]);
        }
        if (diverged > named) {
            warning += " and " + std::to_string(diverged - named) + " more";
        }
        warning += ". The sound rows and the trade-off leave them out. The option " +
                   std::string(boundedOption) + " keeps the constants within 0 and 1.";
        warnings.push_back(warning);
    }
    if (health.windowsCoverEveryPeriod) {
        warnings.push_back(
            "The periods for initial mu and sigma, for initial alpha and beta and the forecasting "
            "horizon cover every period of the run, so no rolling forecast was made.");
    }
    return warnings;
}

void JoinRunHealth(RunHealth& joined, const RunHealth& block, int first) {
    joined.salesPointCount += block.salesPointCount;
    for (const int salesPoint : block.divergedSalesPoints) {
        joined.divergedSalesPoints.push_back(first - 1 + salesPoint);
    }
    joined.windowsCoverEveryPeriod = block.windowsCoverEveryPeriod;
    joined.soundConstantsLeft01 += block.soundConstantsLeft01;
    joined.soundNegativeSigma += block.soundNegativeSigma;
    joined.horizonZero = block.horizonZero;
    joined.seasonLength = block.seasonLength;
    joined.seasonFlatSalesPoints += block.seasonFlatSalesPoints;
}

std::vector<std::string> HealthNotes(const RunHealth& health) {
    std::vector<std::string> notes;
    if (health.windowsCoverEveryPeriod) {
        notes.push_back(
            "as_forecast has no periods, as the estimation windows cover every period: the "
            "figures lead with as_reported.");
    }
    if (health.horizonZero) {
        notes.push_back(
            "With a forecasting horizon of 0 alpha fits to 1 and sigma to 0: the forecast is the "
            "last period's demand, and tau has no effect. The report's forecast of a period holds "
            "that period's own demand; as_forecast sets each delivery from the forecast of the "
            "period before.");
    }
    if (health.soundConstantsLeft01 > 0) {
        notes.push_back("The smoothing constants of " +
                        SalesPointCount(health.soundConstantsLeft01) +
                        " left 0 to 1 without their forecasts diverging (constants_left_0_1).");
    }
    if (health.soundNegativeSigma > 0) {
        notes.push_back("The sigma of " + SalesPointCount(health.soundNegativeSigma) +
                        " fell below 0 in some periods, where a larger tau gives a smaller "
                        "delivery (negative_sigma_periods).");
    }
    if (health.seasonFlatSalesPoints > 0) {
        const int flat = health.seasonFlatSalesPoints;
        notes.push_back(std::to_string(flat) + " of " + std::to_string(health.salesPointCount) +
                        " sales points show no season of " + std::to_string(health.seasonLength) +
                        " periods in periods 1..S (the autocorrelation at that lag is within "
                        "1.645 standard errors): " +
                        (flat == 1 ? "its season indices are 1." : "their season indices are 1."));
    }
    return notes;
}

}  // namespace sf
