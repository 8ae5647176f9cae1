#include "runtime/report_file.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "runtime/run_error.h"

namespace fs = std::filesystem;

namespace sf {
namespace {

// A full-size report is a few megabytes: written in large pieces.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

fs::path Absolute(const fs::path& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute;
}

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

}  // namespace

fs::path IncompleteReportPath(const fs::path& report) {
    fs::path incomplete = report;
    incomplete += ".incomplete";
    return incomplete;
}

ReportFile::ReportFile(const fs::path& path) : path_(Absolute(path)) {
    if (const int error = file_.Open(path_)) {
        Fail("could not be created", error);
    }
    pending_.reserve(kPieceSize);
}

ReportFile::~ReportFile() {
    try {
        KeepIncomplete();
    } catch (...) {
        // Nothing more can be done for the lines; the file itself is closed.
    }
}

void ReportFile::WriteLine(std::string_view line) {
    if (!file_.IsOpen()) {
        Fail("is already closed", EBADF);
    }
    pending_.append(line);
    pending_.append("\r\n");
    if (pending_.size() >= kPieceSize) {
        if (const int error = Flush()) {
            Fail("could not be written", error);
        }
    }
}

void ReportFile::Close() {
    if (!file_.IsOpen()) {
        return;
    }
    // On the disk before it replaces the previous report, which a crash must not leave empty.
    int error = Flush();
    if (error == 0) {
        error = file_.Sync();
    }
    if (error != 0) {
        Fail("could not be written", error);
    }
    if ((error = file_.PutInPlace()) != 0) {
        Fail("could not be replaced", error);
    }
    // It would tell of a run that has been followed by a complete one.
    std::error_code ignored;
    fs::remove(IncompleteReportPath(file_.Target()), ignored);
}

std::string ReportFile::KeepIncomplete() {
    if (!file_.IsOpen()) {
        return "";
    }
    Flush();  // a fault is already being reported: it is the one that counts
    if (file_.IsDirect()) {
        file_.Discard();
        return "";
    }
    const fs::path incomplete = IncompleteReportPath(file_.Target());
    std::string kept = file_.Replaces() ? "The report " + Quoted(path_) + " was left as it was"
                                        : "No report " + Quoted(path_) + " was made";
    std::error_code ignored;
    if (file_.Size() == 0) {
        // Nothing reached the disk: an empty file would only hide that, and an earlier run's
        // lines would be taken for this one's.
        file_.Discard();
        fs::remove(incomplete, ignored);
        return kept + "; none of the lines written reached the disk.";
    }
    if (const int error = file_.KeepAs(incomplete)) {
        file_.Discard();
        fs::remove(incomplete, ignored);
        return kept + "; the lines written could not be kept in " + Quoted(incomplete) + ": " +
               std::strerror(error) + ".";
    }
    return kept + "; the lines written are in " + Quoted(incomplete) + ".";
}

int ReportFile::Flush() {
    const int error = file_.Write(pending_);
    pending_.clear();
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
