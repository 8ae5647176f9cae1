#include <nlohmann/json.hpp>

#include "results/run_record.h"
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
    return {
        {"estimation", record.options.estimation == EstimationPath::plain ? "plain" : "lanes"},
        {"bounded_constants", record.options.boundedConstants},
        {"tau_grid",
         {{"from", request.grid.from}, {"to", request.grid.to}, {"step", request.grid.step}}},
        {"target_fill_rate", Optional(request.targetFillRate)},
        {"lost_sale_cost", request.costs ? ordered_json(request.costs->lostSale) : nullptr},
        {"return_cost", request.costs ? ordered_json(request.costs->returned) : nullptr},
    };
}

ordered_json Totals(const Figures& all) {
    return {
        {"demand", all.demand},
        {"sales", all.sales},
        {"lost_sales", all.lostSales},
        {"returns", all.returns},
        {"deliveries", all.deliveries},
        {"fill_rate", Optional(all.fillRate)},
        {"cycle_service_level", Optional(all.cycleServiceLevel)},
        {"return_rate", Optional(all.returnRate)},
        {"unstable_sales_points", all.unstable},
    };
}

ordered_json Target(const std::optional<TargetAnswer>& target) {
    if (!target) {
        return nullptr;
    }
    return {{"target", target->target},
            {"tau", Optional(target->tau)},
            {"fill_rate", Optional(target->fillRate)},
            {"note", target->note}};
}

ordered_json Cheapest(const std::optional<CostAnswer>& cheapest) {
    if (!cheapest) {
        return nullptr;
    }
    ordered_json answer = {{"tau", cheapest->tau}, {"cost", cheapest->cost}};
    if (!cheapest->note.empty()) {
        answer["note"] = cheapest->note;  // only where a cost overflowed
    }
    return answer;
}

}  // namespace

std::string RunJson(const RunResults& results, const RunRecord& record) {
    const ordered_json json = {
        {"program", "Sales Forecast"},
        {"version", kProgramVersion},
        // Demand read from a sales history has no model; the file is named instead.
        {"model", record.inputs.history ? ordered_json(nullptr)
                                        : ordered_json(DemandModelName(record.inputs.model))},
        {"demand_file",
         record.inputs.history ? ordered_json(record.inputs.history->name) : ordered_json(nullptr)},
        {"scenario", Scenario(record.scenario)},
        {"seed", record.seed},
        {"run", record.run},
        {"options", Options(record)},
        {"report", record.reportPath.string()},
        {"tau", results.series.tau},
        {"totals", Totals(results.figures.all)},
        {"warnings", record.warnings},
        {"target_fill_rate", Target(results.target)},
        {"cheapest_tau", Cheapest(results.cheapest)},
    };
    // Box texts are kept byte for byte; a byte that is not UTF-8 is replaced rather than refused.
    return json.dump(2, ' ', false, ordered_json::error_handler_t::replace) + '\n';
}

}  // namespace sf
