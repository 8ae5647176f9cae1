#pragma once

#include <array>
#include <optional>
#include <vector>

#include "results/evaluation.h"
#include "results/export_form.h"
#include "results/figures.h"
#include "results/proposals.h"
#include "results/run_series.h"
#include "results/tau_answers.h"
#include "results/tau_grid.h"
#include "results/tradeoff.h"
#include "results/unseen_check.h"
#include "state/run_state.h"

namespace sf {

// What a front end asks of a complete run beyond its report.
struct ResultsRequest {
    TauGrid grid;                          // the run's own tau is added to it
    std::optional<double> targetFillRate;  // 0 < target <= 1
    std::optional<OutcomeCosts> costs;
    std::optional<double> targetServiceLevel;  // a cycle service level, 0 < target <= 1
    // T of the check on unseen periods: every tau answer chosen before it, judged from it on.
    std::optional<int> checkFrom;
};

// One evaluation's trade-off over the sound sales points and its answers to the request.
struct EvaluationAnswers {
    std::vector<TradeoffRow> tradeoff;   // taus increasing
    std::optional<TargetAnswer> target;  // of the target fill rate
    std::optional<TargetAnswer> serviceLevelTarget;
    std::optional<CostAnswer> cheapest;
    // With both costs above 0: the smallest tau whose cycle service level reaches
    // cl / (cl + cr), the ratio that balances a lost sale against a return.
    std::optional<TargetAnswer> costTarget;
};

// Everything a complete run tells, independent of the run state it came from.
struct RunResults {
    RunSeries series;
    RunFigures figures;
    std::array<EvaluationAnswers, kEvaluations.size()> answers;  // in kEvaluations' order
    std::optional<NormalTheoryAnswer> normalTheory;              // when costs were given
    // Sales point sp at sp - 1; empty until proposed (see ProposeDeliveries), when a sales
    // point whose coming rows diverged has none.
    std::vector<Proposal> proposals;
    ExportForm form = ExportForm::current;
    std::optional<UnseenCheck> check;  // when asked for from a period the run allows

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

// AnswerRequest's answers from the trade-offs already in the results (a catalogue pools them
// block by block). Only the searches that SearchesTau names read the series.
void AnswerFromTradeoffs(RunResults& results, const ResultsRequest& request);

// Whether answering the request searches tau over the sales points' series themselves: a target
// fill rate or service level, both costs above 0 (the cost tau), a check on unseen periods.
bool SearchesTau(const ResultsRequest& request);

}  // namespace sf
