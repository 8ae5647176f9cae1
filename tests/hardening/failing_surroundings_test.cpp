#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "run_fixture.h"

namespace sf {
namespace {

using FailingSurroundingsTest = RunFixture;

// The message names the report file and why; the run never claims to have finished.
void ExpectReportFileFailure(const RunOutcome& outcome, const RecordingObserver& observer,
                             const std::string& reason) {
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.message.rfind("The report file \"", 0), 0u) << outcome.message;
    EXPECT_NE(outcome.message.find(reason), std::string::npos) << outcome.message;
    EXPECT_TRUE(observer.closing.empty());
}

TEST_F(FailingSurroundingsTest, AReadOnlyFolderRefusesTheReport) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not stop root";
    }
    std::filesystem::permissions(
        folder.Root(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec,
        std::filesystem::perm_options::replace);
    ExpectReportFileFailure(Run(SmallRun()), observer, "could not be created");
}

TEST_F(FailingSurroundingsTest, AFolderWhereEvenRootCannotCreateFilesRefusesTheReport) {
    if (!std::filesystem::exists("/proc/self")) {
        GTEST_SKIP() << "no /proc here";
    }
    ExpectReportFileFailure(RunTo(SmallRun(), "/proc/out.txt"), observer, "could not be created");
}

// A small report fails when it is flushed at the end, one of some megabytes part-way.
TEST_F(FailingSurroundingsTest, AFullDiskFailsTheRunWhereverTheWriteFails) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    ExpectReportFileFailure(RunTo(SmallRun(), "/dev/full"), observer, "could not be written");

    RunInputs large = SmallRun();
    large.Endpointnumber = "100";
    large.Periodnumber = "600";
    large.periodsforinitialization = "1";
    large.periodsforalphabeta = "598";  // no rolling forecast: quick
    ExpectReportFileFailure(RunTo(large, "/dev/full"), observer, "could not be written");
}

}  // namespace
}  // namespace sf
