#include "runtime/temporary_names.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace sf {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = ".sf-";

// Eight hex digits of the host name: a folder shared between machines holds the entries of
// each, and a process id means something only on its own machine.
std::string HostTag() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char* c = host; *c != '\0'; ++c) {
        hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
    }
    char tag[9];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(hash));
    return tag;
}

const std::string& ThisHost() {
    static const std::string tag = HostTag();
    return tag;
}

// The process that made a temporary entry of this machine; 0 for any other name.
pid_t ProcessOf(std::string_view name) {
    if (!name.starts_with(kPrefix)) {
        return 0;
    }
    name.remove_prefix(kPrefix.size());
    if (!name.starts_with(ThisHost()) || name.size() <= ThisHost().size() ||
        name[ThisHost().size()] != '-') {
        return 0;
    }
    name.remove_prefix(ThisHost().size() + 1);
    pid_t process = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), process);
    if (error != std::errc() || end == name.data() + name.size() || *end != '-' || process <= 0) {
        return 0;
    }
    return process;
}

bool HasEnded(pid_t process) {
    return ::kill(process, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string TemporaryName() {
    static std::atomic<unsigned> counter = 0;
    return std::string(kPrefix) + ThisHost() + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++);
}

void RemoveTemporaryFolder(const fs::path& folder, std::span<const std::string_view> names) {
    std::error_code ignored;
    for (const std::string_view name : names) {
        if (fs::is_regular_file(fs::symlink_status(folder / name, ignored))) {
            fs::remove(folder / name, ignored);
        }
    }
    fs::remove(folder, ignored);  // only once empty
}

void RemoveStaleTemporaries(const fs::path& folder, std::span<const std::string_view> folderFiles) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const pid_t process = ProcessOf(entry.path().filename().native());
        if (process == 0 || !HasEnded(process)) {
            continue;
        }
        std::error_code ignored;
        const fs::file_status status = entry.symlink_status(ignored);
        if (fs::is_regular_file(status)) {
            fs::remove(entry.path(), ignored);
        } else if (fs::is_directory(status)) {
            RemoveTemporaryFolder(entry.path(), folderFiles);
        }
    }
}

}  // namespace sf
