#include "estimation/season_indices.h"

#include <cmath>
#include <cstddef>
#include <optional>

#include "state/period_stretches.h"

namespace sf {
namespace {

// The one-sided 5% point of the normal distribution.
constexpr double kSeasonTestQuantile = 1.645;

// The centred moving average at period index at (0-based) of the window, or none where it
// would reach outside it: M periods for an odd M; for an even M, 2 x M, the M + 1 periods
// around it with half weight at both ends.
std::optional<double> CentredAverage(std::span<const double> window, std::size_t at,
                                     std::size_t length) {
    const std::size_t half = length / 2;
    if (at < half || at + half >= window.size()) {
        return std::nullopt;
    }
    double sum = 0.0;
    if (length % 2 == 1) {
        for (std::size_t t = at - half; t <= at + half; ++t) {
            sum = sum + window[t];
        }
        return sum / static_cast<double>(length);
    }
    sum = 0.5 * window[at - half];
    for (std::size_t t = at - half + 1; t < at + half; ++t) {
        sum = sum + window[t];
    }
    sum = sum + 0.5 * window[at + half];
    return sum / static_cast<double>(length);
}

// Autocorrelation of the window at lag j about its mean, over the sum of squares c0.
double Autocorrelation(std::span<const double> window, double mean, double c0, std::size_t lag) {
    double sum = 0.0;
    for (std::size_t t = 0; t + lag < window.size(); ++t) {
        sum = sum + (window[t] - mean) * (window[t + lag] - mean);
    }
    return sum / c0;
}

std::vector<bool> ClosedPositions(std::span<const double> window, std::size_t length) {
    std::vector<bool> closed(length, true);
    for (std::size_t t = 0; t < window.size(); ++t) {
        if (window[t] != 0.0) {
            closed[t % length] = false;
        }
    }
    return closed;
}

SeasonIndices Flat(std::size_t length) {
    return {std::vector<double>(length, 1.0), true};
}

}  // namespace

bool WindowShowsSeason(std::span<const double> window, int length) {
    const auto lag = static_cast<std::size_t>(length);
    if (length < 1 || window.size() <= lag) {
        return false;
    }
    double mean = 0.0;
    for (const double demand : window) {
        mean = mean + demand;
    }
    mean = mean / static_cast<double>(window.size());
    double c0 = 0.0;
    for (const double demand : window) {
        c0 = c0 + (demand - mean) * (demand - mean);
    }
    if (!(c0 > 0.0) || !std::isfinite(c0)) {
        return false;  // a constant window shows nothing
    }
    double squares = 0.0;
    for (std::size_t j = 1; j < lag; ++j) {
        const double r = Autocorrelation(window, mean, c0, j);
        squares = squares + r * r;
    }
    const double standardError =
        std::sqrt((1.0 + 2.0 * squares) / static_cast<double>(window.size()));
    return Autocorrelation(window, mean, c0, lag) > kSeasonTestQuantile * standardError;
}

SeasonIndices ComputeSeasonIndices(std::span<const double> window, int length) {
    const auto m = static_cast<std::size_t>(length);
    const std::vector<bool> closed = ClosedPositions(window, m);
    bool anyClosed = false;
    bool allClosed = true;
    for (const bool shut : closed) {
        anyClosed = anyClosed || shut;
        allClosed = allClosed && shut;
    }
    // A sales point without any demand has no pattern to follow.
    if (allClosed || (!anyClosed && !WindowShowsSeason(window, length))) {
        return Flat(m);
    }
    std::vector<double> ratioSum(m, 0.0);
    std::vector<int> ratios(m, 0);
    for (std::size_t t = 0; t < window.size(); ++t) {
        const std::optional<double> average = CentredAverage(window, t, m);
        // An average of no demand gives no ratio.
        if (average && *average > 0.0) {
            ratioSum[t % m] = ratioSum[t % m] + window[t] / *average;
            ++ratios[t % m];
        }
    }
    SeasonIndices season{std::vector<double>(m, 0.0), false};
    double total = 0.0;
    for (std::size_t k = 0; k < m; ++k) {
        if (!closed[k]) {
            season.indices[k] = ratios[k] > 0 ? ratioSum[k] / ratios[k] : 1.0;
        }
        total = total + season.indices[k];
    }
    for (std::size_t k = 0; k < m; ++k) {
        season.indices[k] = season.indices[k] * static_cast<double>(m) / total;
        // Demand below zero can leave an open position without a usable index.
        if (!closed[k] && !(season.indices[k] > 0.0 && std::isfinite(season.indices[k]))) {
            return Flat(m);
        }
    }
    return season;
}

void AdjustDemandForSeason(RunState& state, int length) {
    SeasonState& season = state.season;
    season.Clear();
    if (!SeasonSet(length)) {
        return;
    }
    const int p = state.periodNumber;
    const PeriodStretch window = InitialisationWindow(state);
    season.length = length;
    season.periodSlots = p + 1;
    season.indices.assign(static_cast<std::size_t>(state.salesPointCount * length), 1.0);
    season.givenDemand.assign(static_cast<std::size_t>(state.salesPointCount * (p + 1)), 0.0);
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        PeriodRow<double> demand = state.actualDemand.Row(sp);
        for (int t = 1; t <= p; ++t) {
            season.GivenDemand(sp, t) = demand[t];
        }
        const SeasonIndices found = ComputeSeasonIndices(
            std::span<const double>(&demand[window.first], window.Length()), length);
        season.flatSalesPoints += found.flat ? 1 : 0;
        for (int k = 0; k < length; ++k) {
            season.indices[static_cast<std::size_t>((sp - 1) * length + k)] =
                found.indices[static_cast<std::size_t>(k)];
        }
        int firstOpen = 1;
        while (season.Index(sp, firstOpen) == 0.0) {
            ++firstOpen;  // the window holds every position, so an open one comes
        }
        const double openStart = season.GivenDemand(sp, firstOpen) / season.Index(sp, firstOpen);
        for (int t = 1; t <= p; ++t) {
            const double index = season.Index(sp, t);
            if (index != 0.0) {
                demand[t] = season.GivenDemand(sp, t) / index;
            } else {
                demand[t] = t < firstOpen ? openStart : demand[t - 1];
            }
        }
    }
}

}  // namespace sf
