#include "cli/option_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "runtime/invariants.h"
#include "state/run_state.h"
#include "state/season.h"

namespace sf {
namespace {

// Where --help starts an option's description; a longer option stands on a line of its own.
constexpr std::size_t kHelpColumn = 29;

// The models as --model takes them, the one the window starts with marked.
std::string ModelList() {
    std::string list;
    for (const DemandModelRow& row : kDemandModels) {
        list += (list.empty() ? "" : ", ") + std::string(row.name) +
                (row.model == RunInputs().model ? " (default)" : "");
    }
    return list;
}

bool TakeModel(std::string_view, const std::string& value, GivenOptions& given,
               std::string& problem) {
    given.model = DemandModelFromName(value);
    if (!given.model) {
        problem = "unknown model \"" + value + "\"";
    }
    return given.model.has_value();
}

// A file the option names; an empty name is refused.
bool TakePath(std::string_view name, const std::string& value, GivenOptions& given,
              std::string& problem) {
    if (value.empty()) {
        problem = std::string(name) + " needs a file name";
        return false;
    }
    CliOptions& options = given.options;
    if (name == "--demand") {
        options.demand = value;
    } else if (name == "--output") {
        options.output = value;
        options.outputGiven = true;
    } else {
        (name == "--scenario" ? options.scenario : options.saveScenario) = value;
    }
    return true;
}

bool TakeRunCount(std::string_view, const std::string& value, GivenOptions& given,
                  std::string& problem) {
    int count = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (error != std::errc() || end != value.data() + value.size() || count < 1) {
        problem = "--runs needs a whole number of at least 1, not \"" + value + "\"";
        return false;
    }
    given.options.runs = count;
    return true;
}

bool TakeSeason(std::string_view, const std::string& value, GivenOptions& given,
                std::string& problem) {
    int length = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (error != std::errc() || end != value.data() + value.size() ||
        !(length == kNoSeason || (SeasonSet(length) && length <= kMaxPeriods))) {
        problem = "--season needs 0 (none) or a whole number from 2 to " +
                  std::to_string(kMaxPeriods) + ", not \"" + value + "\"";
        return false;
    }
    given.options.run.season = length;
    return true;
}

bool TakeJobs(std::string_view, const std::string& value, GivenOptions& given,
              std::string& problem) {
    int count = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (error != std::errc() || end != value.data() + value.size() || count < 1 || count > 1024) {
        problem = "--jobs needs a whole number from 1 to 1024, not \"" + value + "\"";
        return false;
    }
    given.options.jobs = count;
    return true;
}

bool TakeShard(std::string_view, const std::string& value, GivenOptions& given,
               std::string& problem) {
    CatalogueShard shard;
    const char* const last = value.data() + value.size();
    const std::from_chars_result index = std::from_chars(value.data(), last, shard.index);
    bool read = index.ec == std::errc() && index.ptr != last && *index.ptr == '/';
    if (read) {
        const std::from_chars_result count = std::from_chars(index.ptr + 1, last, shard.count);
        read = count.ec == std::errc() && count.ptr == last;
    }
    if (!read || shard.count < 1 || shard.index < 1 || shard.index > shard.count) {
        problem = "--shard needs K/N with whole numbers 1 <= K <= N, not \"" + value + "\"";
        return false;
    }
    given.options.shard = shard;
    return true;
}

// The merge is a command of its own, which main takes before the options are read.
bool TakeMergeElsewhere(std::string_view, const std::string&, GivenOptions&, std::string& problem) {
    problem =
        "--merge-exports comes first and alone: sales-forecast-cli --merge-exports DIR... "
        "--export OUT";
    return false;
}

// Whether an option of the table was taken by the code of its group, which must know it.
bool Taken(OptionUse use) {
    if (use == OptionUse::notMine) {
        BreakInvariant("an option of the table that the code of its group does not take");
    }
    return use == OptionUse::taken;
}

bool TakeHistory(std::string_view name, const std::string& value, GivenOptions& given,
                 std::string& problem) {
    return Taken(TakeHistoryOption(std::string(name), value, given.options.history, problem));
}

bool TakeResults(std::string_view name, const std::string& value, GivenOptions& given,
                 std::string& problem) {
    return Taken(TakeResultsOption(std::string(name), value, given.options.results, problem));
}

constexpr auto kOptions = std::to_array<CliOption>({
    {"--model", "", "NAME", OptionGroup::boxes, "", ModelList, TakeModel, nullptr},
    {"--example", "", "", OptionGroup::run,
     "fill the boxes with a small loga scenario; other options win", nullptr, nullptr,
     [](GivenOptions& given) -> bool& { return given.example; }},
    {"--scenario", "", "FILE", OptionGroup::run,
     "read the boxes, the model, the options and the seed from a\n"
     "scenario file (or the run.json of an export); other options win",
     nullptr, TakePath, nullptr},
    {"--save-scenario", "", "FILE", OptionGroup::run,
     "write the boxes, the model, the options and the seed as given\n"
     "to a scenario file, then run as usual",
     nullptr, TakePath, nullptr},
    {"--demand", "", "FILE", OptionGroup::run,
     "read the demand from a sales history instead of drawing it: CSV\n"
     "with a comma, semicolon or tab, wide (a column per sales point,\n"
     "an optional header of names and first column of dates), rows (a\n"
     "row per sales point: names, then the periods across) or long\n"
     "(a name, a period or date and a demand column); the file gives\n"
     "the sales points and periods, the model and its limits are not\n"
     "used",
     nullptr, TakePath, nullptr},
    {"--history-layout", "", "wide|rows|long|auto", OptionGroup::run,
     "how the history holds its sales points, where the file leaves it\n"
     "open (auto: found from the header's words and the cells)",
     nullptr, TakeHistory, nullptr},
    {"--history-columns", "", "NAME,PERIOD,DEMAND", OptionGroup::run,
     "the columns of a long history (header names or numbers from 1;\n"
     "a sales point of several columns as store+article) when the\n"
     "reader should not find them by their words or content",
     nullptr, TakeHistory, nullptr},
    {"--history-duplicates", "", "sum|refuse", OptionGroup::run,
     "add up a long history's rows of one sales point and period\n"
     "(default: refuse them)",
     nullptr, TakeHistory, nullptr},
    {"--history-header", "", "yes|no|auto", OptionGroup::run,
     "whether row 1 of the history holds names (auto: when a cell in it\n"
     "is not a number)",
     nullptr, TakeHistory, nullptr},
    {"--history-decimal", "", "comma|point|auto", OptionGroup::run,
     "the history's decimal separator; needed when a semicolon or tab\n"
     "file holds only numbers like 1.687 (auto: a comma when a number\n"
     "holds one)",
     nullptr, TakeHistory, nullptr},
    {"--history-missing", "", "zero|refuse", OptionGroup::run,
     "read a long history's missing rows, and periods no row names,\n"
     "as demand 0 (default: refuse)",
     nullptr, TakeHistory, nullptr},
    {"--history-date-order", "", "dmy|mdy|auto", OptionGroup::run,
     "whether slashed dates are day first (01/03/2024) or month first;\n"
     "needed when every date reads both ways (auto: as the dates say)",
     nullptr, TakeHistory, nullptr},
    {"--history-encoding", "", "utf-8|windows-1252|auto", OptionGroup::run,
     "the text of a history that is not UTF-16 (auto: UTF-8, else\n"
     "Windows-1252 when every byte maps)",
     nullptr, TakeHistory, nullptr},
    {"--bounded-constants", "", "", OptionGroup::run, "keep the smoothing constants within 0 and 1",
     nullptr, nullptr,
     [](GivenOptions& given) -> bool& { return given.options.run.boundedConstants; }},
    {"--season", "", "M", OptionGroup::run,
     "divide each sales point's demand by season indices of M periods\n"
     "(7 for weekdays, 12 for months) found in periods 1..S, which\n"
     "must hold 2M + 1; forecasts and deliveries follow the pattern\n"
     "(default 0: none)",
     nullptr, TakeSeason, nullptr},
    {"--runs", "", "K", OptionGroup::run,
     "K runs in one start; each rewrites the report (default 1)", nullptr, TakeRunCount, nullptr},
    {"--output", "", "PATH", OptionGroup::run,
     "report file (default out.txt); a catalogue run writes none\n"
     "and refuses it",
     nullptr, TakePath, nullptr},
    {"--jobs", "", "N", OptionGroup::run,
     "threads of a catalogue run (a sales history beyond 100 sales\n"
     "points or 600 periods) in all; its blocks of 100 sales points\n"
     "run side by side (default: one per core)",
     nullptr, TakeJobs, nullptr},
    {"--shard", "", "K/N", OptionGroup::run,
     "run only the K-th of N contiguous slices of a catalogue's blocks\n"
     "and export it with pool.csv, for --merge-exports to join; needs\n"
     "--export DIR, refuses the target options and --check-from",
     nullptr, TakeShard, nullptr},
    {"--merge-exports", "", "DIR...", OptionGroup::run,
     "first and alone, then --export OUT: join the shards' exports in\n"
     "the DIRs into OUT, the folder the whole catalogue's run writes",
     nullptr, TakeMergeElsewhere, nullptr},
    {"--quiet", "", "", OptionGroup::run, "print only errors on stderr: no warnings, no notices",
     nullptr, nullptr, [](GivenOptions& given) -> bool& { return given.options.quiet; }},
    {"--export", "", "DIR", OptionGroup::results,
     "replace the folder DIR, in one step once the run is complete, by\n"
     "one holding summary.csv, series.csv, tradeoff.csv, next.csv and\n"
     "run.json (check.csv with --check-from, season.csv with --season);\n"
     "DIR must be new, empty or hold an earlier export only",
     nullptr, TakeResults, nullptr},
    {"--export-series", "", "", OptionGroup::results,
     "write series.csv in the export of a catalogue run too (left out\n"
     "without it: a row per sales point and period)",
     nullptr, nullptr,
     [](GivenOptions& given) -> bool& { return given.options.results.exportSeries; }},
    {"--summary", "", "", OptionGroup::results,
     "print after the closing message (after every run) the fill\n"
     "rate, cycle service level, lost sales and returns of the sound\n"
     "sales points as forecast and as reported, the notes, the\n"
     "answers below and the deliveries to decide now",
     nullptr, nullptr, [](GivenOptions& given) -> bool& { return given.options.results.summary; }},
    {"--next", "", "", OptionGroup::results,
     "print next.csv, what to deliver in the coming periods, on\n"
     "stdout and nothing else (after the last run); the closing\n"
     "message and --summary go to stderr",
     nullptr, nullptr, [](GivenOptions& given) -> bool& { return given.options.results.next; }},
    {"--tau-grid", "", "FROM:TO:STEP", OptionGroup::results,
     "the taus of the trade-off (default 0:3:0.1), at most 10001; the\n"
     "run's own tau is added",
     nullptr, TakeResults, nullptr},
    {"--target-fill-rate", "", "X", OptionGroup::results,
     "the smallest tau whose fill rate reaches X (0 < X <= 1)", nullptr, TakeResults, nullptr},
    {"--target-service-level", "", "X", OptionGroup::results,
     "the smallest tau whose cycle service level reaches X (0 < X <= 1)", nullptr, TakeResults,
     nullptr},
    {"--lost-sale-cost", "", "C", OptionGroup::results, "", nullptr, TakeResults, nullptr},
    {"--return-cost", "", "C", OptionGroup::results,
     "the cost of a unit lost and of a unit returned (both, 0 to 1e15):\n"
     "the cost of each tau, the cheapest tau of the grid, the\n"
     "normal-theory tau and the cost tau",
     nullptr, TakeResults, nullptr},
    {"--check-from", "", "T", OptionGroup::results,
     "choose every tau answer on the periods before T and report in\n"
     "check.csv and --summary what each reached on T..P\n"
     "(S + A + H + 1 < T <= P)",
     nullptr, TakeResults, nullptr},
    {"--seed", "", "N", OptionGroup::results,
     "start the random sequence from N (0 to 4294967295, default 5489)", nullptr, TakeResults,
     nullptr},
    {"--help", "-h", "", OptionGroup::program, "print this help", nullptr, nullptr,
     [](GivenOptions& given) -> bool& { return given.options.help; }},
    {"--version", "", "", OptionGroup::program, "print the program's name and version", nullptr,
     nullptr, [](GivenOptions& given) -> bool& { return given.options.version; }},
});

// "-h, --help" or "--demand FILE".
std::string Spelled(const CliOption& option) {
    return (option.alias.empty() ? "" : std::string(option.alias) + ", ") +
           std::string(option.name) + (option.value.empty() ? "" : " " + std::string(option.value));
}

}  // namespace

std::span<const CliOption> CliOptionTable() {
    return kOptions;
}

const CliOption* FindCliOption(std::string_view name) {
    const auto found = std::ranges::find_if(kOptions, [name](const CliOption& option) {
        return option.name == name || (!option.alias.empty() && option.alias == name);
    });
    return found == kOptions.end() ? nullptr : &*found;
}

std::string OptionLines(OptionGroup group) {
    std::string lines;
    std::string names;  // of the rows the next row's help describes too
    for (const CliOption& option : kOptions) {
        if (option.group != group) {
            continue;
        }
        names += (names.empty() ? "" : ", ") + Spelled(option);
        const std::string help =
            option.helpOf != nullptr ? option.helpOf() : std::string(option.help);
        if (help.empty()) {
            continue;
        }
        const std::string start = "  " + names;
        lines += start.size() + 2 <= kHelpColumn
                     ? start + std::string(kHelpColumn - start.size(), ' ')
                     : start + '\n' + std::string(kHelpColumn, ' ');
        for (const char c : help) {
            lines += c;
            if (c == '\n') {
                lines += std::string(kHelpColumn, ' ');
            }
        }
        lines += '\n';
        names.clear();
    }
    return lines;
}

std::string HistoryOptionNames() {
    std::vector<std::string_view> names;
    for (const CliOption& option : kOptions) {
        if (option.take == TakeHistory) {
            names.push_back(option.name);
        }
    }
    std::string list;
    for (std::size_t at = 0; at < names.size(); ++at) {
        list += (at == 0 ? "" : at + 1 == names.size() ? " and " : ", ") + std::string(names[at]);
    }
    return list;
}

}  // namespace sf
