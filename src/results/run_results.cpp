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
        results.answers[IndexOf(evaluation)].tradeoff =
            ComputeTradeoff(results.series, evaluation, results.figures.sound, taus, request.costs);
    }
    AnswerFromTradeoffs(results, request);
}

void AnswerFromTradeoffs(RunResults& results, const ResultsRequest& request) {
    for (const Evaluation evaluation : kEvaluations) {
        EvaluationAnswers& answers = results.answers[IndexOf(evaluation)];
        const SalesPointChoice& sound = results.figures.sound;
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

bool SearchesTau(const ResultsRequest& request) {
    return request.targetFillRate || request.targetServiceLevel || request.checkFrom ||
           (request.costs && CostRatio(*request.costs));
}

}  // namespace sf
