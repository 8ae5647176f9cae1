#include "scenario/scenario_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

#include "runtime/decimal_point_text.h"
#include "runtime/run_error.h"
#include "state/box_keys.h"
#include "state/demand_model.h"
#include "state/run_state.h"

namespace sf {
namespace {

using Json = nlohmann::json;

constexpr char kFormatKey[] = "format";
constexpr char kModelKey[] = "model";
constexpr char kBoxesKey[] = "boxes";
constexpr char kOptionsKey[] = "options";
constexpr char kBoundedConstantsKey[] = "bounded-constants";
// Written only with a season, so that a scenario without one reads as before.
constexpr char kSeasonKey[] = "season";
constexpr char kSeedKey[] = "seed";
constexpr char kHistoryKey[] = "sales_history";
constexpr char kPathKey[] = "path";
constexpr char kDecimalKey[] = "decimal";
constexpr char kHeaderKey[] = "header";
constexpr char kColumnsKey[] = "columns";
constexpr char kMissingKey[] = "missing";
constexpr char kDateOrderKey[] = "date_order";
constexpr char kEncodingKey[] = "encoding";
constexpr char kLayoutKey[] = "layout";
constexpr char kDuplicatesKey[] = "duplicates";
// run.json keeps the scenario of its run under this key, beside what the run gave.
constexpr char kRunScenarioKey[] = "scenario";
constexpr int kFirstFormat = 1;
constexpr char kFormatsRead[] = "this version reads formats 1 and 2";
static_assert(kScenarioFormat == 2, "kFormatsRead names every format this version reads");

// Ends a reading or writing that found something wrong; the message completes the sentence on
// the file.
struct Refusal : RunError {
    using RunError::RunError;
};

// A text in quotes as JSON writes it, so that control characters in a key stay readable.
std::string Quoted(const std::string& text) {
    return Json(text).dump();
}

std::string Listed(auto names) {
    std::string list;
    for (const auto& name : names) {
        list += (list.empty() ? "" : ", ") + std::string(name);
    }
    return list;
}

std::string KindOf(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null:
            return "null";
        case Json::value_t::object:
            return "an object";
        case Json::value_t::array:
            return "a list";
        case Json::value_t::string:
            return "a text";
        case Json::value_t::boolean:
            return "true or false";
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float:
            return "a number";
        case Json::value_t::binary:
        case Json::value_t::discarded:
            break;
    }
    return "a value";
}

void RequireKind(const Json& value, bool isRight, const std::string& path, const char* wanted) {
    if (!isRight) {
        throw Refusal("has " + Quoted(path) + " as " + KindOf(value) + "; it must be " + wanted);
    }
}

// Where a key stands, as "boxes.tau"; a key of the top level stands alone.
std::string PathOf(const std::string& owner, std::string_view key) {
    return owner.empty() ? std::string(key) : owner + "." + std::string(key);
}

// The object's keys must all be known; names the first that is not.
void RequireKnownKeys(const Json& object, const std::string& owner,
                      const std::vector<std::string_view>& known) {
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end()) {
            throw Refusal("has the unknown key " + Quoted(PathOf(owner, key)) + "; " +
                          (owner.empty() ? "a scenario" : Quoted(owner)) + " holds " +
                          Listed(known));
        }
    }
}

// The whole text as JSON, refusing a key that an object holds twice: the parser would keep
// the last of them without a word.
Json ParseJson(std::string_view text) {
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        throw Refusal("is empty");
    }
    std::vector<std::set<std::string>> openObjects;
    std::string repeated;
    const auto watchKeys = [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) {
            openObjects.emplace_back();
        } else if (event == Json::parse_event_t::object_end) {
            openObjects.pop_back();
        } else if (event == Json::parse_event_t::key && repeated.empty() &&
                   !openObjects.back().insert(parsed.get<std::string>()).second) {
            repeated = parsed.get<std::string>();
        }
        return true;
    };
    Json root;
    try {
        root = Json::parse(text.begin(), text.end(), watchKeys);
    } catch (const Json::exception& error) {
        // What the parser says, without its own error number and its word "parse error at".
        std::string reason = error.what();
        reason.erase(0, reason.find("] ") + 2);
        if (reason.rfind("parse error at ", 0) == 0) {
            reason.erase(0, 15);
        }
        throw Refusal("is not JSON: " + reason);
    }
    if (!repeated.empty()) {
        throw Refusal("has the key " + Quoted(repeated) + " twice in one object");
    }
    return root;
}

int ReadFormat(const Json& root) {
    const auto format = root.find(kFormatKey);
    if (format == root.end()) {
        throw Refusal("has no " + Quoted(kFormatKey) + ", so it is not a scenario file");
    }
    RequireKind(*format, format->is_number_integer(), kFormatKey, "a whole number");
    if (*format > kScenarioFormat) {
        throw Refusal("is of format " + format->dump() +
                      ", written by a newer version of this program; " + kFormatsRead);
    }
    if (*format < kFirstFormat) {
        throw Refusal("is of format " + format->dump() +
                      ", which no version of this program wrote; " + kFormatsRead);
    }
    return format->get<int>();
}

DemandModel ReadModel(const Json& model) {
    RequireKind(model, model.is_string(), kModelKey, "a model's name in quotes");
    const std::optional<DemandModel> known = DemandModelFromName(model.get<std::string>());
    if (!known) {
        throw Refusal("names the unknown model " + Quoted(model.get<std::string>()) +
                      "; the models are " + Listed(kDemandModelNames));
    }
    return *known;
}

// A JSON number as the shortest text that reads back to it; a whole number as its digits.
std::string NumberText(const Json& number) {
    if (number.is_number_unsigned()) {
        return std::to_string(number.get<std::uint64_t>());
    }
    if (number.is_number_integer()) {
        return std::to_string(number.get<std::int64_t>());
    }
    // The parser refuses a number beyond a double's range, so the value is finite.
    const double value = number.get<double>();
    char digits[std::numeric_limits<double>::max_digits10 + 16];
    const auto written = std::to_chars(std::begin(digits), std::end(digits), value);
    return std::string(digits, written.ptr);
}

// Format 1 kept a box as typed, in the locale of whoever typed it; a later format and a JSON
// number write a number with a ".", which the box shows in the locale of its reader.
void ReadBoxes(const Json& boxes, int format, const NumberLocale& shownIn, RunInputs& inputs) {
    RequireKind(boxes, boxes.is_object(), kBoxesKey, "an object in braces");
    std::vector<std::string_view> keys;
    for (const BoxKey& box : kBoxKeys) {
        keys.push_back(box.key);
    }
    RequireKnownKeys(boxes, kBoxesKey, keys);
    for (const BoxKey& box : kBoxKeys) {
        const auto text = boxes.find(box.key);
        if (text == boxes.end()) {
            continue;
        }
        const std::string path = PathOf(kBoxesKey, box.key);
        RequireKind(*text, text->is_string() || text->is_number(), path,
                    "a text in quotes, as typed in the box, or a number");
        const std::string written =
            text->is_string() ? text->get<std::string>() : NumberText(*text);
        if (written.size() > kMaxBoxTextBytes) {
            throw Refusal("has a text longer than " + std::to_string(kMaxBoxTextBytes) +
                          " bytes in " + Quoted(path));
        }
        const bool asTyped = text->is_string() && format == kFirstFormat;
        inputs.*box.text = asTyped ? written : WithLocaleDecimal(written, shownIn);
    }
}

std::uint32_t ReadSeed(const Json& seed) {
    constexpr std::uint32_t kLargest = std::numeric_limits<std::uint32_t>::max();
    const bool isSeed = seed.is_number_unsigned() && seed.get<std::uint64_t>() <= kLargest;
    if (!isSeed) {
        throw Refusal("has " + Quoted(kSeedKey) + " as " +
                      (seed.is_number_integer() ? seed.dump() : KindOf(seed)) +
                      "; it must be a whole number from 0 to " + std::to_string(kLargest));
    }
    return seed.get<std::uint32_t>();
}

void ReadOptions(const Json& options, Scenario& scenario) {
    RequireKind(options, options.is_object(), kOptionsKey, "an object in braces");
    RequireKnownKeys(options, kOptionsKey, {kBoundedConstantsKey, kSeasonKey});
    if (const auto bounded = options.find(kBoundedConstantsKey); bounded != options.end()) {
        RequireKind(*bounded, bounded->is_boolean(), PathOf(kOptionsKey, kBoundedConstantsKey),
                    "true or false");
        scenario.boundedConstants = bounded->get<bool>();
    }
    if (const auto season = options.find(kSeasonKey); season != options.end()) {
        const std::uint64_t length =
            season->is_number_unsigned() ? season->get<std::uint64_t>() : std::uint64_t{1};
        if (length == 1 || length > static_cast<std::uint64_t>(kMaxPeriods)) {
            throw Refusal("has " + Quoted(PathOf(kOptionsKey, kSeasonKey)) + " as " +
                          (season->is_number_integer() ? season->dump() : KindOf(*season)) +
                          "; it must be 0 (none) or a whole number from 2 to " +
                          std::to_string(kMaxPeriods));
        }
        scenario.season = season->get<int>();
    }
}

template <typename Choice, std::size_t Count>
Choice ReadChoice(const Json& history, const char* key,
                  const std::array<ChoiceWord<Choice>, Count>& words) {
    const auto word = history.find(key);
    if (word == history.end()) {
        return words[0].choice;
    }
    const std::string path = PathOf(kHistoryKey, key);
    const std::string wanted = WordList(words) + " in quotes";
    RequireKind(*word, word->is_string(), path, wanted.c_str());
    const std::optional<Choice> choice = ChoiceOfWord(words, word->get<std::string>());
    if (!choice) {
        throw Refusal("has " + Quoted(path) + " as " + Quoted(word->get<std::string>()) +
                      "; it must be " + wanted);
    }
    return *choice;
}

HistorySource ReadHistory(const Json& history) {
    RequireKind(history, history.is_object(), kHistoryKey, "an object in braces");
    RequireKnownKeys(history, kHistoryKey,
                     {kPathKey, kDecimalKey, kHeaderKey, kColumnsKey, kMissingKey, kDateOrderKey,
                      kEncodingKey, kLayoutKey, kDuplicatesKey});
    const auto path = history.find(kPathKey);
    const std::string pathName = PathOf(kHistoryKey, kPathKey);
    if (path == history.end()) {
        throw Refusal("has no " + Quoted(pathName) + ": the sales history's file");
    }
    RequireKind(*path, path->is_string() && !path->get<std::string>().empty(), pathName,
                "a file name in quotes");
    HistorySource source;
    source.path = path->get<std::string>();
    source.choices.decimal = ReadChoice(history, kDecimalKey, kDecimalWords);
    source.choices.header = ReadChoice(history, kHeaderKey, kHeaderWords);
    source.choices.missing = ReadChoice(history, kMissingKey, kMissingWords);
    source.choices.dateOrder = ReadChoice(history, kDateOrderKey, kDateOrderWords);
    source.choices.encoding = ReadChoice(history, kEncodingKey, kEncodingWords);
    source.choices.layout = ReadChoice(history, kLayoutKey, kLayoutWords);
    source.choices.duplicates = ReadChoice(history, kDuplicatesKey, kDuplicateWords);
    if (const auto columns = history.find(kColumnsKey); columns != history.end()) {
        const bool threeTexts = columns->is_array() && columns->size() == 3 &&
                                std::ranges::all_of(*columns, [](const Json& column) {
                                    return column.is_string() && !column.get<std::string>().empty();
                                });
        RequireKind(*columns, threeTexts, PathOf(kHistoryKey, kColumnsKey),
                    "a list of three texts: the columns of the names, periods and demand");
        source.choices.columns =
            HistoryColumns{(*columns)[0].get<std::string>(), (*columns)[1].get<std::string>(),
                           (*columns)[2].get<std::string>()};
    }
    return source;
}

nlohmann::ordered_json HistoryJson(const HistorySource& source) {
    nlohmann::ordered_json history;
    const HistoryChoices& choices = source.choices;
    history[kPathKey] = source.path.string();
    history[kDecimalKey] = WordOfChoice(kDecimalWords, choices.decimal);
    history[kHeaderKey] = WordOfChoice(kHeaderWords, choices.header);
    if (choices.columns) {
        history[kColumnsKey] = {choices.columns->name, choices.columns->period,
                                choices.columns->demand};
    }
    history[kMissingKey] = WordOfChoice(kMissingWords, choices.missing);
    history[kDateOrderKey] = WordOfChoice(kDateOrderWords, choices.dateOrder);
    history[kEncodingKey] = WordOfChoice(kEncodingWords, choices.encoding);
    // Written where chosen only, so that a scenario of an earlier version is written as before.
    if (choices.layout != LayoutChoice::found) {
        history[kLayoutKey] = WordOfChoice(kLayoutWords, choices.layout);
    }
    if (choices.duplicates != DuplicateRows::refused) {
        history[kDuplicatesKey] = WordOfChoice(kDuplicateWords, choices.duplicates);
    }
    try {
        history.dump();
    } catch (const Json::type_error&) {
        throw Refusal("cannot keep the sales history's path or columns: they are not UTF-8");
    }
    return history;
}

}  // namespace

std::string ScenarioText(const Scenario& scenario, const NumberLocale& typedIn) {
    nlohmann::ordered_json boxes = nlohmann::ordered_json::object();
    for (const BoxKey& box : kBoxKeys) {
        const std::string text = WithDecimalPoint(scenario.inputs.*box.text, typedIn);
        const std::string name = Quoted(PathOf(kBoxesKey, box.key));
        if (text.size() > kMaxBoxTextBytes) {
            throw Refusal("cannot keep " + name + ": its text is longer than " +
                          std::to_string(kMaxBoxTextBytes) + " bytes");
        }
        try {
            Json(text).dump();
        } catch (const Json::type_error&) {
            throw Refusal("cannot keep " + name + ": its text is not UTF-8");
        }
        boxes[std::string(box.key)] = text;
    }
    nlohmann::ordered_json root;
    root[kFormatKey] = kScenarioFormat;
    root[kModelKey] = DemandModelName(scenario.inputs.model);
    root[kSeedKey] = scenario.seed;
    root[kBoxesKey] = boxes;
    root[kOptionsKey][kBoundedConstantsKey] = scenario.boundedConstants;
    if (scenario.season != 0) {
        root[kOptionsKey][kSeasonKey] = scenario.season;
    }
    if (scenario.history) {
        root[kHistoryKey] = HistoryJson(*scenario.history);
    }
    return root.dump(2) + "\n";
}

Scenario ParseScenario(std::string_view text, const NumberLocale& shownIn) {
    Json root = ParseJson(text);
    if (!root.is_object()) {
        throw Refusal("holds " + KindOf(root) + ", not a scenario object in braces");
    }
    // run.json: its scenario alone, whatever else the run left beside it.
    if (!root.contains(kFormatKey) && root.contains(kRunScenarioKey)) {
        Json scenario = std::move(root[kRunScenarioKey]);
        RequireKind(scenario, scenario.is_object(), kRunScenarioKey, "a scenario object in braces");
        root = std::move(scenario);
    }
    const int format = ReadFormat(root);
    RequireKnownKeys(root, "",
                     {kFormatKey, kModelKey, kSeedKey, kBoxesKey, kOptionsKey, kHistoryKey});
    Scenario scenario;
    if (const auto model = root.find(kModelKey); model != root.end()) {
        scenario.inputs.model = ReadModel(*model);
    }
    if (const auto seed = root.find(kSeedKey); seed != root.end()) {
        scenario.seed = ReadSeed(*seed);
    }
    if (const auto boxes = root.find(kBoxesKey); boxes != root.end()) {
        ReadBoxes(*boxes, format, shownIn, scenario.inputs);
    }
    if (const auto options = root.find(kOptionsKey); options != root.end()) {
        ReadOptions(*options, scenario);
    }
    if (const auto history = root.find(kHistoryKey); history != root.end()) {
        scenario.history = ReadHistory(*history);
    }
    return scenario;
}

std::string HistorySourceText(const HistorySource& source) {
    return HistoryJson(source).dump();
}

HistorySource ParseHistorySource(std::string_view text) {
    return ReadHistory(ParseJson(text));
}

}  // namespace sf
