#include "ui/run_export.h"

#include <QFile>
#include <filesystem>
#include <string>

#include "results/export_folder.h"
#include "runtime/file_clashes.h"
#include "runtime/run_error.h"

namespace sf::ui {

WrittenExport ExportRun(const QString& folder, const CompletedRun& run) {
    const std::filesystem::path path(QFile::encodeName(folder).toStdString());
    const RunRecord& record = run.record;
    const UsedPath paths[] = {
        {"the export folder", path, PathUse::replaced},
        {"the report", record.reportPath, PathUse::written},
        {"the sales history", record.inputs.history ? record.inputs.history->file : "",
         PathUse::read},
    };
    std::optional<std::string> problem = FindPathClash(paths);
    if (!problem) {
        problem = CheckExportFolder(path);
    }
    std::string note;
    if (!problem) {
        try {
            note = WriteExportFolder(path, run.results, ComingRows(run), record);
        } catch (const RunError& error) {
            problem = error.what();
        }
    }
    if (problem) {
        return {QString::fromStdString(*problem), {}};
    }
    return {std::nullopt,
            QStringLiteral("%1 written into %2 %3")
                .arg(QString::fromStdString(ExportFileList()), folder, QString::fromStdString(note))
                .trimmed()};
}

}  // namespace sf::ui
