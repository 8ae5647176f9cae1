#include "runtime/report_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <utility>

#include "runtime/run_error.h"

namespace fs = std::filesystem;

namespace sf {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr int kNameAttempts = 100;

fs::path Absolute(const fs::path& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute;
}

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

// A new file beside the report, named after it, that no other file had: a rename within one
// folder then puts it in place at once. Created like any new file (0666 less the umask), unlike
// mkstemp's 0600, so that the report keeps the permissions a report always had.
std::FILE* CreateBeside(const fs::path& report, fs::path& created) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string suffix = ".";
        for (int at = 0; at < 6; ++at) {
            suffix += kLetters[letter(random)];
        }
        fs::path candidate = report;
        candidate += suffix;
        const int descriptor =
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return nullptr;
        }
        std::FILE* file = ::fdopen(descriptor, "wb");
        if (file == nullptr) {
            const int error = errno;
            ::close(descriptor);
            ::unlink(candidate.c_str());
            errno = error;
            return nullptr;
        }
        created = std::move(candidate);
        return file;
    }
    errno = EEXIST;
    return nullptr;
}

}  // namespace

fs::path IncompleteReportPath(const fs::path& report) {
    fs::path incomplete = report;
    incomplete += ".incomplete";
    return incomplete;
}

ReportFile::ReportFile(const fs::path& path) : path_(Absolute(path)) {
    std::error_code ignored;
    const fs::file_status status = fs::status(path_, ignored);
    hadReport_ = fs::exists(status);
    if (hadReport_ && !fs::is_regular_file(status)) {
        // Renaming over a device would replace the device itself; a folder fails here.
        file_ = std::fopen(path_.c_str(), "wb");
    } else {
        file_ = CreateBeside(path_, written_);
    }
    if (file_ == nullptr) {
        Fail("could not be created", errno);
    }
    // A full-size report is a few megabytes: write it in large pieces.
    buffer_ = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
}

ReportFile::~ReportFile() {
    try {
        KeepIncomplete();
    } catch (...) {
        // Nothing more can be done for the lines; the file itself is closed.
    }
}

void ReportFile::WriteLine(std::string_view line) {
    if (file_ == nullptr) {
        Fail("is already closed", EBADF);
    }
    errno = 0;
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
        std::fwrite("\r\n", 1, 2, file_) != 2) {
        Fail("could not be written", errno);
    }
}

void ReportFile::Close() {
    if (file_ == nullptr) {
        return;
    }
    // On the disk before it replaces the previous report, which a crash must not leave empty.
    if (const int error = CloseFile(!written_.empty()); error != 0) {
        Fail("could not be written", error);
    }
    if (written_.empty()) {
        return;
    }
    std::error_code error;
    fs::rename(written_, path_, error);
    if (error) {
        Fail("could not be replaced", error.value());
    }
    written_.clear();
    // It would tell of a run that has been followed by a complete one.
    fs::remove(IncompleteReportPath(path_), error);
}

std::string ReportFile::KeepIncomplete() {
    if (file_ != nullptr) {
        CloseFile(false);  // a fault is already being reported: it is the one that counts
    }
    if (written_.empty()) {
        return "";
    }
    const fs::path incomplete = IncompleteReportPath(path_);
    std::string kept = hadReport_ ? "The report " + Quoted(path_) + " was left as it was"
                                  : "No report " + Quoted(path_) + " was made";
    std::error_code error;
    fs::rename(written_, incomplete, error);
    if (error) {
        kept += "; the lines written are in " + Quoted(written_) +
                ", which could not be renamed to " + Quoted(incomplete) + ": " + error.message();
    } else {
        kept += "; the lines written are in " + Quoted(incomplete);
    }
    written_.clear();
    return kept + ".";
}

int ReportFile::CloseFile(bool sync) {
    std::FILE* file = std::exchange(file_, nullptr);
    errno = 0;
    int error = 0;
    if (std::fflush(file) != 0 || std::ferror(file) != 0) {
        error = errno != 0 ? errno : EIO;
    } else if (sync && ::fsync(::fileno(file)) != 0) {
        error = errno;
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    return error;
}

void ReportFile::Fail(const char* what, int error) const {
    std::string message = "The report file " + Quoted(path_) + " " + what;
    if (error != 0) {
        message += std::string(": ") + std::strerror(error);
    }
    throw RunError(message);
}

}  // namespace sf
