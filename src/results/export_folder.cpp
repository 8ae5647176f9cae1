#include "results/export_folder.h"

#include "results/export_tables.h"
#include "runtime/replaced_files.h"

namespace sf {

std::optional<std::string> PrepareExportFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return "The export folder \"" + folder.string() +
               "\" could not be created: " + error.message();
    }
    if (!std::filesystem::is_directory(folder, error)) {
        return "The export folder \"" + folder.string() + "\" is a file, not a folder";
    }
    return std::nullopt;
}

void WriteExportFolder(const std::filesystem::path& folder, const RunResults& results,
                       const RunRecord& record) {
    const std::string summary = SummaryCsv(results, record);
    const std::string series = SeriesCsv(results.series);
    const std::string tradeoff = TradeoffCsv(results);
    const std::string json = RunJson(results, record);
    const FileContent files[] = {
        {folder / "summary.csv", summary},
        {folder / "series.csv", series},
        {folder / "tradeoff.csv", tradeoff},
        {folder / "run.json", json},
    };
    ReplaceFiles(files, "export file");
}

}  // namespace sf
