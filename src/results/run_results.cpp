#include "results/run_results.h"

namespace sf {

RunResults ComputeResults(const RunState& state, const ResultsRequest& request) {
    RunResults results;
    results.series = CopySeries(state);
    results.figures = ComputeFigures(state);
    const std::vector<double> taus = GridTaus(request.grid, state.tau);
    results.tradeoff = ComputeTradeoff(results.series, taus, request.costs);
    if (request.targetFillRate) {
        results.target =
            AnswerTargetFillRate(results.series, results.tradeoff, *request.targetFillRate);
    }
    results.cheapest = CheapestTau(results.tradeoff);
    return results;
}

}  // namespace sf
