#include "runtime/file_calls.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2 and its flags
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>

namespace sf {
namespace {

FileCallWatcher& Watcher() {
    static FileCallWatcher watcher;
    return watcher;
}

int Watched(FileCall call, const std::filesystem::path& target) {
    return Watcher() ? Watcher()(call, target) : 0;
}

int ErrorOf(int result) {
    return result == 0 ? 0 : errno;
}

int RenameWithFlags(const std::filesystem::path& from, const std::filesystem::path& to,
                    unsigned int flags) {
    return ErrorOf(::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags));
}

}  // namespace

void WatchFileCalls(FileCallWatcher watcher) {
    Watcher() = std::move(watcher);
}

int CreateUnnamedFile(const std::filesystem::path& folder, unsigned int mode) {
    if (const int planted = Watched(FileCall::createUnnamed, folder)) {
        errno = planted;
        return -1;
    }
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

int SyncFile(int descriptor, const std::filesystem::path& target) {
    if (const int planted = Watched(FileCall::sync, target)) {
        return planted;
    }
    return ErrorOf(::fsync(descriptor));
}

int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (const int planted = Watched(FileCall::rename, to)) {
        return planted;
    }
    return ErrorOf(std::rename(from.c_str(), to.c_str()));
}

int RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (const int planted = Watched(FileCall::rename, to)) {
        return planted;
    }
    return RenameWithFlags(from, to, RENAME_NOREPLACE);
}

int ExchangeEntries(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (const int planted = Watched(FileCall::exchange, to)) {
        return planted;
    }
    return RenameWithFlags(from, to, RENAME_EXCHANGE);
}

int LinkUnnamedFile(int descriptor, const std::filesystem::path& to) {
    if (const int planted = Watched(FileCall::link, to)) {
        return planted;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    return ErrorOf(::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW));
}

}  // namespace sf
