#include "results/tau_answers.h"

#include <cmath>

#include "results/number_cells.h"

namespace sf {
namespace {

constexpr double kTauTolerance = 1e-9;

bool Reaches(const std::optional<double>& fillRate, double target) {
    return fillRate && *fillRate >= target;
}

std::optional<double> FillRateAt(const RunSeries& series, double tau) {
    const double taus[] = {tau};
    return ComputeTradeoff(series, taus, std::nullopt).front().fillRate;
}

bool AnySigmaBelowZero(const RunSeries& series) {
    for (const SalesPointSeries& point : series.salesPoints) {
        for (int t = series.outcomeFirst; t <= series.OutcomeLast(); ++t) {
            if (*point.sigma.At(t) < 0.0) {
                return true;
            }
        }
    }
    return false;
}

bool RisesWithTau(const std::vector<TradeoffRow>& rows) {
    for (std::size_t k = 1; k < rows.size(); ++k) {
        if (*rows[k].fillRate < *rows[k - 1].fillRate) {
            return false;
        }
    }
    return true;
}

}  // namespace

TargetAnswer AnswerTargetFillRate(const RunSeries& series, const std::vector<TradeoffRow>& rows,
                                  double target) {
    TargetAnswer answer;
    answer.target = target;
    if (rows.empty() || !rows.front().fillRate) {
        answer.note = "the run has no demand in its outcome window, so it has no fill rate";
        return answer;
    }
    std::size_t reaching = 0;
    while (reaching < rows.size() && !Reaches(rows[reaching].fillRate, target)) {
        ++reaching;
    }
    if (reaching == rows.size()) {
        std::size_t best = 0;
        for (std::size_t k = 1; k < rows.size(); ++k) {
            best = *rows[k].fillRate > *rows[best].fillRate ? k : best;
        }
        answer.note = "no tau of the grid reaches it; the highest fill rate is " +
                      ShortestText(*rows[best].fillRate) + " at tau " +
                      ShortestText(rows[best].tau);
        return answer;
    }
    answer.tau = rows[reaching].tau;
    answer.fillRate = rows[reaching].fillRate;
    if (!RisesWithTau(rows) || AnySigmaBelowZero(series)) {
        answer.note =
            "the fill rate need not rise with tau in this run (a sigma is below 0), so this is the "
            "smallest tau of the grid that reaches it";
        return answer;
    }
    if (reaching == 0) {
        answer.note = "the grid's first tau already reaches it; a smaller tau may too";
        return answer;
    }
    // lo never reaches the target, hi always does.
    double lo = rows[reaching - 1].tau;
    double hi = rows[reaching].tau;
    while (hi - lo > kTauTolerance) {
        const double mid = lo + (hi - lo) / 2.0;
        if (mid <= lo || mid >= hi) {
            break;  // taus so large that no double lies between
        }
        const std::optional<double> fillRate = FillRateAt(series, mid);
        if (Reaches(fillRate, target)) {
            hi = mid;
            answer.fillRate = fillRate;
        } else {
            lo = mid;
        }
    }
    answer.tau = hi;
    return answer;
}

std::optional<CostAnswer> CheapestTau(const std::vector<TradeoffRow>& rows) {
    std::optional<CostAnswer> cheapest;
    bool overflowed = false;
    for (const TradeoffRow& row : rows) {
        if (!row.cost) {
            continue;
        }
        overflowed = overflowed || !std::isfinite(*row.cost);
        if (std::isfinite(*row.cost) && (!cheapest || *row.cost < cheapest->cost)) {
            cheapest = CostAnswer{row.tau, *row.cost, ""};
        }
    }
    if (cheapest && overflowed) {
        cheapest->note = "the cost of some taus is too large to hold and is left empty";
    }
    return cheapest;
}

}  // namespace sf
