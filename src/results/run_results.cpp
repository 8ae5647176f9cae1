#include "results/run_results.h"

namespace sf {

RunResults ComputeResults(const RunState& state, const ResultsRequest& request) {
    RunResults results;
    results.series = CopySeries(state);
    results.figures = ComputeFigures(state);
    AnswerRequest(results, request);
    return results;
}

void AnswerRequest(RunResults& results, const ResultsRequest& request) {
    const std::vector<double> taus = GridTaus(request.grid, results.series.tau);
    results.tradeoff = ComputeTradeoff(results.series, taus, request.costs);
    results.target.reset();
    if (request.targetFillRate) {
        results.target =
            AnswerTargetFillRate(results.series, results.tradeoff, *request.targetFillRate);
    }
    results.cheapest = CheapestTau(results.tradeoff);
}

}  // namespace sf
