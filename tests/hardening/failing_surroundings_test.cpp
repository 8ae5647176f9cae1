#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
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

// Files of this process may grow to a given size only, as on a disk that fills up: a write
// beyond it fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

// A small report fails when it is flushed at the end, a large one part-way: either way the last
// report stays byte for byte and the lines the disk took are kept beside it.
TEST_F(FailingSurroundingsTest, AFillingDiskLeavesTheLastReportAsItWas) {
    RunInputs large = SmallRun();
    large.Endpointnumber = "100";
    large.Periodnumber = "600";
    large.periodsforinitialization = "1";
    large.periodsforalphabeta = "598";  // no rolling forecast: quick
    for (const RunInputs& inputs : {SmallRun(), large}) {
        SCOPED_TRACE(inputs.Endpointnumber + " sales points");
        source = UniformSource{};
        ASSERT_TRUE(Run(inputs).completed);
        const std::string complete = folder.Read("out.txt");
        folder.Write("out.txt", "the last report\r\n");
        observer.closing.clear();

        constexpr rlim_t kRoom = 2000;
        RunOutcome outcome;
        {
            const FileSizeLimit limit(kRoom);
            source = UniformSource{};
            outcome = Run(inputs);
        }
        ExpectReportFileFailure(outcome, observer, "could not be written: File too large");
        EXPECT_NE(outcome.message.find("\nThe report \"" + folder.Path("out.txt").string() +
                                       "\" was left as it was"),
                  std::string::npos)
            << outcome.message;
        EXPECT_EQ(folder.Read("out.txt"), "the last report\r\n");
        EXPECT_EQ(folder.Read("out.txt.incomplete"), complete.substr(0, kRoom));
    }
}

// A disk that takes nothing leaves no empty incomplete report, which would only hide that, and
// an earlier one would be taken for this run's.
TEST_F(FailingSurroundingsTest, ADiskThatTakesNothingLeavesNoEmptyIncompleteReport) {
    folder.Write("out.txt", "the last report\r\n");
    folder.Write("out.txt.incomplete", "the lines of an earlier run\r\n");
    RunOutcome outcome;
    {
        const FileSizeLimit limit(0);
        outcome = Run(SmallRun());
    }
    ExpectReportFileFailure(outcome, observer, "could not be written: File too large");
    EXPECT_NE(
        outcome.message.find("was left as it was; none of the lines written reached the disk."),
        std::string::npos)
        << outcome.message;
    EXPECT_EQ(folder.Read("out.txt"), "the last report\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.txt.incomplete")));
}

}  // namespace
}  // namespace sf
