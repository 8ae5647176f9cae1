#pragma once

#include <optional>
#include <string>
#include <vector>

#include "results/run_series.h"
#include "results/tradeoff.h"

namespace sf {

// The smallest tau whose fill rate reaches a target.
struct TargetAnswer {
    double target = 0.0;
    std::optional<double> tau;       // none when no tau of the grid reaches the target
    std::optional<double> fillRate;  // at that tau
    std::string note;                // how the answer was found where that matters, or why none
};

// Where the fill rate rises with tau over the grid and no sigma is below 0, a bisection between
// the last grid tau below the target and the first that reaches it, to 1e-9, on the same
// formulas; otherwise the smallest grid tau that reaches it, with a note. rows: the trade-off of
// the grid, taus increasing.
TargetAnswer AnswerTargetFillRate(const RunSeries& series, const std::vector<TradeoffRow>& rows,
                                  double target);

// The grid tau with the smallest cost, the smaller tau on a tie.
struct CostAnswer {
    double tau = 0.0;
    double cost = 0.0;
    std::string note;  // why some taus have no cost, where that is so
};

// None when the rows carry no cost, or none a double can hold. A cost that overflowed is no
// answer: its cell stays empty, and the note says so.
std::optional<CostAnswer> CheapestTau(const std::vector<TradeoffRow>& rows);

}  // namespace sf
