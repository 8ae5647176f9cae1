#include "runtime/report_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/run_error.h"
#include "test_folder.h"

namespace sf {
namespace {

TEST(ReportFile, EndsEveryLineWithCrLfAndABlankLineIsOneSpace) {
    TestFolder folder;
    ReportFile report(folder.Path("out.txt"));
    report.WriteLine("Forecasts");
    report.WriteBlankLine();
    report.Close();
    EXPECT_EQ(folder.Read("out.txt"), "Forecasts\r\n \r\n");
}

TEST(ReportFile, ReplacesAnEarlierReport) {
    TestFolder folder;
    folder.Write("out.txt", "an earlier, much longer report\r\n");
    ReportFile report(folder.Path("out.txt"));
    report.WriteLine("new");
    report.Close();
    EXPECT_EQ(folder.Read("out.txt"), "new\r\n");
}

TEST(ReportFile, AFileThatCannotBeCreatedIsAnError) {
    TestFolder folder;
    std::filesystem::create_directory(folder.Path("out.txt"));
    EXPECT_THROW(ReportFile(folder.Path("out.txt")), RunError);
    EXPECT_THROW(ReportFile(folder.Path("missing/out.txt")), RunError);
}

TEST(ReportFile, AFullDiskIsAnErrorNotASuccess) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    ReportFile report("/dev/full");
    report.WriteLine("Parameters of sales points");
    EXPECT_THROW(report.Close(), RunError);
}

}  // namespace
}  // namespace sf
