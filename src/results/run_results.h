#pragma once

#include <optional>
#include <vector>

#include "results/figures.h"
#include "results/run_series.h"
#include "results/tau_answers.h"
#include "results/tau_grid.h"
#include "results/tradeoff.h"
#include "state/run_state.h"

namespace sf {

// What a front end asks of a complete run beyond its report.
struct ResultsRequest {
    TauGrid grid;                          // the run's own tau is added to it
    std::optional<double> targetFillRate;  // 0 < target <= 1
    std::optional<OutcomeCosts> costs;
};

// Everything a complete run tells, independent of the run state it came from.
struct RunResults {
    RunSeries series;
    RunFigures figures;
    std::vector<TradeoffRow> tradeoff;  // taus increasing
    std::optional<TargetAnswer> target;
    std::optional<CostAnswer> cheapest;
};

// From the state a complete run left; "out.txt" and the state do not change.
RunResults ComputeResults(const RunState& state, const ResultsRequest& request);

// The trade-off and the answers again for another request, from the results' own series, as
// ComputeResults gives them: a front end asks anew without the run state.
void AnswerRequest(RunResults& results, const ResultsRequest& request);

}  // namespace sf
