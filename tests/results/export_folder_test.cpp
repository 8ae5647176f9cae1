#include "results/export_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <random>

#include "csv_reading.h"
#include "results/number_cells.h"
#include "run_fixture.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

TEST(NumberCells, ShortestTextThatReadsBackToTheSameDouble) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1, "0.1"},    {3.0, "3"},          {-0.0, "-0"},
        {1e21, "1e+21"}, {2.5e-5, "2.5e-05"}, {0.30000000000000004, "0.30000000000000004"},
        {INFINITY, ""},  {NAN, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortestText(c.value), c.text);
    }
    std::mt19937_64 random(11);
    for (int draw = 0; draw < 100000; ++draw) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            ASSERT_TRUE(SameBits(CellValue(ShortestText(value)), value)) << ShortestText(value);
        }
    }
}

class ExportFolder : public RunFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Run(SmallRun()).completed);
        results = ComputeResults(*state, request);
        record.inputs = SmallRun();
        record.scenario = R"({"format": 2, "seed": 42, "boxes": {"tau": " .5"}})";
        record.seed = 42;
        record.request = request;
        record.reportPath = folder.Path("out.txt");
        record.warnings = {"first", "second"};
    }

    std::filesystem::path Export() const { return folder.Path("export"); }
    bool StagedFilesLeft() const {
        for (const auto& entry : std::filesystem::directory_iterator(Export())) {
            if (entry.path().filename().string().find(".part-") != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    ResultsRequest request{TauGrid{}, 0.9, OutcomeCosts{2.0, 1.0}};
    RunResults results;
    RunRecord record;
};

TEST_F(ExportFolder, FourFilesWithHeadersAndLineFeeds) {
    ASSERT_FALSE(PrepareExportFolder(Export()));
    WriteExportFolder(Export(), results, record);
    for (const char* name : {"summary.csv", "series.csv", "tradeoff.csv"}) {
        const std::string text = folder.Read("export/" + std::string(name));
        EXPECT_EQ(text.find('\r'), std::string::npos) << name;
        EXPECT_EQ(text.back(), '\n') << name;
        const auto rows = CsvRows(text);
        for (const auto& row : rows) {
            ASSERT_EQ(row.size(), rows[0].size()) << name;
        }
    }
    EXPECT_EQ(CsvRows(folder.Read("export/series.csv")).size(), 3u * 24u + 1u);
    EXPECT_EQ(CsvRows(folder.Read("export/tradeoff.csv"))[0].back(), "cost");

    const auto json = nlohmann::ordered_json::parse(folder.Read("export/run.json"));
    EXPECT_FALSE(json["version"].get<std::string>().empty());
    // The scenario as the front end rendered it, in its own key order.
    EXPECT_EQ(json["scenario"].dump(), R"({"format":2,"seed":42,"boxes":{"tau":" .5"}})");
    EXPECT_EQ(json["model"], "loga");
    EXPECT_EQ(json["seed"], 42);
    EXPECT_EQ(json["report"], folder.Path("out.txt").string());
    EXPECT_EQ(json["warnings"].size(), 2u);
    EXPECT_EQ(json["totals"]["sales"].get<double>(), state->totalSales);
    EXPECT_EQ(json["target_fill_rate"]["tau"].get<double>(), *results.target->tau);
    EXPECT_EQ(json["cheapest_tau"]["cost"].get<double>(), results.cheapest->cost);
    EXPECT_EQ(json["options"]["return_cost"].get<double>(), 1.0);
}

TEST_F(ExportFolder, AFileIsReplacedOnlyByACompleteOneAndAFailureNamesIt) {
    ASSERT_FALSE(PrepareExportFolder(Export()));
    folder.Write("export/summary.csv", "old summary");
    folder.Write("export/tradeoff.csv", "old trade-off");
    std::filesystem::create_directory(Export() / "series.csv");
    try {
        WriteExportFolder(Export(), results, record);
        FAIL() << "no error";
    } catch (const RunError& error) {
        EXPECT_NE(std::string(error.what()).find((Export() / "series.csv").string()),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(folder.Read("export/summary.csv"), "old summary");
    EXPECT_EQ(folder.Read("export/tradeoff.csv"), "old trade-off");
    EXPECT_FALSE(StagedFilesLeft());

    std::filesystem::remove(Export() / "series.csv");
    WriteExportFolder(Export(), results, record);
    EXPECT_EQ(folder.Read("export/summary.csv").rfind("sales_point,demand,", 0), 0u);
    EXPECT_FALSE(StagedFilesLeft());
}

TEST(PrepareExportFolder, CreatesParentsAndRefusesAFileInTheWay) {
    TestFolder folder;
    EXPECT_FALSE(PrepareExportFolder(folder.Path("a/b/c")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("a/b/c")));
    folder.Write("file", "x");
    for (const char* path : {"file", "file/below"}) {
        const std::optional<std::string> problem = PrepareExportFolder(folder.Path(path));
        ASSERT_TRUE(problem) << path;
        EXPECT_NE(problem->find(folder.Path(path).string()), std::string::npos) << *problem;
    }
}

}  // namespace
}  // namespace sf
