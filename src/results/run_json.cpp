#include <nlohmann/json.hpp>
#include <span>

#include "results/next_deliveries.h"
#include "results/run_record.h"
#include "results/summary_columns.h"
#include "version/program_version.h"

namespace sf {
namespace {

using nlohmann::ordered_json;

ordered_json Optional(const std::optional<double>& value) {
    return value ? ordered_json(*value) : ordered_json(nullptr);
}

ordered_json Scenario(const std::string& text) {
    return text.empty() ? ordered_json(nullptr) : ordered_json::parse(text);
}

ordered_json Options(const RunRecord& record) {
    const ResultsRequest& request = record.request;
    ordered_json options = {
        {"estimation", record.options.estimation == EstimationPath::plain ? "plain" : "lanes"},
        {"bounded_constants", record.options.boundedConstants},
        {"tau_grid",
         {{"from", request.grid.from}, {"to", request.grid.to}, {"step", request.grid.step}}},
        {"target_fill_rate", Optional(request.targetFillRate)},
        {"target_service_level", Optional(request.targetServiceLevel)},
        {"lost_sale_cost", request.costs ? ordered_json(request.costs->lostSale) : nullptr},
        {"return_cost", request.costs ? ordered_json(request.costs->returned) : nullptr},
    };
    if (request.checkFrom) {
        options["check_from"] = *request.checkFrom;
    }
    return options;
}

// A row of summary.csv by its column names.
ordered_json FigureRow(const Figures& figures) {
    ordered_json row = ordered_json::object();
    for (const SummaryColumn& column : kSummaryColumns) {
        const std::optional<double> value = column.value(figures);
        const bool counted = column.kind == FigureKind::count || column.kind == FigureKind::flag;
        row[std::string(column.name)] =
            counted && value ? ordered_json(static_cast<long long>(*value)) : Optional(value);
    }
    return row;
}

ordered_json Totals(const RunFigures& figures) {
    ordered_json totals = ordered_json::object();
    for (const Evaluation evaluation : kEvaluations) {
        const EvaluationFigures& evaluated = figures.Of(evaluation);
        const bool empty = evaluated.stretch.Empty();
        totals[std::string(EvaluationName(evaluation))] = {
            {"first_period", empty ? ordered_json(nullptr) : ordered_json(evaluated.stretch.first)},
            {"last_period", empty ? ordered_json(nullptr) : ordered_json(evaluated.stretch.last)},
            {"sound", FigureRow(evaluated.sound)},
            {"all", FigureRow(evaluated.all)},
        };
    }
    return totals;
}

// The answers to a target fill rate or cycle service level; rate: the name of the rate reached.
ordered_json Target(const RunResults& results,
                    std::optional<TargetAnswer> EvaluationAnswers::*answer, const char* rate) {
    if (!(results.Answers(Evaluation::asForecast).*answer)) {
        return nullptr;
    }
    ordered_json json = {{"target", (results.Answers(Evaluation::asForecast).*answer)->target}};
    for (const Evaluation evaluation : kEvaluations) {
        const TargetAnswer& target = *(results.Answers(evaluation).*answer);
        json[std::string(EvaluationName(evaluation))] = {
            {"tau", Optional(target.tau)},
            {rate, Optional(target.rate)},
            {"note", target.note},
        };
    }
    return json;
}

// The coming periods per sales point, their cells named as next.csv's columns.
ordered_json NextDeliveriesJson(const RunResults& results) {
    ordered_json salesPoints = ordered_json::array();
    for (const NextDelivery& row : NextDeliveries(results)) {
        if (salesPoints.empty() || salesPoints.back()["sales_point"] != row.salesPoint) {
            salesPoints.push_back({{"sales_point", row.salesPoint},
                                   {"name", results.series.Name(row.salesPoint)},
                                   {"periods", ordered_json::array()}});
        }
        ordered_json period = {{"period", row.period},
                               {"decided_at", row.decidedAt},
                               {"forecast", row.forecast},
                               {"sigma", row.sigma},
                               {"delivery", row.delivery.run}};
        const bool earlier = results.form == ExportForm::beforeProposals;
        for (const AnsweredTau& tau :
             std::span(kAnsweredTaus)
                 .first(earlier ? kEarlierAnsweredTaus : kAnsweredTaus.size())) {
            period[std::string(tau.column)] = Optional(row.delivery.*tau.value);
        }
        period["diverged"] = row.diverged;
        if (!earlier) {
            period["proposal"] = Optional(row.proposal);
            period["proposal_from"] = ProposalSourceName(row.proposalFrom);
        }
        salesPoints.back()["periods"].push_back(period);
    }
    return salesPoints;
}

ordered_json Costs(const RunResults& results) {
    if (!results.normalTheory) {
        return nullptr;
    }
    ordered_json json = ordered_json::object();
    for (const Evaluation evaluation : kEvaluations) {
        const std::optional<CostAnswer>& cheapest = results.Answers(evaluation).cheapest;
        ordered_json answer = nullptr;
        if (cheapest) {
            answer = {{"tau", cheapest->tau}, {"cost", cheapest->cost}};
            if (!cheapest->note.empty()) {
                answer["note"] = cheapest->note;  // only where a cost overflowed
            }
        }
        json[std::string(EvaluationName(evaluation))] = answer;
    }
    json["normal_theory_tau"] = Optional(results.normalTheory->tau);
    json["note"] = results.normalTheory->note;
    return json;
}

}  // namespace

std::string RunJson(const RunResults& results, const RunRecord& record) {
    ordered_json json = {
        {"program", "Sales Forecast"},
        {"version", kProgramVersion},
        // Demand read from a sales history has no model; the file is named instead.
        {"model", record.inputs.history ? ordered_json(nullptr)
                                        : ordered_json(DemandModelName(record.inputs.model))},
        {"demand_file",
         record.inputs.history ? ordered_json(record.inputs.history->name) : ordered_json(nullptr)},
        {"scenario", Scenario(record.scenario)},
        // A sales history draws no random number.
        {"seed", record.inputs.history ? ordered_json(nullptr) : ordered_json(record.seed)},
        {"run", record.run},
        {"options", Options(record)},
        {"report", record.reportPath.string()},
        {"tau", results.series.tau},
        {"sales_points", results.series.salesPoints.size()},
        {"sound_sales_points", results.figures.SoundCount()},
        {"totals", Totals(results.figures)},
        {"warnings", record.warnings},
        {"notes", record.notes},
        {"target_fill_rate", Target(results, &EvaluationAnswers::target, "fill_rate")},
        {"target_service_level",
         Target(results, &EvaluationAnswers::serviceLevelTarget, "cycle_service_level")},
        {"cheapest_tau", Costs(results)},
        {"next_deliveries", NextDeliveriesJson(results)},
    };
    if (results.form == ExportForm::current) {
        json["cost_tau"] = Target(results, &EvaluationAnswers::costTarget, "cycle_service_level");
    }
    // Box texts are kept byte for byte; a byte that is not UTF-8 is replaced rather than refused.
    return json.dump(2, ' ', false, ordered_json::error_handler_t::replace) + '\n';
}

}  // namespace sf
