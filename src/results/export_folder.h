#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "results/run_record.h"
#include "results/run_results.h"

namespace sf {

// Creates the folder with its parents where missing. The reason when it cannot be used.
std::optional<std::string> PrepareExportFolder(const std::filesystem::path& folder);

// Writes summary.csv, series.csv, tradeoff.csv and run.json into the folder, replacing each
// existing file only once all four are complete. Throws a RunError naming the file that failed.
void WriteExportFolder(const std::filesystem::path& folder, const RunResults& results,
                       const RunRecord& record);

}  // namespace sf
