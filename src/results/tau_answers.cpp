#include "results/tau_answers.h"

#include <cmath>
#include <numbers>

#include "results/number_cells.h"

namespace sf {
namespace {

constexpr double kTauTolerance = 1e-9;

// Phi^-1(p) for 0 < p < 1: a rational first guess within about 1e-9 (P. J. Acklam's), then one
// Halley step on the normal distribution as erfc gives it, which brings it to about 1e-15.
double StandardNormalQuantile(double p) {
    constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                            1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
    constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                            6.680131188771972e+01, -1.328068155288572e+01};
    constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                            -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
    constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                            3.754408661907416e+00};
    constexpr double tail = 0.02425;
    auto tailGuess = [&](double q) {
        return (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
    };
    double x;
    if (p < tail) {
        x = tailGuess(std::sqrt(-2.0 * std::log(p)));
    } else if (p > 1.0 - tail) {
        x = -tailGuess(std::sqrt(-2.0 * std::log1p(-p)));
    } else {
        const double q = p - 0.5;
        const double r = q * q;
        x = (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
            (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1.0);
    }
    const double error = 0.5 * std::erfc(-x / std::sqrt(2.0)) - p;
    const double u = error * std::sqrt(2.0 * std::numbers::pi) * std::exp(x * x / 2.0);
    return x - u / (1.0 + x * u / 2.0);
}

bool Reaches(const std::optional<double>& rate, double target) {
    return rate && *rate >= target;
}

bool AnySigmaBelowZero(const RunSeries& series, Evaluation evaluation,
                       const SalesPointChoice& chosen) {
    const PeriodStretch stretch = series.Stretch(evaluation);
    for (std::size_t at = 0; at < series.salesPoints.size(); ++at) {
        const PeriodSeries& sigma = series.salesPoints[at].Of(evaluation).sigma;
        for (int t = stretch.first; chosen[at] && t <= stretch.last; ++t) {
            if (*sigma.At(t) < 0.0) {
                return true;
            }
        }
    }
    return false;
}

bool RisesWithTau(const std::vector<TradeoffRow>& rows, const TargetRate& rate) {
    for (std::size_t k = 1; k < rows.size(); ++k) {
        if (*(rows[k].*rate.value) < *(rows[k - 1].*rate.value)) {
            return false;
        }
    }
    return true;
}

}  // namespace

TargetAnswer AnswerTarget(const RunSeries& series, Evaluation evaluation,
                          const SalesPointChoice& chosen, const std::vector<TradeoffRow>& rows,
                          const TargetRate& rate, double target) {
    TargetAnswer answer;
    answer.target = target;
    const auto rateAt = [&rate](const TradeoffRow& row) { return row.*rate.value; };
    const std::string name(rate.name);
    if (rows.empty() || !rateAt(rows.front())) {
        answer.note = rate.missing;
        return answer;
    }
    std::size_t reaching = 0;
    while (reaching < rows.size() && !Reaches(rateAt(rows[reaching]), target)) {
        ++reaching;
    }
    if (reaching == rows.size()) {
        std::size_t best = 0;
        for (std::size_t k = 1; k < rows.size(); ++k) {
            best = *rateAt(rows[k]) > *rateAt(rows[best]) ? k : best;
        }
        answer.note = "no tau of the grid reaches it; the highest " + name + " is " +
                      ShortestText(*rateAt(rows[best])) + " at tau " + ShortestText(rows[best].tau);
        return answer;
    }
    answer.tau = rows[reaching].tau;
    answer.rate = rateAt(rows[reaching]);
    if (!RisesWithTau(rows, rate) || AnySigmaBelowZero(series, evaluation, chosen)) {
        answer.note = "the " + name +
                      " need not rise with tau in this run (a sigma is below 0), so this is the "
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
        const double taus[] = {mid};
        const std::optional<double> rateAtMid =
            rateAt(ComputeTradeoff(series, evaluation, chosen, taus, std::nullopt).front());
        if (Reaches(rateAtMid, target)) {
            hi = mid;
            answer.rate = rateAtMid;
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

std::optional<double> CostRatio(const OutcomeCosts& costs) {
    if (!(costs.lostSale > 0.0 && costs.returned > 0.0)) {
        return std::nullopt;
    }
    return costs.lostSale / (costs.lostSale + costs.returned);
}

NormalTheoryAnswer NormalTheoryTau(const OutcomeCosts& costs) {
    const std::optional<double> ratio = CostRatio(costs);
    if (!ratio) {
        return {std::nullopt, "the normal-theory tau needs both costs above 0"};
    }
    if (!(*ratio > 0.0 && *ratio < 1.0)) {
        return {std::nullopt,
                "one cost is so much larger than the other that no tau balances them"};
    }
    return {StandardNormalQuantile(*ratio), ""};
}

}  // namespace sf
