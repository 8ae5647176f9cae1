#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace sf {

// The report: replaced when opened, every line ended by CR LF. A failure to create, write or
// close it is a RunError, never a silent loss.
class ReportFile {
  public:
    explicit ReportFile(const std::filesystem::path& path);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    void WriteLine(std::string_view line);
    void WriteBlankLine() { WriteLine(" "); }
    // Flushes and releases the file; reports whatever the system could not write.
    void Close();

  private:
    [[noreturn]] void Fail(const char* what, int error);

    std::filesystem::path path_;
    std::unique_ptr<char[]> buffer_;
    std::FILE* file_ = nullptr;
};

}  // namespace sf
