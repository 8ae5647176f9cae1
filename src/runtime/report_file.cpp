#include "runtime/report_file.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "runtime/run_error.h"

namespace sf {
namespace {
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
}

ReportFile::ReportFile(const std::filesystem::path& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        Fail("could not be created", errno);
    }
    // A full-size report is a few megabytes: write it in large pieces.
    buffer_ = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
}

ReportFile::~ReportFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
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
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    const bool flushed = std::fflush(file) == 0 && std::ferror(file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed || !closed) {
        Fail("could not be written", flushed ? errno : flushError);
    }
}

void ReportFile::Fail(const char* what, int error) {
    std::string message = "The report file \"" + path_.string() + "\" " + what;
    if (error != 0) {
        message += std::string(": ") + std::strerror(error);
    }
    throw RunError(message);
}

}  // namespace sf
