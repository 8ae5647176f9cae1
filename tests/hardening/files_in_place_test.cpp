#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "results/export_folder.h"
#include "run_fixture.h"
#include "runtime/file_calls.h"
#include "runtime/report_file.h"
#include "runtime/run_error.h"
#include "scenario/scenario_file.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

struct Call {
    FileCall call;
    fs::path target;
};

// Watches the file layer's calls for one test: records them, and fails the first of one kind.
class PlantedCalls {
  public:
    PlantedCalls(FileCall failing, int error) {
        WatchFileCalls([this, failing, error](FileCall call, const fs::path& target) {
            calls.push_back({call, target});
            return call == failing && std::exchange(armed_, false) ? error : 0;
        });
    }
    ~PlantedCalls() { WatchFileCalls({}); }
    PlantedCalls(const PlantedCalls&) = delete;
    PlantedCalls& operator=(const PlantedCalls&) = delete;

    std::vector<Call> calls;

  private:
    bool armed_ = true;
};

bool PutsInPlace(FileCall call) {
    return call == FileCall::rename || call == FileCall::exchange || call == FileCall::link;
}

class FilesInPlace : public RunFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Run(SmallRun()).completed);
        results = ComputeResults(*state, {});
    }

    // An earlier report or scenario file, and an earlier export folder.
    void WriteOldFiles() const {
        fs::remove_all(folder.Path("old"));
        fs::create_directory(folder.Path("old"));
        for (const std::string_view name : ExportFileNames()) {
            folder.Write("old/" + std::string(name), "old");
        }
        folder.Write("old/" + std::string(kExportMarker), std::string(kExportMarkerText));
        folder.Write("old.txt", "old");
        fs::remove(folder.Path("old.txt.incomplete"));
    }

    // Writes one kind of file over an old one: "" when it went well, else what it said.
    std::string Write(const std::string& writer) {
        try {
            if (writer == "report") {
                ReportFile report(folder.Path("old.txt"));
                report.WriteLine("new");
                report.Close();
            } else if (writer == "scenario file") {
                WriteScenarioFile(folder.Path("old.txt"), {}, {});
            } else {
                return WriteExportFolder(folder.Path("old"), results, {});
            }
        } catch (const RunError& error) {
            return error.what();
        }
        return "";
    }

    // What the writer replaces, whole.
    std::string Old(const std::string& writer) const {
        return writer == "export folder" ? folder.Read("old/run.json") : folder.Read("old.txt");
    }

    RunResults results;
};

// Each file is on the disk before it takes the old one's place, a failure to put it in place is
// said and leaves the old file, and an export takes its folder's place in one step, never file by
// file. Each planted fault here was once in the code with the whole suite green.
TEST_F(FilesInPlace, OnTheDiskFirstThenInPlaceInOneStepOrTheOldOneStays) {
    const struct {
        const char* writer;
        FileCall failing;
        int error;
        const char* said;  // a part of it; "" for a write that went well
    } cases[] = {
        {"report", FileCall::createUnnamed, 0, ""},
        {"report", FileCall::createUnnamed, EOPNOTSUPP, ""},  // a named temporary file instead
        {"report", FileCall::rename, EIO, "could not be replaced: Input/output error"},
        {"report", FileCall::sync, EIO, "could not be written: Input/output error"},
        {"scenario file", FileCall::createUnnamed, 0, ""},
        {"scenario file", FileCall::createUnnamed, EOPNOTSUPP, ""},
        {"scenario file", FileCall::rename, ENOSPC, "could not be replaced: No space left"},
        {"scenario file", FileCall::sync, EIO, "could not be written: Input/output error"},
        {"export folder", FileCall::createUnnamed, 0, ""},
        {"export folder", FileCall::exchange, EIO, "could not be replaced: Input/output error"},
        {"export folder", FileCall::sync, EIO, "could not be written: Input/output error"},
        {"export folder", FileCall::exchange, EINVAL, "its files were replaced one by one"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.writer) + ", failing call " +
                     std::to_string(static_cast<int>(c.failing)) + " with " +
                     std::strerror(c.error));
        WriteOldFiles();
        const PlantedCalls planted(c.failing, c.error);
        const std::string said = Write(c.writer);
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        const bool failed = said.find("could not") != std::string::npos;
        EXPECT_EQ(Old(c.writer) == "old", failed) << Old(c.writer);

        // A sync before anything is put in place.
        const auto placed = std::ranges::find_if(
            planted.calls, [](const Call& call) { return PutsInPlace(call.call); });
        EXPECT_NE(std::find_if(planted.calls.begin(), placed,
                               [](const Call& call) { return call.call == FileCall::sync; }),
                  placed);
        if (std::string(c.writer) == "export folder" && c.error != EINVAL) {
            // The folder in one step: no file of it is renamed on its own.
            for (const Call& call : planted.calls) {
                EXPECT_FALSE(PutsInPlace(call.call) && call.target != folder.Path("old"))
                    << call.target;
            }
        }
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder.Root())) {
            EXPECT_NE(entry.path().filename().string().rfind(".sf-", 0), 0u) << entry.path();
        }
    }
}

}  // namespace
}  // namespace sf
