#pragma once

#include <array>
#include <optional>
#include <vector>

#include "results/evaluation.h"
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
    std::optional<double> targetServiceLevel;  // a cycle service level, 0 < target <= 1
};

// One evaluation's trade-off over the sound sales points and its answers to the request.
struct EvaluationAnswers {
    std::vector<TradeoffRow> tradeoff;   // taus increasing
    std::optional<TargetAnswer> target;  // of the target fill rate
    std::optional<TargetAnswer> serviceLevelTarget;
    std::optional<CostAnswer> cheapest;
};

// Everything a complete run tells, independent of the run state it came from.
struct RunResults {
    RunSeries series;
    RunFigures figures;
    std::array<EvaluationAnswers, kEvaluations.size()> answers;  // in kEvaluations' order
    std::optional<NormalTheoryAnswer> normalTheory;              // when costs were given

    const EvaluationAnswers& Answers(Evaluation evaluation) const {
        return answers[IndexOf(evaluation)];
    }
    // What a front end leads with: as_forecast, unless it has no periods.
    Evaluation Headline() const {
        return series.rollingStretch.Empty() ? Evaluation::asReported : Evaluation::asForecast;
    }
};

// From the state a complete run left; "out.txt" and the state do not change.
RunResults ComputeResults(const RunState& state, const ResultsRequest& request);

// The trade-offs and the answers again for another request, from the results' own series, as
// ComputeResults gives them: a front end asks anew without the run state.
void AnswerRequest(RunResults& results, const ResultsRequest& request);

}  // namespace sf
