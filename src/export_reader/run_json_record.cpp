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

[[noreturn]] void Refuse(const std::string& key, const std::string& problem) {
    throw RunError("run.json, \"" + key + "\": " + problem);
}

const Json& Member(const Json& object, std::string_view key, const std::string& path) {
    const auto found = object.find(key);
    if (found == object.end()) {
        Refuse(path + std::string(key), "missing");
    }
    return *found;
}

// A member of run.json itself, of "options" or of "options.tau_grid", by its key.
const Json& Member(const Json& json, RunJsonKey key) {
    return Member(json, NameOf(key), "");
}

const Json& Member(const Json& options, RunJsonOption key) {
    return Member(options, NameOf(key), "options.");
}

std::string PathOf(RunJsonKey key) {
    return std::string(NameOf(key));
}

std::string PathOf(RunJsonOption key) {
    return "options." + std::string(NameOf(key));
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
std::optional<double> Asked(const Json& options, RunJsonOption key, const NumberRule& rule) {
    const std::optional<double> number = OptionalNumber(Member(options, key), PathOf(key));
    if (number && !Taken(rule, number)) {
        Refuse(PathOf(key), ShortestText(*number) + " is not " + std::string(rule.wanted));
    }
    return number;
}

double GridValue(const Json& grid, RunJsonGridKey key) {
    const std::string path = PathOf(RunJsonOption::tauGrid) + ".";
    return Number(Member(grid, NameOf(key), path), path + std::string(NameOf(key)));
}

ResultsRequest Request(const Json& options) {
    ResultsRequest request;
    const Json& grid = Member(options, RunJsonOption::tauGrid);
    std::string problem;
    // The grid as a user types it, so that it is held to the same rules.
    const std::optional<TauGrid> taken =
        ParseTauGrid(ShortestText(GridValue(grid, RunJsonGridKey::from)) + ":" +
                         ShortestText(GridValue(grid, RunJsonGridKey::to)) + ":" +
                         ShortestText(GridValue(grid, RunJsonGridKey::step)),
                     problem);
    if (!taken) {
        Refuse(PathOf(RunJsonOption::tauGrid), problem);
    }
    request.grid = *taken;
    request.targetFillRate = Asked(options, RunJsonOption::targetFillRate, kTargetFillRateRule);
    request.targetServiceLevel =
        Asked(options, RunJsonOption::targetServiceLevel, kTargetServiceLevelRule);
    const std::optional<double> lostSale =
        Asked(options, RunJsonOption::lostSaleCost, kOutcomeCostRule);
    const std::optional<double> returned =
        Asked(options, RunJsonOption::returnCost, kOutcomeCostRule);
    if (lostSale.has_value() != returned.has_value()) {
        Refuse(PathOf(RunJsonOption::returnCost),
               "the costs of a lost sale and a return come together");
    }
    if (lostSale) {
        request.costs = OutcomeCosts{*lostSale, *returned};
    }
    // Only a checked run names it.
    if (options.contains(NameOf(RunJsonOption::checkFrom))) {
        request.checkFrom =
            static_cast<int>(WholeNumber(Member(options, RunJsonOption::checkFrom),
                                         PathOf(RunJsonOption::checkFrom), 1, kMaxPeriods));
    }
    return request;
}

RunOptions Options(const Json& options) {
    RunOptions taken;
    const std::string estimation =
        Text(Member(options, RunJsonOption::estimation), PathOf(RunJsonOption::estimation));
    if (estimation != "plain" && estimation != "lanes") {
        Refuse(PathOf(RunJsonOption::estimation),
               Quoted(estimation) + " is neither \"plain\" nor \"lanes\"");
    }
    taken.estimation = estimation == "plain" ? EstimationPath::plain : EstimationPath::lanes;
    const Json& bounded = Member(options, RunJsonOption::boundedConstants);
    if (!bounded.is_boolean()) {
        Refuse(PathOf(RunJsonOption::boundedConstants),
               "holds " + Quoted(bounded.dump()) + " where true or false belongs");
    }
    taken.boundedConstants = bounded.get<bool>();
    // A folder written before seasons, or without one, has none.
    if (options.contains(NameOf(RunJsonOption::season))) {
        taken.season = static_cast<int>(WholeNumber(Member(options, RunJsonOption::season),
                                                    PathOf(RunJsonOption::season), 2, kMaxPeriods));
    }
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

Json Parsed(std::string_view text) {
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
    return json;
}

void RequireOwnVersion(const Json& json) {
    if (Text(Member(json, RunJsonKey::program), PathOf(RunJsonKey::program)) != kRunJsonProgram) {
        Refuse(PathOf(RunJsonKey::program), "was not written by this program");
    }
    const std::string version =
        Text(Member(json, RunJsonKey::version), PathOf(RunJsonKey::version));
    if (version != kProgramVersion) {
        Refuse(PathOf(RunJsonKey::version),
               Quoted(version) + " is a version this program does not know; it reads " +
                   std::string(kProgramVersion));
    }
}

// The scenario member as its text, which must read as a scenario.
std::string ScenarioMember(const Json& json) {
    const Json& scenario = Member(json, RunJsonKey::scenario);
    if (!scenario.is_object()) {
        Refuse(PathOf(RunJsonKey::scenario),
               "holds " + Quoted(scenario.dump()) + " where the run's scenario belongs");
    }
    return scenario.dump();
}

// The boxes, model and sales history of the run, and how it was run and asked.
RunRecord Record(const Json& json, const std::string& scenarioText, const NumberLocale& shownIn) {
    const Scenario scenario = ScenarioOf(scenarioText, shownIn);
    RunRecord record;
    record.inputs = scenario.inputs;
    record.scenario = scenarioText;
    if (const Json& demandFile = Member(json, RunJsonKey::demandFile); !demandFile.is_null()) {
        SalesHistory history;
        history.name = Text(demandFile, PathOf(RunJsonKey::demandFile));
        history.file = scenario.history ? scenario.history->path : std::filesystem::path();
        record.inputs.history = std::move(history);
    }
    if (const Json& seed = Member(json, RunJsonKey::seed); !seed.is_null()) {
        record.seed = static_cast<std::uint32_t>(WholeNumber(
            seed, PathOf(RunJsonKey::seed), 0, std::numeric_limits<std::uint32_t>::max()));
    }
    record.run =
        static_cast<int>(WholeNumber(Member(json, RunJsonKey::run), PathOf(RunJsonKey::run), 1,
                                     std::numeric_limits<int>::max()));
    const Json& options = Member(json, RunJsonKey::options);
    if (!options.is_object()) {
        Refuse(PathOf(RunJsonKey::options),
               "holds " + Quoted(options.dump()) + " where an object in braces belongs");
    }
    record.options = Options(options);
    record.request = Request(options);
    record.reportPath = Text(Member(json, RunJsonKey::report), PathOf(RunJsonKey::report));
    record.warnings = Lines(Member(json, RunJsonKey::warnings), PathOf(RunJsonKey::warnings));
    record.notes = Lines(Member(json, RunJsonKey::notes), PathOf(RunJsonKey::notes));
    return record;
}

}  // namespace

RunJsonContents ReadRunJson(std::string_view text, const NumberLocale& shownIn) {
    const Json json = Parsed(text);
    RequireOwnVersion(json);
    const std::string scenarioText = ScenarioMember(json);
    RunJsonContents contents;
    contents.record = Record(json, scenarioText, shownIn);
    contents.context.salesPoints =
        static_cast<int>(WholeNumber(Member(json, RunJsonKey::salesPoints),
                                     PathOf(RunJsonKey::salesPoints), 1, kMaxSalesPoints));
    contents.context.tau = Number(Member(json, RunJsonKey::tau), PathOf(RunJsonKey::tau));
    contents.context.horizon = Horizon(ScenarioOf(scenarioText, NumberLocale{}));
    // A shard's export opens as a run of its own sales points: its part and health are only
    // for joining the shards, which an export written again from here no longer is.
    if (json.contains(NameOf(RunJsonKey::shard))) {
        const Json& shard = Member(json, RunJsonKey::shard);
        const std::string path = PathOf(RunJsonKey::shard);
        Text(shard.is_object() && shard.contains("part") ? shard["part"] : shard, path);
    }
    contents.form = json.contains(NameOf(RunJsonKey::nextDeliveries))
                        ? RunJsonForm::withNextDeliveries
                        : RunJsonForm::current;
    return contents;
}

}  // namespace sf
