#include "results/run_results.h"

namespace sf {

RunResults ComputeResults(const RunState& state, const ResultsRequest& request) {
    RunResults results;
    results.series = CopySeries(state);
    results.figures = ComputeFigures(results.series);
    AnswerRequest(results, request);
    return results;
}

void AnswerRequest(RunResults& results, const ResultsRequest& request) {
    const std::vector<double> taus = GridTaus(request.grid, results.series.tau);
    for (const Evaluation evaluation : kEvaluations) {
        EvaluationAnswers& answers = results.answers[IndexOf(evaluation)];
        const SalesPointChoice& sound = results.figures.sound;
        answers.tradeoff = ComputeTradeoff(results.series, evaluation, sound, taus, request.costs);
        answers.target.reset();
        if (request.targetFillRate) {
            answers.target = AnswerTargetFillRate(results.series, evaluation, sound,
                                                  answers.tradeoff, *request.targetFillRate);
        }
        answers.cheapest = CheapestTau(answers.tradeoff);
    }
    results.normalTheory.reset();
    if (request.costs) {
        results.normalTheory = NormalTheoryTau(*request.costs);
    }
}

}  // namespace sf
