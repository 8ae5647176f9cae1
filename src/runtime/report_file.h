#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "runtime/staged_file.h"

namespace sf {

// Where the lines of a run that ended part-way are kept: the report's name plus ".incomplete".
std::filesystem::path IncompleteReportPath(const std::filesystem::path& report);

// The report of one run, every line ended by CR LF. The lines go to a new file in the report's
// folder, which takes the report's place only when Close() ends a complete report: a run that
// stops part-way never destroys the previous report. A device or a pipe named as the report
// (/dev/stdout) holds no report to keep and is written directly. A failure to create, write or
// put the report in place is a RunError naming its full path, never a silent loss.
class ReportFile {
  public:
    explicit ReportFile(const std::filesystem::path& path);
    // A report neither closed nor kept incomplete is kept incomplete.
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    void WriteLine(std::string_view line);
    void WriteBlankLine() { WriteLine(" "); }
    // Ends a complete report: flushes it to the disk, puts it in place of the previous report
    // and removes an incomplete report left beside it by an earlier run.
    void Close();
    // Ends a report that stopped part-way: the previous report stays as it was and the lines
    // written are kept in the incomplete report. Returns, for the user, where they are.
    std::string KeepIncomplete();

  private:
    // Hands the lines gathered so far to the file; 0 or the errno value.
    int Flush();
    [[noreturn]] void Fail(const char* what, int error) const;

    std::filesystem::path path_;  // the report, absolute
    StagedFile file_;
    std::string pending_;  // lines not yet handed to the file
};

}  // namespace sf
