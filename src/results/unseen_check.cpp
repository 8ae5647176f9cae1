#include "results/unseen_check.h"

#include <algorithm>

#include "results/ratio.h"
#include "results/run_results.h"

namespace sf {
namespace {

// An answer of the check: its tau, and the rate and target its reached column judges.
struct CheckedAnswer {
    std::string_view name;
    std::optional<double> tau;
    std::optional<double> TradeoffRow::*rate = nullptr;  // none: no target
    double target = 0.0;
};

std::vector<CheckedAnswer> AnswersBefore(const RunResults& results, const ResultsRequest& request,
                                         int from) {
    RunResults before;
    before.series = results.series;
    before.series.rollingStretch.last = from - 1;
    before.figures = results.figures;
    ResultsRequest chosenBefore = request;
    chosenBefore.checkFrom.reset();
    AnswerRequest(before, chosenBefore);
    const EvaluationAnswers& answers = before.Answers(Evaluation::asForecast);
    std::vector<CheckedAnswer> checked = {{"run", results.series.tau}};
    const auto targeted = [&checked](std::string_view name,
                                     const std::optional<TargetAnswer>& answer,
                                     const TargetRate& rate) {
        if (answer) {
            checked.push_back({name, answer->tau, rate.value, answer->target});
        }
    };
    targeted("target_fill_rate", answers.target, kFillRateTarget);
    targeted("target_service_level", answers.serviceLevelTarget, kServiceLevelTarget);
    if (answers.cheapest) {
        checked.push_back({"cheapest", answers.cheapest->tau});
    }
    targeted("cost", answers.costTarget, kServiceLevelTarget);
    std::erase_if(checked, [](const CheckedAnswer& answer) { return !answer.tau; });
    return checked;
}

std::optional<double> Reached(const CheckedAnswer& answer, const TradeoffRow& row) {
    if (answer.rate == nullptr || !(row.*answer.rate)) {
        return std::nullopt;
    }
    return *(row.*answer.rate) >= answer.target ? 1.0 : 0.0;
}

}  // namespace

std::optional<std::string> CheckFromProblem(const PeriodStretch& rolling, int from) {
    if (rolling.Length() < 2) {
        return std::string(
            "needs as_forecast periods before it and from it on, which this run "
            "does not have");
    }
    if (from <= rolling.first || from > rolling.last) {
        return "must be a period from " + std::to_string(rolling.first + 1) + " to " +
               std::to_string(rolling.last) + " (after S + A + H + 1, at most P), not " +
               std::to_string(from);
    }
    return std::nullopt;
}

UnseenCheck CheckOnUnseenPeriods(const RunResults& results, const ResultsRequest& request,
                                 int from) {
    const std::vector<CheckedAnswer> answers = AnswersBefore(results, request, from);
    std::vector<double> taus;
    for (const CheckedAnswer& answer : answers) {
        taus.push_back(*answer.tau);
    }
    RunSeries after = results.series;
    after.rollingStretch.first = from;
    const std::size_t salesPoints = after.salesPoints.size();
    // Per sales point, every answer's tau at once; then pooled over the sound ones.
    std::vector<std::vector<TradeoffRow>> rows;
    for (std::size_t at = 0; at < salesPoints; ++at) {
        SalesPointChoice alone(salesPoints, false);
        alone[at] = true;
        rows.push_back(ComputeTradeoff(after, Evaluation::asForecast, alone, taus, request.costs));
    }
    const std::vector<TradeoffRow> pooled =
        ComputeTradeoff(after, Evaluation::asForecast, results.figures.sound, taus, request.costs);
    UnseenCheck check{from, after.rollingStretch.last, {}};
    for (std::size_t k = 0; k < answers.size(); ++k) {
        const CheckedAnswer& answer = answers[k];
        double reachedCount = 0.0;
        double judged = 0.0;
        for (std::size_t at = 0; at < salesPoints; ++at) {
            const CheckRow row{answer.name, taus[k], static_cast<int>(at) + 1, rows[at][k],
                               Reached(answer, rows[at][k])};
            if (results.figures.sound[at] && row.reached) {
                reachedCount += *row.reached;
                judged += 1.0;
            }
            check.rows.push_back(row);
        }
        std::optional<double> share;
        if (answer.rate != nullptr) {
            share = Ratio(reachedCount, judged);
        }
        check.rows.push_back({answer.name, taus[k], 0, pooled[k], share});
    }
    return check;
}

}  // namespace sf
