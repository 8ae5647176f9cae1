#include "runtime/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/file_calls.h"
#include "runtime/temporary_names.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

constexpr int kMostLinksFollowed = 40;  // as the system's own limit (ELOOP)

// A file opened without a name can be named at the end only through /proc.
bool UnnamedFilesCanBeLinked() {
    static const bool linkable = ::access("/proc/self/fd", X_OK) == 0;
    return linkable;
}

// Where a file system has no unnamed files, open() says so in one of these ways.
bool NoUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOTDIR;
}

constexpr mode_t kNewFileMode = 0666;  // less the umask, as for any new file

}  // namespace

fs::path FolderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

void SyncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        // Not every file system syncs a folder; the files themselves are on the disk already.
        SyncFile(descriptor, folder);
        ::close(descriptor);
    }
}

fs::path FollowLinks(fs::path path) {
    // "folder/" names the folder itself.
    while (!path.has_filename() && path.has_relative_path()) {
        path = path.parent_path();
    }
    for (int hop = 0; hop < kMostLinksFollowed; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            break;
        }
        const fs::path next = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        path = next.is_absolute() ? next : FolderOf(path) / next;
    }
    return path;
}

void TakeOwnerAndMode(int descriptor, const fs::path& replaced) {
    struct stat old {};
    if (::stat(replaced.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) {
        return;
    }
    // Only root may give a file away; a user may still give it a group of theirs.
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(descriptor, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(descriptor, -1, old.st_gid);
    }
    ::fchmod(descriptor, old.st_mode & 07777);
}

int WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int StagedFile::Open(const fs::path& path) {
    Discard();
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        // Renaming over a device would replace the device itself.
        return S_ISDIR(existing.st_mode) ? EISDIR : OpenDirect(path);
    }
    target_ = FollowLinks(path);
    std::error_code ignored;
    if (fs::is_symlink(fs::symlink_status(target_, ignored))) {
        return ELOOP;  // links round in a circle: writing would replace one of them
    }
    replaces_ = ::stat(target_.c_str(), &existing) == 0;
    const fs::path folder = FolderOf(target_);
    RemoveStaleTemporaries(folder);
    if (UnnamedFilesCanBeLinked()) {
        descriptor_ = CreateUnnamedFile(folder, kNewFileMode);
        if (descriptor_ < 0 && !NoUnnamedFiles(errno)) {
            return errno;
        }
    }
    while (descriptor_ < 0) {
        named_ = folder / TemporaryName();
        descriptor_ = ::open(named_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (descriptor_ < 0 && errno != EEXIST) {
            const int error = errno;
            named_.clear();
            return error;
        }
    }
    if (replaces_) {
        TakeOwnerAndMode(descriptor_, target_);
    }
    return 0;
}

int StagedFile::OpenDirect(const fs::path& path) {
    // A pipe without a reader would hold the run forever: refused at once instead.
    descriptor_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor_ < 0) {
        return errno;
    }
    ::fcntl(descriptor_, F_SETFL, ::fcntl(descriptor_, F_GETFL) & ~O_NONBLOCK);
    direct_ = true;
    target_ = path;
    return 0;
}

int StagedFile::Write(std::string_view bytes) {
    if (descriptor_ < 0) {
        return EBADF;
    }
    return WriteAll(descriptor_, bytes);
}

std::uintmax_t StagedFile::Size() const {
    struct stat status {};
    return descriptor_ >= 0 && ::fstat(descriptor_, &status) == 0
               ? static_cast<std::uintmax_t>(status.st_size)
               : 0;
}

int StagedFile::Sync() {
    if (descriptor_ < 0) {
        return EBADF;
    }
    return direct_ ? 0 : SyncFile(descriptor_, target_);
}

int StagedFile::Place(const fs::path& to) {
    if (descriptor_ < 0) {
        return EBADF;
    }
    if (!direct_) {
        const fs::path folder = FolderOf(to);
        if (named_.empty()) {
            // linkat cannot replace a file: the file gets a temporary name first.
            named_ = folder / TemporaryName();
            if (const int error = LinkUnnamedFile(descriptor_, named_)) {
                named_.clear();
                return error;
            }
        }
        if (const int error = RenameFile(named_, to)) {
            return error;
        }
        named_.clear();
        SyncFolder(folder);
    }
    ::close(descriptor_);
    descriptor_ = -1;
    return 0;
}

void StagedFile::Discard() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!named_.empty()) {
        ::unlink(named_.c_str());
        named_.clear();
    }
    direct_ = false;
}

}  // namespace sf
