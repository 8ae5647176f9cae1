#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// ReplaceFolder in steps, for files too large to hold: the new folder is made beside the folder
// at once and takes its place only in Replace; until then, and when a write fails or the writer
// is given up, the folder stays as it was and the new one goes with the writer. names: every file
// this write or an earlier one may hold (they must outlive the writer). Throws as ReplaceFolder
// does.
class FolderWrite {
  public:
    FolderWrite(const std::filesystem::path& folder, std::string_view kind,
                std::vector<std::string_view> names);
    ~FolderWrite();
    FolderWrite(const FolderWrite&) = delete;
    FolderWrite& operator=(const FolderWrite&) = delete;

    // A file whole, or a part of one after its parts before (the first part opens it).
    void Write(const FolderFile& file);
    void Append(const FolderFile& part);
    // The folder replaced by the files written; leftOut as for ReplaceFolder. The note it returns.
    std::string Replace(std::span<const std::string_view> leftOut);

  private:
    void Close();
    [[noreturn]] void FailFile(std::string_view name, const std::string& what, int error) const;
    bool RemoveStaging();

    std::filesystem::path folder_;
    std::filesystem::path target_;
    std::filesystem::path staging_;
    std::string kind_;
    std::vector<std::string_view> names_;
    std::vector<std::string> written_;
    std::string open_;  // the file written in parts, while it is
    int descriptor_ = -1;
};

}  // namespace sf
