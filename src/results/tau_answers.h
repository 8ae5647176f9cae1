#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "results/run_series.h"
#include "results/tradeoff.h"

namespace sf {

// A share of the trade-off that a planner sets a target for; it rises with tau while no sigma is
// below 0.
struct TargetRate {
    std::string_view name;     // in the notes
    std::string_view missing;  // why the chosen sales points give none
    std::optional<double> TradeoffRow::*value;
};

inline constexpr TargetRate kFillRateTarget = {
    "fill rate", "the sound sales points have no demand in these periods, so no fill rate",
    &TradeoffRow::fillRate};
inline constexpr TargetRate kServiceLevelTarget = {
    "cycle service level", "the sound sales points have no periods here, so no cycle service level",
    &TradeoffRow::cycleServiceLevel};

// The smallest tau whose rate reaches a target.
struct TargetAnswer {
    double target = 0.0;
    std::optional<double> tau;   // none when no tau of the grid reaches the target
    std::optional<double> rate;  // at that tau
    std::string note;            // how the answer was found where that matters, or why none
};

// Where the rate rises with tau over the grid and no sigma is below 0, a bisection between the
// last grid tau below the target and the first that reaches it, to 1e-9, on the same formulas;
// otherwise the smallest grid tau that reaches it, with a note. rows: the trade-off of the grid
// over the evaluation's chosen sales points, taus increasing.
TargetAnswer AnswerTarget(const RunSeries& series, Evaluation evaluation,
                          const SalesPointChoice& chosen, const std::vector<TradeoffRow>& rows,
                          const TargetRate& rate, double target);

// The grid tau with the smallest cost, the smaller tau on a tie.
struct CostAnswer {
    double tau = 0.0;
    double cost = 0.0;
    std::string note;  // why some taus have no cost, where that is so
};

// None when the rows carry no cost, or none a double can hold. A cost that overflowed is no
// answer: its cell stays empty, and the note says so.
std::optional<CostAnswer> CheapestTau(const std::vector<TradeoffRow>& rows);

// The tau at which normally distributed demand is met with the probability cl / (cl + cr) that
// balances a lost-sale cost cl against a return cost cr: Phi^-1(cl / (cl + cr)). A reference
// beside the cheapest grid tau, whose cost comes from the run's own outcomes.
struct NormalTheoryAnswer {
    std::optional<double> tau;  // none when a cost is 0 or the ratio is too near 0 or 1
    std::string note;           // why there is none
};

NormalTheoryAnswer NormalTheoryTau(const OutcomeCosts& costs);

// cl / (cl + cr), the share of periods without a lost sale at which a lost sale and a return
// balance; none unless both costs are above 0.
std::optional<double> CostRatio(const OutcomeCosts& costs);

}  // namespace sf
