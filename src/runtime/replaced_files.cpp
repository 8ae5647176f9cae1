#include "runtime/replaced_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/file_calls.h"
#include "runtime/run_error.h"
#include "runtime/staged_file.h"
#include "runtime/temporary_names.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(std::string_view kind, const fs::path& path, const std::string& what,
                       int error) {
    std::string message = "The " + std::string(kind) + " \"" + path.string() + "\" " + what;
    if (error != 0) {
        message += std::string(": ") + std::strerror(error);
    }
    throw RunError(message);
}

// An exchange or a rename that the file system does not offer.
bool NotOffered(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// The new folder until it has taken the old one's place; then the old folder, whose files of
// the names written go with it. Either way it goes when this does, unless it holds more.
class StagingFolder {
  public:
    StagingFolder(const fs::path& parent, std::span<const std::string_view> names)
        : path_(parent / TemporaryName()), names_(names) {
        if (::mkdir(path_.c_str(), 0777) != 0) {
            error_ = errno;
            path_.clear();
        }
    }
    ~StagingFolder() { Remove(); }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    int Error() const { return error_; }
    const fs::path& Path() const { return path_; }
    // False when something besides those files keeps it.
    bool Remove() {
        if (!path_.empty()) {
            RemoveTemporaryFolder(path_, names_);
        }
        std::error_code ignored;
        return path_.empty() || !fs::exists(fs::symlink_status(path_, ignored));
    }

  private:
    fs::path path_;
    std::span<const std::string_view> names_;
    int error_ = 0;
};

// Writes one file into the staging folder, on the disk before any rename.
int WriteStaged(const fs::path& staged, const FolderFile& file, const fs::path& replaced) {
    const int descriptor = ::open(staged.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return errno;
    }
    TakeOwnerAndMode(descriptor, replaced);
    int error = WriteAll(descriptor, file.content);
    if (error == 0) {
        error = SyncFile(descriptor, replaced);
    }
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

}  // namespace

void ReplaceFile(const fs::path& path, std::string_view content, std::string_view kind) {
    StagedFile file;
    if (const int error = file.Open(path)) {
        Fail(kind, path, "could not be created", error);
    }
    int error = file.Write(content);
    if (error == 0) {
        error = file.Sync();
    }
    if (error != 0) {
        Fail(kind, path, "could not be written", error);
    }
    if ((error = file.PutInPlace()) != 0) {
        Fail(kind, path, "could not be replaced", error);
    }
}

std::string ReplaceFolder(const fs::path& folder, std::span<const FolderFile> files,
                          std::string_view kind, std::span<const std::string_view> leftOut) {
    const std::string folderKind = std::string(kind) + " folder";
    const std::string fileKind = std::string(kind) + " file";
    const fs::path target = FollowLinks(folder);
    const fs::path parent = FolderOf(target);
    std::error_code error;
    fs::create_directories(parent, error);
    if (error) {
        Fail(folderKind, folder, "could not be created", error.value());
    }
    std::vector<std::string_view> names;
    for (const FolderFile& file : files) {
        names.push_back(file.name);
    }
    names.insert(names.end(), leftOut.begin(), leftOut.end());
    RemoveStaleTemporaries(parent, names);
    StagingFolder staging(parent, names);
    if (staging.Error() != 0) {
        Fail(folderKind, folder, "could not be created", staging.Error());
    }
    struct stat old {};
    const bool replaces = ::stat(target.c_str(), &old) == 0;
    if (replaces && !S_ISDIR(old.st_mode)) {
        Fail(folderKind, folder, "is a file, not a folder", 0);
    }
    if (replaces) {
        ::chmod(staging.Path().c_str(), old.st_mode & 07777);
    }
    for (const FolderFile& file : files) {
        if (const int failed = WriteStaged(staging.Path() / file.name, file, target / file.name)) {
            Fail(fileKind, folder / file.name, "could not be written", failed);
        }
    }
    SyncFolder(staging.Path());

    int failed = replaces ? EEXIST : RenameNoReplace(staging.Path(), target);
    if (NotOffered(failed)) {
        failed = RenameFile(staging.Path(), target);  // replaces an empty folder at most
    }
    std::string note;
    if (failed == EEXIST || failed == ENOTEMPTY) {
        // The staging folder then holds the old files, which go with it.
        failed = ExchangeEntries(staging.Path(), target);
        if (NotOffered(failed)) {
            for (const FolderFile& file : files) {
                if (const int one = RenameFile(staging.Path() / file.name, target / file.name)) {
                    Fail(fileKind, folder / file.name, "could not be replaced", one);
                }
            }
            for (const std::string_view name : leftOut) {
                fs::remove(target / name, error);
            }
            failed = 0;
            note = "The file system of the " + folderKind + " \"" + folder.string() +
                   "\" cannot replace a folder in one step, so its files were replaced one "
                   "by one.";
        }
    }
    if (failed != 0) {
        Fail(folderKind, folder, "could not be replaced", failed);
    }
    SyncFolder(parent);
    if (!staging.Remove()) {
        note += (note.empty() ? "" : " ") + std::string("The earlier ") + folderKind + " \"" +
                folder.string() +
                "\" held more than its files when it was replaced: it is kept as \"" +
                staging.Path().string() + "\".";
    }
    return note;
}

}  // namespace sf
