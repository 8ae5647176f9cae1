#include "runtime/report_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "runtime/run_error.h"
#include "test_folder.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const TestFolder& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.Root())) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(ReportFile, EndsEveryLineWithCrLfAndABlankLineIsOneSpace) {
    TestFolder folder;
    ReportFile report(folder.Path("out.txt"));
    report.WriteLine("Forecasts");
    report.WriteBlankLine();
    report.Close();
    EXPECT_EQ(folder.Read("out.txt"), "Forecasts\r\n \r\n");
}

TEST(ReportFile, ReplacesAnEarlierReportOnlyWhenClosed) {
    TestFolder folder;
    folder.Write("out.txt", "an earlier, much longer report\r\n");
    folder.Write("out.txt.incomplete", "the lines of a run that stopped\r\n");
    ReportFile report(folder.Path("out.txt"));
    report.WriteLine("new");
    EXPECT_EQ(folder.Read("out.txt"), "an earlier, much longer report\r\n");
    report.Close();
    EXPECT_EQ(folder.Read("out.txt"), "new\r\n");
    // The incomplete report of an earlier run is stale now, and nothing else is left.
    EXPECT_EQ(Names(folder), std::set<std::string>{"out.txt"});
}

TEST(ReportFile, AReportThatEndsPartWayLeavesTheEarlierOneAndKeepsItsLines) {
    TestFolder folder;
    const std::string path = folder.Path("out.txt").string();
    {
        ReportFile report(folder.Path("out.txt"));
        report.WriteLine("Parameters of sales points");
        EXPECT_EQ(report.KeepIncomplete(), "No report \"" + path +
                                               "\" was made; the lines written are in \"" + path +
                                               ".incomplete\".");
    }
    EXPECT_EQ(Names(folder), std::set<std::string>{"out.txt.incomplete"});
    EXPECT_EQ(folder.Read("out.txt.incomplete"), "Parameters of sales points\r\n");

    folder.Write("out.txt", "the last complete report\r\n");
    {
        ReportFile report(folder.Path("out.txt"));
        report.WriteLine("Parameters");
        EXPECT_EQ(report.KeepIncomplete(),
                  "The report \"" + path + "\" was left as it was; the lines written are in \"" +
                      path + ".incomplete\".");
        EXPECT_EQ(report.KeepIncomplete(), "");  // once only
    }
    {
        ReportFile report(folder.Path("out.txt"));
        report.WriteLine("Param");
        // Neither closed nor kept: kept, as a fault that escaped would leave it.
    }
    EXPECT_EQ(Names(folder), (std::set<std::string>{"out.txt", "out.txt.incomplete"}));
    EXPECT_EQ(folder.Read("out.txt"), "the last complete report\r\n");
    EXPECT_EQ(folder.Read("out.txt.incomplete"), "Param\r\n");
}

// The new file takes the place of the report, with the permissions a new report always had.
TEST(ReportFile, AReportHasTheUsualPermissionsOfANewFile) {
    TestFolder folder;
    std::ofstream(folder.Path("plain")) << "x";
    ReportFile report(folder.Path("out.txt"));
    report.Close();
    EXPECT_EQ(fs::status(folder.Path("out.txt")).permissions(),
              fs::status(folder.Path("plain")).permissions());
}

TEST(ReportFile, AFileThatCannotBeCreatedIsAnErrorNamingItsFullPath) {
    TestFolder folder;
    fs::create_directory(folder.Path("out.txt"));
    try {
        ReportFile report(folder.Path("out.txt"));
        ADD_FAILURE() << "a folder was taken for the report";
    } catch (const RunError& error) {
        EXPECT_EQ(std::string(error.what()), "The report file \"" +
                                                 folder.Path("out.txt").string() +
                                                 "\" could not be created: Is a directory");
    }
    EXPECT_THROW(ReportFile(folder.Path("missing/out.txt")), RunError);
    EXPECT_EQ(Names(folder), std::set<std::string>{"out.txt"});
}

// A device holds no report to keep: it is written directly and stays the device it was.
TEST(ReportFile, ADeviceIsWrittenDirectly) {
    if (!fs::exists("/dev/full") || !fs::exists("/dev/null")) {
        GTEST_SKIP() << "no /dev/full or /dev/null here";
    }
    ReportFile sink("/dev/null");
    sink.WriteLine("Parameters of sales points");
    sink.Close();
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    ReportFile full("/dev/full");
    full.WriteLine("Parameters of sales points");
    EXPECT_THROW(full.Close(), RunError);
    EXPECT_EQ(full.KeepIncomplete(), "");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_FALSE(fs::exists("/dev/full.incomplete"));
}

}  // namespace
}  // namespace sf
