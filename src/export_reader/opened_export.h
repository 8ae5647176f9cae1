#pragma once

#include <filesystem>
#include <string>

#include "results/run_health.h"
#include "results/run_record.h"
#include "results/run_results.h"
#include "runtime/number_locale.h"

namespace sf {

// The texts of the files of an export folder, as read.
struct ExportFiles {
    std::string summary;
    std::string series;
    std::string tradeoff;
    std::string next;
    std::string runJson;
    std::string check;   // empty: the folder has no check.csv
    std::string season;  // empty: the folder has no season.csv
};

// A complete run rebuilt from its export folder: its series as written, its record as run.json
// tells it, and the figures, answers and health computed from them again.
struct OpenedExport {
    RunResults results;
    RunRecord record;
    RunHealth health;
    RunJsonForm runJsonForm = RunJsonForm::current;  // as the folder's run.json has it
};

// The files of an export folder: the folder must hold the marker an export writes, and each
// file must be a regular file no larger than a table of ours gets. A RunError naming the file.
ExportFiles ReadExportFiles(const std::filesystem::path& folder);

// The run the files were written from. series.csv and run.json are read back; the figures,
// trade-offs and answers are computed from them again, and every file written anew from what
// was computed must be the file the folder holds, byte for byte, so a folder whose files were
// changed or do not belong together is refused. A RunError naming the file, and the row and
// column (the line of run.json) of the first difference. The boxes are shown in `shownIn`.
OpenedExport OpenExport(const ExportFiles& files, const NumberLocale& shownIn);

// Both: the export folder at `folder`.
OpenedExport ReadExportFolder(const std::filesystem::path& folder, const NumberLocale& shownIn);

}  // namespace sf
