#include "export_reader/opened_export.h"

#include <algorithm>
#include <new>

#include "export_reader/export_cells.h"
#include "export_reader/file_difference.h"
#include "export_reader/next_proposals.h"
#include "export_reader/run_json_record.h"
#include "export_reader/season_table.h"
#include "export_reader/series_table.h"
#include "history/csv_records.h"
#include "results/export_folder.h"
#include "results/export_tables.h"
#include "runtime/input_file.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

// The marker says only that an export wrote the folder; its text is short.
constexpr std::size_t kLargestMarker = 4096;

std::string ReadFile(const std::filesystem::path& folder, std::string_view name,
                     std::size_t limit) {
    std::optional<std::string> bytes;
    try {
        bytes = ReadInputFile(folder / name, limit, StandardInput::refused);
    } catch (const RunError& refusal) {
        throw RunError(std::string(name) + " " + refusal.what());
    }
    if (!bytes) {
        throw RunError(std::string(name) + " is larger than " + std::to_string(limit >> 20) +
                       " MB, more than an export writes");
    }
    return *std::move(bytes);
}

// What the run's figures say about it, as its own run told it: the sales points that diverged,
// and among the sound ones those whose constants left 0..1 or whose sigma fell below 0.
RunHealth HealthOf(const RunResults& results) {
    RunHealth health;
    const RunFigures& figures = results.figures;
    health.salesPointCount = static_cast<int>(figures.sound.size());
    for (std::size_t at = 0; at < figures.sound.size(); ++at) {
        const int salesPoint = static_cast<int>(at) + 1;
        if (!figures.sound[at]) {
            health.divergedSalesPoints.push_back(salesPoint);
            continue;
        }
        bool constantsLeft = false;
        bool negativeSigma = false;
        for (const EvaluationFigures& evaluated : figures.evaluations) {
            constantsLeft = constantsLeft || evaluated.salesPoints[at].constantsLeft01 > 0;
            negativeSigma = negativeSigma || evaluated.salesPoints[at].negativeSigmaPeriods > 0;
        }
        health.soundConstantsLeft01 += constantsLeft ? 1 : 0;
        health.soundNegativeSigma += negativeSigma ? 1 : 0;
    }
    health.windowsCoverEveryPeriod = results.series.rollingStretch.Empty();
    health.horizonZero = results.series.horizon == 0;
    // Indices of 1 at every position are those of a window that showed no season.
    health.seasonLength = results.series.season.length;
    for (const std::vector<double>& indices : results.series.season.indices) {
        health.seasonFlatSalesPoints +=
            std::ranges::all_of(indices, [](double index) { return index == 1.0; }) ? 1 : 0;
    }
    return health;
}

// The indices of season.csv, which a folder holds exactly when run.json names a season.
SeasonTable SeasonOf(const std::string& text, int length, int salesPoints) {
    if (length == 0) {
        if (!text.empty()) {
            throw RunError("season.csv is in the folder, but run.json names no season");
        }
        return {};
    }
    if (text.empty()) {
        throw RunError("season.csv is missing: run.json names a season of " +
                       std::to_string(length) + " periods");
    }
    return ReadSeasonTable(text, length, salesPoints);
}

}  // namespace

ExportFiles ReadExportFiles(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        throw RunError("\"" + folder.string() + "\" is not a folder");
    }
    std::string marker;
    try {
        marker = ReadFile(folder, kExportMarker, kLargestMarker);
    } catch (const RunError&) {
        throw RunError(std::string(kExportMarker) +
                       " is missing: the folder was not written by an export");
    }
    if (marker != kExportMarkerText) {
        throw RunError(std::string(kExportMarker) +
                       " does not hold what an export writes: the folder was not written by an "
                       "export");
    }
    ExportFiles files;
    for (const auto& [name, text] :
         {std::pair("summary.csv", &files.summary), std::pair("series.csv", &files.series),
          std::pair("tradeoff.csv", &files.tradeoff), std::pair("next.csv", &files.next),
          std::pair("run.json", &files.runJson)}) {
        *text = ReadFile(folder, name, kLargestCsvFile);
    }
    std::error_code absent;
    for (const auto& [name, text] :
         {std::pair("check.csv", &files.check), std::pair("season.csv", &files.season)}) {
        if (std::filesystem::exists(folder / name, absent)) {
            *text = ReadFile(folder, name, kLargestCsvFile);
        }
    }
    return files;
}

OpenedExport OpenExport(const ExportFiles& files, const NumberLocale& shownIn) {
    try {
        RunJsonContents told = ReadRunJson(files.runJson, shownIn);
        OpenedExport opened;
        opened.record = std::move(told.record);
        RunSeries& series = opened.results.series;
        series = ReadSeriesTable(files.series, told.context);
        series.season = SeasonOf(files.season, opened.record.options.season,
                                 static_cast<int>(series.salesPoints.size()));
        if (std::optional<SalesHistory>& history = opened.record.inputs.history) {
            history->salesPoints = static_cast<int>(series.salesPoints.size());
            history->periods = series.periodNumber;
            history->names = series.names;
            // The history's own dates: those of the coming periods only continue them.
            history->dates.assign(
                series.dates.begin(),
                series.dates.begin() +
                    std::min<std::ptrdiff_t>(std::ssize(series.dates), series.periodNumber));
        }
        opened.results.form = FormOfNextTable(files.next);
        opened.results.figures = ComputeFigures(series, opened.results.form);
        AnswerRequest(opened.results, opened.record.request);
        if (opened.results.form == ExportForm::current) {
            opened.results.proposals = ReadProposals(files.next, series);
        }
        RequireSameTable("summary.csv", files.summary, SummaryCsv(opened.results, opened.record));
        RequireSameTable("tradeoff.csv", files.tradeoff, TradeoffCsv(opened.results));
        RequireSameTable("next.csv", files.next, NextCsv(opened.results));
        opened.runJsonForm = told.form;
        RequireSameLines("run.json", files.runJson,
                         RunJson(opened.results, opened.record, opened.runJsonForm));
        RequireSameTable("check.csv", files.check, CheckCsv(opened.results));
        RequireSameTable("season.csv", files.season, SeasonCsv(series));
        // series.csv last: its cells were read back as written, so only its layout can differ.
        RequireSameTable("series.csv", files.series, SeriesCsv(series));
        opened.health = HealthOf(opened.results);
        return opened;
    } catch (const std::bad_alloc&) {
        throw RunError("the folder could not be read: not enough memory");
    }
}

OpenedExport ReadExportFolder(const std::filesystem::path& folder, const NumberLocale& shownIn) {
    return OpenExport(ReadExportFiles(folder), shownIn);
}

}  // namespace sf
