#include <nlohmann/json.hpp>
#include <span>

#include "results/next_deliveries.h"
#include "results/run_json_keys.h"
#include "results/run_record.h"
#include "results/summary_columns.h"
#include "runtime/invariants.h"
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

ordered_json TauGridJson(const TauGrid& grid) {
    ordered_json json = ordered_json::object();
    for (const auto& [key, name] : kRunJsonGridKeys) {
        switch (key) {
            case RunJsonGridKey::from:
                json[std::string(name)] = grid.from;
                break;
            case RunJsonGridKey::to:
                json[std::string(name)] = grid.to;
                break;
            case RunJsonGridKey::step:
                json[std::string(name)] = grid.step;
                break;
        }
    }
    return json;
}

ordered_json OptionValue(RunJsonOption key, const RunRecord& record) {
    const ResultsRequest& request = record.request;
    switch (key) {
        case RunJsonOption::estimation:
            return record.options.estimation == EstimationPath::plain ? "plain" : "lanes";
        case RunJsonOption::boundedConstants:
            return record.options.boundedConstants;
        case RunJsonOption::tauGrid:
            return TauGridJson(request.grid);
        case RunJsonOption::targetFillRate:
            return Optional(request.targetFillRate);
        case RunJsonOption::targetServiceLevel:
            return Optional(request.targetServiceLevel);
        case RunJsonOption::lostSaleCost:
            return request.costs ? ordered_json(request.costs->lostSale) : nullptr;
        case RunJsonOption::returnCost:
            return request.costs ? ordered_json(request.costs->returned) : nullptr;
        case RunJsonOption::checkFrom:
            return request.checkFrom ? ordered_json(*request.checkFrom) : nullptr;
        case RunJsonOption::season:
            return record.options.season;
    }
    SF_UNREACHABLE("a run.json option without its value");
}

ordered_json Options(const RunRecord& record) {
    ordered_json options = ordered_json::object();
    for (const auto& [key, name] : kRunJsonOptions) {
        // A run without the check or a season writes no member for it, as runs did before
        // they existed.
        if ((key != RunJsonOption::checkFrom || record.request.checkFrom) &&
            (key != RunJsonOption::season || record.options.season != 0)) {
            options[std::string(name)] = OptionValue(key, record);
        }
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

ordered_json ShardJson(const std::pair<std::string, RunHealth>& shard) {
    const RunHealth& health = shard.second;
    return {{"part", shard.first},
            {"health",
             {{"sales_points", health.salesPointCount},
              {"diverged_sales_points", health.divergedSalesPoints},
              {"windows_cover_every_period", health.windowsCoverEveryPeriod},
              {"sound_constants_left_0_1", health.soundConstantsLeft01},
              {"sound_negative_sigma", health.soundNegativeSigma},
              {"horizon_zero", health.horizonZero},
              {"season_length", health.seasonLength},
              {"season_flat_sales_points", health.seasonFlatSalesPoints}}}};
}

// The value of a member of run.json.
ordered_json MemberValue(RunJsonKey key, const RunResults& results, const RunRecord& record) {
    // Demand read from a sales history has no model and draws no random number; its file is
    // named instead.
    const bool history = record.inputs.history.has_value();
    switch (key) {
        case RunJsonKey::program:
            return std::string(kRunJsonProgram);
        case RunJsonKey::version:
            return kProgramVersion;
        case RunJsonKey::model:
            return history ? ordered_json(nullptr)
                           : ordered_json(DemandModelName(record.inputs.model));
        case RunJsonKey::demandFile:
            return history ? ordered_json(record.inputs.history->name) : ordered_json(nullptr);
        case RunJsonKey::scenario:
            return Scenario(record.scenario);
        case RunJsonKey::seed:
            return history ? ordered_json(nullptr) : ordered_json(record.seed);
        case RunJsonKey::run:
            return record.run;
        case RunJsonKey::options:
            return Options(record);
        case RunJsonKey::report:
            return record.reportPath.string();
        case RunJsonKey::tau:
            return results.series.tau;
        case RunJsonKey::salesPoints:
            return results.figures.sound.size();
        case RunJsonKey::soundSalesPoints:
            return results.figures.SoundCount();
        case RunJsonKey::totals:
            return Totals(results.figures);
        case RunJsonKey::warnings:
            return record.warnings;
        case RunJsonKey::notes:
            return record.notes;
        case RunJsonKey::targetFillRate:
            return Target(results, &EvaluationAnswers::target, "fill_rate");
        case RunJsonKey::targetServiceLevel:
            return Target(results, &EvaluationAnswers::serviceLevelTarget, "cycle_service_level");
        case RunJsonKey::cheapestTau:
            return Costs(results);
        case RunJsonKey::costTau:
            return Target(results, &EvaluationAnswers::costTarget, "cycle_service_level");
        case RunJsonKey::nextDeliveries:
            return NextDeliveriesJson(results);
        case RunJsonKey::shard:
            return ShardJson(*record.shard);
    }
    SF_UNREACHABLE("a run.json member without its value");
}

}  // namespace

std::string RunJson(const RunResults& results, const RunRecord& record, RunJsonForm form) {
    ordered_json json = ordered_json::object();
    for (const auto& [key, name] : kRunJsonKeys) {
        const bool written = key == RunJsonKey::nextDeliveries
                                 ? form == RunJsonForm::withNextDeliveries
                             : key == RunJsonKey::costTau ? results.form == ExportForm::current
                             : key == RunJsonKey::shard   ? record.shard.has_value()
                                                          : true;
        if (written) {
            json[std::string(name)] = MemberValue(key, results, record);
        }
    }
    // Box texts are kept byte for byte; a byte that is not UTF-8 is replaced rather than refused.
    return json.dump(2, ' ', false, ordered_json::error_handler_t::replace) + '\n';
}

std::string PooledRunJsonMembers(const RunResults& results) {
    ordered_json json = ordered_json::object();
    json[std::string(NameOf(RunJsonKey::totals))] = Totals(results.figures);
    json[std::string(NameOf(RunJsonKey::cheapestTau))] = Costs(results);
    return json.dump();
}

std::string RunJson(const RunResults& results, const RunRecord& record) {
    return RunJson(results, record, RunJsonForm::current);
}

}  // namespace sf
