#include "export_reader/run_json_record.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "export_reader/export_cells.h"
#include "results/number_cells.h"
#include "results/request_rules.h"
#include "results/tau_grid.h"
#include "runtime/run_error.h"
#include "runtime/text_to_number.h"
#include "scenario/scenario_format.h"
#include "state/run_state.h"
#include "version/program_version.h"

namespace sf {
namespace {

// Kept in its order, so that the scenario is given back as it was written.
using Json = nlohmann::ordered_json;

constexpr std::string_view kProgram = "Sales Forecast";

[[noreturn]] void Refuse(const std::string& key, const std::string& problem) {
    throw RunError("run.json, \"" + key + "\": " + problem);
}

const Json& Member(const Json& object, const char* key, const std::string& path) {
    const auto found = object.find(key);
    if (found == object.end()) {
        Refuse(path + key, "missing");
    }
    return *found;
}

double Number(const Json& value, const std::string& key) {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        Refuse(key, "holds " + Quoted(value.dump()) + " where a number belongs");
    }
    return value.get<double>();
}

std::optional<double> OptionalNumber(const Json& value, const std::string& key) {
    return value.is_null() ? std::nullopt : std::optional(Number(value, key));
}

long long WholeNumber(const Json& value, const std::string& key, long long least, long long most) {
    if (!value.is_number_integer() || value.get<long long>() < least ||
        value.get<long long>() > most) {
        Refuse(key, "holds " + Quoted(value.dump()) + " where a whole number from " +
                        std::to_string(least) + " to " + std::to_string(most) + " belongs");
    }
    return value.get<long long>();
}

std::string Text(const Json& value, const std::string& key) {
    if (!value.is_string()) {
        Refuse(key, "holds " + Quoted(value.dump()) + " where a text in quotes belongs");
    }
    return value.get<std::string>();
}

std::vector<std::string> Lines(const Json& value, const std::string& key) {
    if (!value.is_array()) {
        Refuse(key, "holds " + Quoted(value.dump()) + " where a list of texts belongs");
    }
    std::vector<std::string> lines;
    for (const Json& line : value) {
        lines.push_back(Text(line, key));
    }
    return lines;
}

// A number typed for the results, as the front ends' rules take it.
std::optional<double> Asked(const Json& options, const char* key, const NumberRule& rule) {
    const std::optional<double> number = OptionalNumber(Member(options, key, "options."), key);
    if (number && !Taken(rule, number)) {
        Refuse(std::string("options.") + key,
               ShortestText(*number) + " is not " + std::string(rule.wanted));
    }
    return number;
}

ResultsRequest Request(const Json& options) {
    ResultsRequest request;
    const Json& grid = Member(options, "tau_grid", "options.");
    std::string problem;
    // The grid as a user types it, so that it is held to the same rules.
    const std::optional<TauGrid> taken = ParseTauGrid(
        ShortestText(Number(Member(grid, "from", "options.tau_grid."), "options.tau_grid.from")) +
            ":" +
            ShortestText(Number(Member(grid, "to", "options.tau_grid."), "options.tau_grid.to")) +
            ":" +
            ShortestText(
                Number(Member(grid, "step", "options.tau_grid."), "options.tau_grid.step")),
        problem);
    if (!taken) {
        Refuse("options.tau_grid", problem);
    }
    request.grid = *taken;
    request.targetFillRate = Asked(options, "target_fill_rate", kTargetFillRateRule);
    request.targetServiceLevel = Asked(options, "target_service_level", kTargetServiceLevelRule);
    const std::optional<double> lostSale = Asked(options, "lost_sale_cost", kOutcomeCostRule);
    const std::optional<double> returned = Asked(options, "return_cost", kOutcomeCostRule);
    if (lostSale.has_value() != returned.has_value()) {
        Refuse("options.return_cost", "the costs of a lost sale and a return come together");
    }
    if (lostSale) {
        request.costs = OutcomeCosts{*lostSale, *returned};
    }
    // Only a checked run names it.
    if (options.contains("check_from")) {
        request.checkFrom = static_cast<int>(WholeNumber(Member(options, "check_from", "options."),
                                                         "options.check_from", 1, kMaxPeriods));
    }
    return request;
}

RunOptions Options(const Json& options) {
    RunOptions taken;
    const std::string estimation =
        Text(Member(options, "estimation", "options."), "options.estimation");
    if (estimation != "plain" && estimation != "lanes") {
        Refuse("options.estimation", Quoted(estimation) + " is neither \"plain\" nor \"lanes\"");
    }
    taken.estimation = estimation == "plain" ? EstimationPath::plain : EstimationPath::lanes;
    const Json& bounded = Member(options, "bounded_constants", "options.");
    if (!bounded.is_boolean()) {
        Refuse("options.bounded_constants",
               "holds " + Quoted(bounded.dump()) + " where true or false belongs");
    }
    taken.boundedConstants = bounded.get<bool>();
    return taken;
}

Scenario ScenarioOf(const std::string& text, const NumberLocale& locale) {
    try {
        return ParseScenario(text, locale);
    } catch (const RunError& refusal) {
        throw RunError(std::string("run.json, \"scenario\" ") + refusal.what());
    }
}

// H as the run read its box; the text is the one the run converted.
int Horizon(const Scenario& scenario) {
    const IntegerText horizon = TextToInt16(scenario.inputs.horizontx, NumberLocale{});
    if (horizon.status != IntegerTextStatus::ok || horizon.value < 0 ||
        horizon.value > kMaxPeriods) {
        Refuse("scenario.boxes.horizon",
               Quoted(scenario.inputs.horizontx) + " is no horizon a run takes");
    }
    return horizon.value;
}

}  // namespace

RunJsonContents ReadRunJson(std::string_view text, const NumberLocale& shownIn) {
    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::exception& error) {
        std::string reason = error.what();
        // The library's own prefix ("[json.exception.parse_error.101] ") says nothing to a user.
        reason.erase(0, reason.find("] ") == std::string::npos ? 0 : reason.find("] ") + 2);
        throw RunError("run.json is not JSON: " + Quoted(reason));
    }
    if (!json.is_object()) {
        throw RunError("run.json holds " + Quoted(json.dump()) +
                       " where an object in braces belongs");
    }
    if (Text(Member(json, "program", ""), "program") != kProgram) {
        Refuse("program", "was not written by this program");
    }
    const std::string version = Text(Member(json, "version", ""), "version");
    if (version != kProgramVersion) {
        Refuse("version", Quoted(version) + " is a version this program does not know; it reads " +
                              std::string(kProgramVersion));
    }
    const Json& scenarioJson = Member(json, "scenario", "");
    if (!scenarioJson.is_object()) {
        Refuse("scenario",
               "holds " + Quoted(scenarioJson.dump()) + " where the run's scenario belongs");
    }
    const std::string scenarioText = scenarioJson.dump();
    const Scenario scenario = ScenarioOf(scenarioText, shownIn);
    RunJsonContents contents;
    RunRecord& record = contents.record;
    record.inputs = scenario.inputs;
    record.scenario = scenarioText;
    const Json& demandFile = Member(json, "demand_file", "");
    if (!demandFile.is_null()) {
        SalesHistory history;
        history.name = Text(demandFile, "demand_file");
        history.file = scenario.history ? scenario.history->path : std::filesystem::path();
        record.inputs.history = std::move(history);
    }
    const Json& seed = Member(json, "seed", "");
    if (!seed.is_null()) {
        record.seed = static_cast<std::uint32_t>(
            WholeNumber(seed, "seed", 0, std::numeric_limits<std::uint32_t>::max()));
    }
    record.run = static_cast<int>(
        WholeNumber(Member(json, "run", ""), "run", 1, std::numeric_limits<int>::max()));
    const Json& options = Member(json, "options", "");
    if (!options.is_object()) {
        Refuse("options", "holds " + Quoted(options.dump()) + " where an object in braces belongs");
    }
    record.options = Options(options);
    record.request = Request(options);
    record.reportPath = Text(Member(json, "report", ""), "report");
    record.warnings = Lines(Member(json, "warnings", ""), "warnings");
    record.notes = Lines(Member(json, "notes", ""), "notes");
    contents.context.salesPoints = static_cast<int>(
        WholeNumber(Member(json, "sales_points", ""), "sales_points", 1, kMaxSalesPoints));
    contents.context.tau = Number(Member(json, "tau", ""), "tau");
    contents.context.horizon = Horizon(ScenarioOf(scenarioText, NumberLocale{}));
    return contents;
}

}  // namespace sf
