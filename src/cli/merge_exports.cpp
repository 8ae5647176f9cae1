#include "cli/merge_exports.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/catalogue_command.h"
#include "cli/cli_options.h"
#include "results/export_folder.h"
#include "results/export_tables.h"
#include "results/next_deliveries.h"
#include "results/number_cells.h"
#include "results/pool_table.h"
#include "results/run_health.h"
#include "results/run_record.h"
#include "results/summary_columns.h"
#include "results/tau_grid.h"
#include "runtime/input_file.h"
#include "runtime/replaced_files.h"
#include "runtime/run_error.h"
#include "runtime/shown_text.h"

namespace sf {
namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

// The cells of next.csv from forecast to the end: none holds a comma or a quote.
constexpr std::size_t kNextTailCells = 10;
constexpr std::size_t kForecastFromEnd = 10;
constexpr std::size_t kSigmaFromEnd = 9;
constexpr std::size_t kCheapestFromEnd = 5;
// summary.csv and next.csv of a shard are read whole; series.csv is copied in parts.
constexpr std::size_t kLargestShardText = std::size_t{1} << 30;

struct Shard {
    fs::path folder;
    ordered_json run;
    int index = 0;
    int count = 0;
    RunHealth health;
    std::vector<BlockSums> blocks;
    std::string summary;
    std::string next;

    std::string Name() const { return "\"" + folder.string() + "\""; }
    int First() const { return blocks.front().first; }
    int End() const { return blocks.back().first + blocks.back().count; }
};

// A shard's text file, read as every file the user gives is (a pipe or device is refused, not
// waited for); none where the folder has no such entry.
std::optional<std::string> ReadText(const fs::path& path) {
    if (!fs::exists(fs::symlink_status(path))) {
        return std::nullopt;
    }
    const std::string shown = "The export file \"" + path.string() + "\" ";
    std::optional<std::string> text;
    try {
        text = ReadInputFile(path, kLargestShardText, StandardInput::refused);
    } catch (const RunError& refusal) {
        throw RunError(shown + refusal.what());
    }
    if (!text) {
        throw RunError(shown + "is larger than " + std::to_string(kLargestShardText >> 20) +
                       " MB, more than an export writes");
    }
    return text;
}

std::string RequiredText(const fs::path& folder, std::string_view file, std::string_view why) {
    std::optional<std::string> text = ReadText(folder / file);
    if (!text) {
        throw RunError("\"" + folder.string() + "\" holds no " + std::string(file) + ": " +
                       std::string(why));
    }
    return std::move(*text);
}

// The shard's part, "K/N", and its health, from its run.json.
void ReadShardMember(Shard& shard) {
    const auto member = shard.run.find("shard");
    const ordered_json& part = member != shard.run.end() && member->is_object()
                                   ? member->value("part", ordered_json())
                                   : ordered_json();
    const std::string text = part.is_string() ? part.get<std::string>() : std::string();
    const char* const last = text.data() + text.size();
    const auto [slash, error] = std::from_chars(text.data(), last, shard.index);
    const bool read = error == std::errc() && slash != last && *slash == '/' &&
                      std::from_chars(slash + 1, last, shard.count).ptr == last;
    if (!read || shard.index < 1 || shard.index > shard.count) {
        throw RunError(shard.Name() +
                       ": its run.json names no shard \"K/N\", so it is not the "
                       "export of a shard (--shard K/N)");
    }
    const ordered_json& health = member->at("health");
    shard.health.salesPointCount = health.at("sales_points").get<int>();
    shard.health.divergedSalesPoints = health.at("diverged_sales_points").get<std::vector<int>>();
    shard.health.windowsCoverEveryPeriod = health.at("windows_cover_every_period").get<bool>();
    shard.health.soundConstantsLeft01 = health.at("sound_constants_left_0_1").get<int>();
    shard.health.soundNegativeSigma = health.at("sound_negative_sigma").get<int>();
    shard.health.horizonZero = health.at("horizon_zero").get<bool>();
    shard.health.seasonLength = health.at("season_length").get<int>();
    shard.health.seasonFlatSalesPoints = health.at("season_flat_sales_points").get<int>();
}

Shard ReadShard(const fs::path& folder) {
    Shard shard;
    shard.folder = folder;
    const std::string json = RequiredText(folder, "run.json", "it is not an export");
    try {
        shard.run = ordered_json::parse(json);
    } catch (const nlohmann::json::exception&) {
        throw RunError(shard.Name() + ": its run.json is not JSON");
    }
    ReadShardMember(shard);
    const std::string pool =
        RequiredText(folder, kPoolFile, "it is not the export of a shard (--shard K/N)");
    shard.blocks = ReadPoolCsv(pool, (folder / kPoolFile).string());
    if (shard.blocks.empty()) {
        throw RunError(shard.Name() + ": its pool.csv holds no block");
    }
    shard.summary = RequiredText(folder, "summary.csv", "it is not a complete export");
    shard.next = RequiredText(folder, "next.csv", "it is not a complete export");
    return shard;
}

// What must be alike in shards of one run.
bool SameRun(const ordered_json& one, const ordered_json& other) {
    for (const char* member : {"program", "version", "demand_file", "scenario", "options", "tau"}) {
        if (one.value(member, ordered_json()) != other.value(member, ordered_json())) {
            return false;
        }
    }
    return true;
}

std::string SalesPoints(int first, int last) {
    return "sales points " + std::to_string(first) + " to " + std::to_string(last);
}

// Why the shards do not make one catalogue: different runs, gaps or overlaps; they are sorted
// by their first sales point.
std::optional<std::string> MergeProblem(std::vector<Shard>& shards) {
    for (const Shard& shard : shards) {
        if (!SameRun(shards.front().run, shard.run) || shard.count != shards.front().count) {
            return shards.front().Name() + " and " + shard.Name() +
                   " hold shards of different runs: their run.json options differ";
        }
    }
    std::ranges::sort(shards, {}, &Shard::First);
    if (shards.front().First() != 1) {
        return SalesPoints(1, shards.front().First() - 1) +
               " are in none of the folders: they come before " + shards.front().Name();
    }
    for (std::size_t at = 1; at < shards.size(); ++at) {
        const Shard& before = shards[at - 1];
        const Shard& shard = shards[at];
        if (shard.First() < before.End()) {
            return before.Name() + " and " + shard.Name() + " both hold " +
                   SalesPoints(shard.First(), std::min(before.End(), shard.End()) - 1);
        }
        if (shard.First() > before.End()) {
            return SalesPoints(before.End(), shard.First() - 1) +
                   " are in none of the folders: they come between " + before.Name() + " and " +
                   shard.Name();
        }
    }
    const Shard& last = shards.back();
    if (last.index != last.count || static_cast<int>(shards.size()) != last.count) {
        return "the folders hold " + std::to_string(shards.size()) + " of the " +
               std::to_string(last.count) + " shards: those after " + last.Name() + " are missing";
    }
    return std::nullopt;
}

// The records of a CSV text, each with its line end; a quoted cell may hold line ends.
std::vector<std::string_view> Records(std::string_view text) {
    std::vector<std::string_view> records;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '"') {
            quoted = !quoted;
        } else if (text[at] == '\n' && !quoted) {
            records.push_back(text.substr(start, at + 1 - start));
            start = at + 1;
        }
    }
    return records;
}

// Where the cells counted from the end of a record begin: just after the comma before them.
std::size_t CellsFromEnd(std::string_view record, std::size_t cells) {
    std::size_t at = record.size();
    for (std::size_t k = 0; k < cells; ++k) {
        at = record.rfind(',', at - 1);
        if (at == std::string_view::npos || at == 0) {
            throw RunError("a row of an export holds fewer cells than its header");
        }
    }
    return at + 1;
}

// The cells of a record's numeric tail, which holds no quote.
std::vector<std::string_view> TailCells(std::string_view record, std::size_t cells) {
    std::string_view tail = record.substr(CellsFromEnd(record, cells));
    tail.remove_suffix(1);  // the line end
    std::vector<std::string_view> split;
    for (std::size_t start = 0;;) {
        const std::size_t comma = tail.find(',', start);
        split.push_back(tail.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return split;
        }
        start = comma + 1;
    }
}

double Number(std::string_view cell, const Shard& shard) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (error != std::errc() || end != cell.data() + cell.size()) {
        throw RunError(shard.Name() + ": next.csv holds \"" + std::string(cell) +
                       "\" where a number belongs");
    }
    return value;
}

}  // namespace

namespace {

std::optional<OutcomeCosts> CostsOf(const ordered_json& options) {
    const ordered_json& lost = options.at("lost_sale_cost");
    const ordered_json& returned = options.at("return_cost");
    if (lost.is_null() || returned.is_null()) {
        return std::nullopt;
    }
    return OutcomeCosts{lost.get<double>(), returned.get<double>()};
}

TauGrid GridOf(const ordered_json& options) {
    const ordered_json& grid = options.at("tau_grid");
    return {grid.at("from").get<double>(), grid.at("to").get<double>(),
            grid.at("step").get<double>()};
}

PeriodStretch StretchOf(const ordered_json& totals, Evaluation evaluation) {
    const ordered_json& evaluated = totals.at(std::string(EvaluationName(evaluation)));
    if (evaluated.at("first_period").is_null()) {
        return {1, 0};
    }
    return {evaluated.at("first_period").get<int>(), evaluated.at("last_period").get<int>()};
}

// The pooled rows, the trade-offs and the cheapest grid tau: every block's sums added in block
// order, as the whole run adds them.
RunResults PoolShards(const std::vector<Shard>& shards) {
    RunResults results;
    std::array<TradeoffSums, kEvaluations.size()> tradeoff;
    bool first = true;
    for (const Shard& shard : shards) {
        for (const BlockSums& block : shard.blocks) {
            RunFigures figures;
            for (std::size_t k = 0; k < kEvaluations.size(); ++k) {
                figures.evaluations[k].soundSums = block.sound[k];
                figures.evaluations[k].allSums = block.all[k];
                PoolTradeoffSums(tradeoff[k], TradeoffSums(block.tradeoff[k]), first);
            }
            PoolFigures(results.figures, figures, first);
            first = false;
        }
    }
    FinishPooledFigures(results.figures);
    const ordered_json& run = shards.front().run;
    const ordered_json& options = run.at("options");
    const double tau = run.at("tau").get<double>();
    const std::optional<OutcomeCosts> costs = CostsOf(options);
    const std::vector<double> taus = GridTaus(GridOf(options), tau);
    for (const Evaluation evaluation : kEvaluations) {
        const std::size_t k = IndexOf(evaluation);
        results.figures.evaluations[k].evaluation = evaluation;
        results.figures.evaluations[k].stretch = StretchOf(run.at("totals"), evaluation);
        results.answers[k].tradeoff = TradeoffRows(tradeoff[k], taus, tau, costs);
        results.answers[k].cheapest = CheapestTau(results.answers[k].tradeoff);
    }
    if (costs) {
        results.normalTheory = NormalTheoryTau(*costs);
    }
    return results;
}

// summary.csv: per evaluation the shards' sales points' rows, then the pooled rows in the
// first shard's keys.
std::string MergedSummary(const std::vector<Shard>& shards, const RunResults& pooled) {
    std::string csv;
    for (const Evaluation evaluation : kEvaluations) {
        const std::size_t k = IndexOf(evaluation);
        for (const Shard& shard : shards) {
            const std::vector<std::string_view> records = Records(shard.summary);
            const std::size_t count = shard.run.at("sales_points").get<std::size_t>();
            if (records.size() != 1 + kEvaluations.size() * (count + 2)) {
                throw RunError(shard.Name() + ": summary.csv does not hold the rows of the " +
                               std::to_string(count) + " sales points its run.json counts");
            }
            if (csv.empty()) {
                csv = records.front();
            }
            const auto rows = records.begin() + static_cast<std::ptrdiff_t>(1 + k * (count + 2));
            for (auto row = rows; row != rows + static_cast<std::ptrdiff_t>(count); ++row) {
                csv += *row;
            }
            if (&shard != &shards.back()) {
                continue;
            }
            const EvaluationFigures& figures = pooled.figures.evaluations[k];
            for (const auto& [at, row] :
                 {std::pair(count, &figures.sound), std::pair(count + 1, &figures.all)}) {
                const std::string_view record = rows[static_cast<std::ptrdiff_t>(at)];
                csv += record.substr(0, CellsFromEnd(record, kSummaryColumns.size()) - 1);
                csv += SummaryCells(*row);
            }
        }
    }
    return csv;
}

// The sales points whose coming rows diverged, and how many of them have their proposals from
// the constants within 0 and 1.
struct ComingDivergence {
    int diverged = 0;
    int kept = 0;
    std::string_view last;  // the sales point of the last row that diverged
};

void CountDivergence(ComingDivergence& count, std::string_view record,
                     const std::vector<std::string_view>& cells) {
    const std::string_view salesPoint = record.substr(0, record.find(','));
    if (cells[kNextTailCells - 3] != "1" || salesPoint == count.last) {
        return;
    }
    count.last = salesPoint;
    ++count.diverged;
    if (cells[kNextTailCells - 1] == ProposalSourceName(ProposalSource::constants01)) {
        ++count.kept;
    }
}

// next.csv: the shards' rows, each delivery at the cheapest tau again from its forecast and
// sigma at the pooled cheapest tau.
std::string MergedNext(const std::vector<Shard>& shards, const RunResults& pooled,
                       ComingDivergence& divergence) {
    std::string csv;
    AtTaus taus;
    if (const std::optional<CostAnswer>& cheapest =
            pooled.Answers(Evaluation::asForecast).cheapest) {
        taus.cheapest = cheapest->tau;
    }
    for (const Shard& shard : shards) {
        const std::vector<std::string_view> records = Records(shard.next);
        for (std::size_t at = 0; at < records.size(); ++at) {
            if (at == 0) {
                csv += csv.empty() ? records.front() : std::string_view();
                continue;
            }
            const std::string_view record = records[at];
            const std::vector<std::string_view> cells = TailCells(record, kNextTailCells);
            CountDivergence(divergence, record, cells);
            std::vector<NextDelivery> row(1);
            row[0].forecast = Number(cells[kNextTailCells - kForecastFromEnd], shard);
            row[0].sigma = Number(cells[kNextTailCells - kSigmaFromEnd], shard);
            DeliverAtAnsweredTaus(row, taus);
            const std::size_t begin = CellsFromEnd(record, kCheapestFromEnd);
            const std::size_t end = record.find(',', begin);
            csv += record.substr(0, begin);
            AppendCell(csv, row[0].delivery.cheapest);
            csv += record.substr(end);
        }
    }
    return csv;
}

// run.json: the first shard's, its pooled members those of the whole, without the shard.
std::string MergedRunJson(const std::vector<Shard>& shards, const RunResults& pooled,
                          const ComingDivergence& divergence) {
    ordered_json json = shards.front().run;
    json.erase("shard");
    long long salesPoints = 0;
    long long sound = 0;
    for (const Shard& shard : shards) {
        salesPoints += shard.run.at("sales_points").get<long long>();
        sound += shard.run.at("sound_sales_points").get<long long>();
    }
    json["sales_points"] = salesPoints;
    json["sound_sales_points"] = sound;
    const ordered_json members = ordered_json::parse(PooledRunJsonMembers(pooled));
    for (const auto& [name, value] : members.items()) {
        json[name] = value;
    }
    RunHealth health;
    for (const Shard& shard : shards) {
        JoinRunHealth(health, shard.health, 1);
    }
    constexpr std::string_view kBounded = "--bounded-constants";
    json["warnings"] = HealthWarnings(health, kBounded);
    std::vector<std::string> notes = HealthNotes(health);
    if (divergence.diverged > 0) {
        notes.push_back(ProposalNoteOf(divergence.kept, divergence.diverged, kBounded));
    }
    json["notes"] = notes;
    return json.dump(2, ' ', false, ordered_json::error_handler_t::replace) + '\n';
}

}  // namespace

namespace {

// A shard's file into the write in parts, so that a large series.csv is never held whole; the
// header only where asked for.
void AppendFile(FolderWrite& write, const fs::path& path, std::string_view file, bool header) {
    if (!fs::is_regular_file(path)) {  // a pipe would hold the merge
        throw RunError("The export file \"" + path.string() + "\" is not a file");
    }
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (header) {
        write.Append({file, line + '\n'});
    }
    std::string part(std::size_t{1} << 20, '\0');
    while (in.read(part.data(), static_cast<std::streamsize>(part.size())) || in.gcount() > 0) {
        write.Append({file, std::string_view(part.data(), static_cast<std::size_t>(in.gcount()))});
    }
    if (in.bad() || line.empty()) {
        throw RunError("The export file \"" + path.string() + "\" could not be read");
    }
}

// A file whose rows every shard holds, or none does (series.csv, season.csv): the first header
// and every shard's rows. Whether it was written.
bool AppendJoined(FolderWrite& write, const std::vector<Shard>& shards, std::string_view file) {
    const bool held = fs::exists(shards.front().folder / file);
    for (const Shard& shard : shards) {
        if (fs::exists(shard.folder / file) != held) {
            throw RunError(shards.front().Name() + " and " + shard.Name() + " differ in holding " +
                           std::string(file));
        }
        if (held) {
            AppendFile(write, shard.folder / file, file, &shard == &shards.front());
        }
    }
    return held;
}

std::string WriteMerged(const fs::path& out, const std::vector<Shard>& shards) {
    if (const std::optional<std::string> problem = CheckExportFolder(out)) {
        throw RunError(*problem);
    }
    const RunResults pooled = PoolShards(shards);
    FolderWrite write(out, "export", ExportEntryNames());
    std::vector<std::string_view> leftOut = {kPoolFile, "check.csv"};
    for (const std::string_view file : {"series.csv", "season.csv"}) {
        if (!AppendJoined(write, shards, file)) {
            leftOut.push_back(file);
        }
    }
    write.Write({"summary.csv", MergedSummary(shards, pooled)});
    write.Write({"tradeoff.csv", TradeoffCsv(pooled)});
    ComingDivergence divergence;
    write.Write({"next.csv", MergedNext(shards, pooled, divergence)});
    write.Write({"run.json", MergedRunJson(shards, pooled, divergence)});
    write.Write({kExportMarker, kExportMarkerText});
    return write.Replace(leftOut);
}

}  // namespace

int RunMergeExports(const std::vector<std::string>& arguments, std::ostream& err) {
    std::vector<fs::path> folders;
    std::optional<fs::path> out;
    for (std::size_t at = 1; at < arguments.size(); ++at) {
        if (arguments[at] == "--export" && at + 2 == arguments.size()) {
            out = arguments[at + 1];
            break;
        }
        folders.emplace_back(arguments[at]);
    }
    if (folders.empty() || !out) {
        err << UsageError(
            "--merge-exports needs the shards' export folders, then --export OUT "
            "last: --merge-exports DIR... --export OUT");
        return 2;
    }
    try {
        std::vector<Shard> shards;
        for (const fs::path& folder : folders) {
            shards.push_back(ReadShard(folder));
        }
        if (const std::optional<std::string> problem = MergeProblem(shards)) {
            throw RunError(*problem);
        }
        const std::string note = WriteMerged(*out, shards);
        if (!note.empty()) {
            err << ShownEscaped(note) << '\n';
        }
    } catch (const RunError& error) {
        err << ShownEscaped(error.what()) << '\n';
        return 1;
    } catch (const nlohmann::json::exception&) {
        err << "A shard's run.json lacks a member an export writes: it is not an export of this "
               "program's version\n";
        return 1;
    }
    return 0;
}

}  // namespace sf
