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
    std::vector<std::string_view> names;
    for (const FolderFile& file : files) {
        names.push_back(file.name);
    }
    names.insert(names.end(), leftOut.begin(), leftOut.end());
    FolderWrite write(folder, kind, names);
    for (const FolderFile& file : files) {
        write.Write(file);
    }
    return write.Replace(leftOut);
}

FolderWrite::FolderWrite(const fs::path& folder, std::string_view kind,
                         std::vector<std::string_view> names)
    : folder_(folder), target_(FollowLinks(folder)), kind_(kind), names_(std::move(names)) {
    const std::string folderKind = kind_ + " folder";
    const fs::path parent = FolderOf(target_);
    std::error_code error;
    fs::create_directories(parent, error);
    if (error) {
        Fail(folderKind, folder_, "could not be created", error.value());
    }
    RemoveStaleTemporaries(parent, names_);
    const fs::path staging = parent / TemporaryName();
    if (::mkdir(staging.c_str(), 0777) != 0) {
        Fail(folderKind, folder_, "could not be created", errno);
    }
    staging_ = staging;
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) {
        if (!S_ISDIR(old.st_mode)) {
            RemoveStaging();
            Fail(folderKind, folder_, "is a file, not a folder", 0);
        }
        ::chmod(staging_.c_str(), old.st_mode & 07777);
    }
}

FolderWrite::~FolderWrite() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
    RemoveStaging();
}

void FolderWrite::FailFile(std::string_view name, const std::string& what, int error) const {
    Fail(kind_ + " file", folder_ / name, what, error);
}

// False when something besides the files of the write keeps the staging folder.
bool FolderWrite::RemoveStaging() {
    if (!staging_.empty()) {
        RemoveTemporaryFolder(staging_, names_);
    }
    std::error_code ignored;
    return staging_.empty() || !fs::exists(fs::symlink_status(staging_, ignored));
}

void FolderWrite::Write(const FolderFile& file) {
    if (const int failed = WriteStaged(staging_ / file.name, file, target_ / file.name)) {
        FailFile(file.name, "could not be written", failed);
    }
    written_.emplace_back(file.name);
}

void FolderWrite::Append(const FolderFile& part) {
    if (open_ != part.name) {
        Close();
        const fs::path staged = staging_ / part.name;
        descriptor_ = ::open(staged.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ < 0) {
            FailFile(part.name, "could not be written", errno);
        }
        TakeOwnerAndMode(descriptor_, target_ / part.name);
        open_ = part.name;
        written_.emplace_back(part.name);
    }
    if (const int failed = WriteAll(descriptor_, part.content)) {
        FailFile(part.name, "could not be written", failed);
    }
}

// The file written in parts, on the disk and closed.
void FolderWrite::Close() {
    if (descriptor_ < 0) {
        return;
    }
    const std::string name = std::move(open_);
    int error = SyncFile(descriptor_, target_ / name);
    if (::close(descriptor_) != 0 && error == 0) {
        error = errno;
    }
    descriptor_ = -1;
    open_.clear();
    if (error != 0) {
        FailFile(name, "could not be written", error);
    }
}

std::string FolderWrite::Replace(std::span<const std::string_view> leftOut) {
    const std::string folderKind = kind_ + " folder";
    Close();
    SyncFolder(staging_);
    struct stat old {};
    const bool replaces = ::stat(target_.c_str(), &old) == 0;
    int failed = replaces ? EEXIST : RenameNoReplace(staging_, target_);
    if (NotOffered(failed)) {
        failed = RenameFile(staging_, target_);  // replaces an empty folder at most
    }
    std::string note;
    if (failed == EEXIST || failed == ENOTEMPTY) {
        // The staging folder then holds the old files, which go with it.
        failed = ExchangeEntries(staging_, target_);
        if (NotOffered(failed)) {
            for (const std::string& name : written_) {
                if (const int one = RenameFile(staging_ / name, target_ / name)) {
                    FailFile(name, "could not be replaced", one);
                }
            }
            std::error_code error;
            for (const std::string_view name : leftOut) {
                fs::remove(target_ / name, error);
            }
            failed = 0;
            note = "The file system of the " + folderKind + " \"" + folder_.string() +
                   "\" cannot replace a folder in one step, so its files were replaced one "
                   "by one.";
        }
    }
    if (failed != 0) {
        Fail(folderKind, folder_, "could not be replaced", failed);
    }
    SyncFolder(FolderOf(target_));
    if (!RemoveStaging()) {
        note += (note.empty() ? "" : " ") + std::string("The earlier ") + folderKind + " \"" +
                folder_.string() +
                "\" held more than its files when it was replaced: it is kept as \"" +
                staging_.string() + "\".";
    }
    return note;
}

}  // namespace sf
