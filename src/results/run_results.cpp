#include "results/run_results.h"

#include <tuple>

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
        for (const auto& [target, asked, rate] :
             {std::tuple(&answers.target, request.targetFillRate, &kFillRateTarget),
              std::tuple(&answers.serviceLevelTarget, request.targetServiceLevel,
                         &kServiceLevelTarget)}) {
            target->reset();
            if (asked) {
                *target = AnswerTarget(results.series, evaluation, sound, answers.tradeoff, *rate,
                                       *asked);
            }
        }
        answers.cheapest = CheapestTau(answers.tradeoff);
        answers.costTarget.reset();
        if (const std::optional<double> ratio =
                request.costs ? CostRatio(*request.costs) : std::nullopt) {
            answers.costTarget = AnswerTarget(results.series, evaluation, sound, answers.tradeoff,
                                              kServiceLevelTarget, *ratio);
        }
    }
    results.normalTheory.reset();
    if (request.costs) {
        results.normalTheory = NormalTheoryTau(*request.costs);
    }
    results.check.reset();
    if (request.checkFrom && !CheckFromProblem(results.series.rollingStretch, *request.checkFrom)) {
        results.check = CheckOnUnseenPeriods(results, request, *request.checkFrom);
    }
}

}  // namespace sf
