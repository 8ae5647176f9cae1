#include "results/export_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "results/export_tables.h"
#include "runtime/input_file.h"
#include "runtime/replaced_files.h"
#include "runtime/run_error.h"
#include "runtime/shown_text.h"
#include "runtime/staged_file.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

// What the export files are made of: the results and their coming rows, and the record.
struct ExportContent {
    const RunResults& results;
    const std::vector<NextDelivery>& next;
    const RunRecord& record;
};

struct ExportFile {
    std::string_view name;
    std::string (*text)(const ExportContent& content);
};

constexpr ExportFile kExportFiles[] = {
    {"summary.csv",
     [](const ExportContent& content) { return SummaryCsv(content.results, content.record); }},
    {"series.csv",
     [](const ExportContent& content) {
         return content.record.seriesLeftOut ? std::string() : SeriesCsv(content.results.series);
     }},
    {"tradeoff.csv", [](const ExportContent& content) { return TradeoffCsv(content.results); }},
    {"next.csv",
     [](const ExportContent& content) { return NextCsv(content.results, content.next); }},
    {"run.json",
     [](const ExportContent& content) { return RunJson(content.results, content.record); }},
    // Only when the run was checked on unseen periods.
    {"check.csv", [](const ExportContent& content) { return CheckCsv(content.results); }},
    // Only when the demand was adjusted by a season.
    {"season.csv", [](const ExportContent& content) { return SeasonCsv(content.results.series); }},
};

constexpr std::array<std::string_view, std::size(kExportFiles)> kExportFileNames = [] {
    std::array<std::string_view, std::size(kExportFiles)> names{};
    for (std::size_t at = 0; at < names.size(); ++at) {
        names[at] = kExportFiles[at].name;
    }
    return names;
}();

std::string Named(const fs::path& folder) {
    return "The export folder \"" + folder.string() + "\"";
}

// 0, or why this process may not create or remove entries in the folder.
int WriteRefused(const fs::path& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

bool IsExportEntry(const fs::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    std::error_code ignored;
    return (name == kExportMarker || name == kPoolFile ||
            std::ranges::count(kExportFileNames, name) != 0) &&
           entry.symlink_status(ignored).type() == fs::file_type::regular;
}

// Why the folder's marker was not written by an export, or nothing.
std::optional<std::string> MarkerProblem(const fs::path& folder, const fs::path& target) {
    const fs::path marker = target / kExportMarker;
    std::optional<std::string> text;
    try {
        text = ReadInputFile(marker, kExportMarkerText.size(), StandardInput::refused);
    } catch (const RunError& refusal) {
        return "The marker \"" + marker.string() + "\" " + refusal.what();
    }
    if (!text || *text != kExportMarkerText) {
        return Named(folder) + " holds a marker " + std::string(kExportMarker) +
               " that an export did not write, so it is not an earlier export";
    }
    return std::nullopt;
}

std::optional<std::string> CheckExistingFolder(const fs::path& folder, const fs::path& target) {
    if (const int refused = WriteRefused(target)) {
        return Named(folder) + " could not be written: " + std::strerror(refused);
    }
    // The new folder is made beside it and takes its place there.
    const fs::path parent = FolderOf(target);
    if (const int refused = WriteRefused(parent)) {
        return Named(folder) + " could not be replaced: the folder \"" + parent.string() +
               "\" around it could not be written: " + std::strerror(refused);
    }
    std::error_code error;
    std::vector<std::string> others;
    std::vector<std::string> exported;
    for (const fs::directory_entry& entry : fs::directory_iterator(target, error)) {
        (IsExportEntry(entry) ? exported : others).push_back(entry.path().filename().string());
    }
    if (error) {
        return Named(folder) + " could not be read: " + error.message();
    }
    constexpr std::string_view kGiveAnother =
        ": an export replaces the whole folder, so give a new folder, an empty one or one that "
        "holds an earlier export only";
    if (!others.empty()) {
        return Named(folder) + " holds \"" + *std::ranges::min_element(others) +
               "\", which is not a file of an export" + std::string(kGiveAnother);
    }
    if (exported.empty()) {
        return std::nullopt;
    }
    // Files of an export's names may still be the user's own: only the marker says they are not.
    if (std::ranges::count(exported, kExportMarker) == 0) {
        return Named(folder) + " holds \"" + *std::ranges::min_element(exported) +
               "\" but not the marker " + std::string(kExportMarker) +
               " that an export writes, so it is not an earlier export" + std::string(kGiveAnother);
    }
    if (std::optional<std::string> problem = MarkerProblem(folder, target)) {
        return *problem + std::string(kGiveAnother);
    }
    return std::nullopt;
}

std::optional<std::string> FolderProblem(const fs::path& folder) {
    const fs::path target = FollowLinks(folder);
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        return Named(folder) + " is a symbolic link that leads round in a circle";
    }
    const fs::file_status status = fs::status(target, error);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) {
            return Named(folder) + " is a file, not a folder";
        }
        return CheckExistingFolder(folder, target);
    }
    // Created after the run, so that a refused run leaves no empty folder behind.
    fs::path ancestor = target;
    do {
        ancestor = FolderOf(ancestor);
    } while (!fs::exists(fs::status(ancestor, error)) && ancestor != ".");
    if (!fs::is_directory(fs::status(ancestor, error))) {
        return Named(folder) + " could not be created: \"" + ancestor.string() +
               "\" is a file, not a folder";
    }
    if (const int refused = WriteRefused(ancestor)) {
        return Named(folder) + " could not be created: " + std::strerror(refused);
    }
    return std::nullopt;
}

}  // namespace

std::span<const std::string_view> ExportFileNames() {
    return kExportFileNames;
}

std::string ExportFileList() {
    std::string list;
    for (std::size_t at = 0; at < kExportFileNames.size(); ++at) {
        list += (at == 0 ? "" : at + 1 == kExportFileNames.size() ? " and " : ", ");
        list += kExportFileNames[at];
    }
    return list;
}

std::optional<std::string> CheckExportFolder(const fs::path& folder) {
    // The folder's name and its entries' may hold any byte but "/" and NUL, and the window shows
    // the message as it is.
    if (const std::optional<std::string> problem = FolderProblem(folder)) {
        return ShownEscaped(*problem);
    }
    return std::nullopt;
}

std::vector<std::string_view> ExportEntryNames() {
    std::vector<std::string_view> names(kExportFileNames.begin(), kExportFileNames.end());
    names.push_back(kPoolFile);
    names.push_back(kExportMarker);
    return names;
}

std::string WriteExportFolder(const fs::path& folder, const RunResults& results,
                              const RunRecord& record) {
    return WriteExportFolder(folder, results, NextDeliveries(results), record);
}

std::string WriteExportFolder(const fs::path& folder, const RunResults& results,
                              const std::vector<NextDelivery>& next, const RunRecord& record) {
    // Something may have come into the folder during the run.
    if (const std::optional<std::string> problem = CheckExportFolder(folder)) {
        throw RunError(*problem);
    }
    FolderWrite write(folder, "export", ExportEntryNames());
    return FinishExportFolder(write, results, next, record, {});
}

std::string FinishExportFolder(FolderWrite& write, const RunResults& results,
                               const std::vector<NextDelivery>& next, const RunRecord& record,
                               std::span<const std::string_view> written) {
    std::vector<std::string_view> leftOut;
    const ExportContent content{results, next, record};
    for (const ExportFile& file : kExportFiles) {
        if (std::ranges::count(written, file.name) != 0) {
            continue;
        }
        const std::string text = file.text(content);
        if (text.empty()) {
            leftOut.push_back(file.name);
        } else {
            write.Write({file.name, text});
        }
    }
    // An earlier export may have been a shard's.
    if (std::ranges::count(written, kPoolFile) == 0) {
        leftOut.push_back(kPoolFile);
    }
    write.Write({kExportMarker, kExportMarkerText});
    return write.Replace(leftOut);
}

}  // namespace sf
