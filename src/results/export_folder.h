#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "results/next_deliveries.h"
#include "results/run_record.h"
#include "results/run_results.h"
#include "runtime/replaced_files.h"

namespace sf {

// Written into every export folder, so that a folder is known to hold an export.
inline constexpr std::string_view kExportMarker = ".sales-forecast-export";
// What the marker holds; every version has written this text, so a folder whose marker holds
// anything else was not written by an export.
inline constexpr std::string_view kExportMarkerText =
    "This folder holds the files of one export of Sales Forecast. The next export into it\n"
    "replaces the whole folder, so it may hold nothing else.\n";

// What a shard of a catalogue exports beside the files of an export: its blocks' sums.
inline constexpr std::string_view kPoolFile = "pool.csv";

// The files an export writes, in the order written; the marker is not among them.
std::span<const std::string_view> ExportFileNames();

// The export files for a message: "summary.csv, series.csv, tradeoff.csv and run.json".
std::string ExportFileList();

// Whether the folder can take an export, found before the run so that a run never ends in an
// export it cannot write: a new folder whose nearest existing parent folder may be written in,
// or a folder that may be written in and is empty or holds an earlier export: export files and
// the marker as an export writes it, nothing else (an export replaces it whole, so anything else
// would be lost). The reason when it cannot, naming the folder and the first other entry
// (escaped as ShownEscaped does). Nothing is created.
std::optional<std::string> CheckExportFolder(const std::filesystem::path& folder);

// Writes the export files and the marker into a folder that then takes the place of the given
// one, with its parents created where missing (see ReplaceFolder). The folder is checked again
// first. Returns a note for the user, empty when there is nothing to say. Throws a RunError
// naming the folder or the file that failed.
std::string WriteExportFolder(const std::filesystem::path& folder, const RunResults& results,
                              const RunRecord& record);
// From the coming rows made already: those of a catalogue, whose results keep no series.
std::string WriteExportFolder(const std::filesystem::path& folder, const RunResults& results,
                              const std::vector<NextDelivery>& next, const RunRecord& record);

// Every name an export folder's entries may have, the marker's too: what a FolderWrite of an
// export is given.
std::vector<std::string_view> ExportEntryNames();

// The export files not yet written (written: those a catalogue wrote as it ran) from the
// results, their coming rows and the record, then the marker, and the folder replaced: the note
// for the user.
std::string FinishExportFolder(FolderWrite& write, const RunResults& results,
                               const std::vector<NextDelivery>& next, const RunRecord& record,
                               std::span<const std::string_view> written);

}  // namespace sf
