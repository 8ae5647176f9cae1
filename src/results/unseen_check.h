#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "results/run_series.h"
#include "results/tradeoff.h"

namespace sf {

struct RunResults;
struct ResultsRequest;

// One row of the check on unseen periods: what a tau chosen before T reached over T..P, for
// one sales point or pooled over the sound ones.
struct CheckRow {
    std::string_view answer;  // run, target_fill_rate, target_service_level, cheapest, cost
    double tau = 0.0;
    int salesPoint = 0;   // 0: the pooled row of the sound sales points
    TradeoffRow figures;  // from the trade-off's formulas, over T..P
    // Whether the answer's rate reached its target (1 or 0); on the pooled row the share of
    // the sound sales points that did. None for run and cheapest, which have no target, and
    // where the rate has no value.
    std::optional<double> reached;
};

// Every tau answer chosen on the as_forecast periods before T, and what each reached on the
// periods T..P: per answer, the sales points in order, then the pooled row.
struct UnseenCheck {
    int from = 0;  // T
    int last = 0;  // P
    std::vector<CheckRow> rows;
};

// Why T cannot be checked from, in words after the option or box that names it; none when it
// can: S + A + H + 1 < T <= P, so that as_forecast (its rolling stretch given) has periods
// before T and from it on.
std::optional<std::string> CheckFromProblem(const PeriodStretch& rolling, int from);

// The check from T, which CheckFromProblem must accept. The taus are chosen as a run on the
// demand before T chooses them, over this run's sound sales points.
UnseenCheck CheckOnUnseenPeriods(const RunResults& results, const ResultsRequest& request,
                                 int from);

}  // namespace sf
