#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace sf {

// Writes a file through a StagedFile: an existing file is replaced only by a complete one that
// is on the disk, and a failure leaves it as it was. Throws a RunError naming the file as
// "The <kind> "<path>" ..." (kind: "scenario file").
void ReplaceFile(const std::filesystem::path& path, std::string_view content,
                 std::string_view kind);

struct FolderFile {
    std::string_view name;  // within the folder
    std::string_view content;
};

// Replaces a folder by one that holds these files: they are written into a new folder beside
// it, which then takes its place in one step (a rename when the folder is new, an exchange when
// it exists, and the old one is removed), so that a reader never sees files of two writes.
// Where the file system cannot exchange two folders, the files are renamed into the folder one
// by one, each complete, and the returned note says so; otherwise the note is empty. A symbolic
// link to a folder is written through. Throws a RunError naming the folder or the file that
// failed as "The <kind> folder "<path>" ..." or "The <kind> file "<path>" ..." (kind:
// "export"). leftOut: files an earlier write may hold that this one does not write; they go
// with the old folder.
std::string ReplaceFolder(const std::filesystem::path& folder, std::span<const FolderFile> files,
                          std::string_view kind, std::span<const std::string_view> leftOut = {});

}  // namespace sf
