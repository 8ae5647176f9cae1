#include "results/export_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "csv_reading.h"
#include "results/number_cells.h"
#include "results/summary_columns.h"
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

    ResultsRequest request{TauGrid{}, 0.9, OutcomeCosts{2.0, 1.0}, 0.8, std::nullopt};
    RunResults results;
    RunRecord record;
};

// What a folder holds, its entries and their contents, to see that nothing changed.
std::map<std::string, std::string> Contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> contents;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
        std::string& content = contents[entry.path().lexically_relative(folder).string()];
        if (entry.symlink_status().type() != std::filesystem::file_type::regular) {
            content = "(not a file)";
            continue;
        }
        std::ifstream file(entry.path(), std::ios::binary);
        content = std::string(std::istreambuf_iterator<char>(file), {});
    }
    return contents;
}

// The files of a run not checked on unseen periods and without a season: all but check.csv
// and season.csv.
std::set<std::string> ExportEntries() {
    std::set<std::string> names(ExportFileNames().begin(), ExportFileNames().end());
    names.insert(std::string(kExportMarker));
    names.erase("check.csv");
    names.erase("season.csv");
    return names;
}

TEST_F(ExportFolder, FiveFilesWithHeadersAndLineFeeds) {
    ASSERT_FALSE(CheckExportFolder(Export()));
    EXPECT_EQ(WriteExportFolder(Export(), results, record), "");
    for (const char* name : {"summary.csv", "series.csv", "tradeoff.csv", "next.csv"}) {
        const std::string text = folder.Read("export/" + std::string(name));
        EXPECT_EQ(text.find('\r'), std::string::npos) << name;
        EXPECT_EQ(text.back(), '\n') << name;
        const auto rows = CsvRows(text);
        for (const auto& row : rows) {
            ASSERT_EQ(row.size(), rows[0].size()) << name;
        }
    }
    // Each sales point's 24 periods, then the one coming period of H = 1.
    EXPECT_EQ(CsvRows(folder.Read("export/series.csv")).size(), 3u * 25u + 1u);
    EXPECT_EQ(CsvRows(folder.Read("export/next.csv")).size(), 3u + 1u);
    EXPECT_EQ(CsvRows(folder.Read("export/tradeoff.csv"))[0].back(), "cost");
    EXPECT_EQ(
        ExportFileList(),
        "summary.csv, series.csv, tradeoff.csv, next.csv, run.json, check.csv and season.csv");
}

// run.json read by its keys against what the record and the results hold, every figure of the
// sound and all rows by its column name: a value written under the wrong key fails.
TEST_F(ExportFolder, RunJsonHoldsTheRecordAndTheFiguresByName) {
    record.run = 3;
    record.notes = {"a note"};
    WriteExportFolder(Export(), results, record);
    const auto json = nlohmann::ordered_json::parse(folder.Read("export/run.json"));
    EXPECT_FALSE(json["version"].get<std::string>().empty());
    // The scenario as the front end rendered it, in its own key order.
    EXPECT_EQ(json["scenario"].dump(), R"({"format":2,"seed":42,"boxes":{"tau":" .5"}})");
    EXPECT_EQ(json["model"], "loga");
    EXPECT_EQ(json["seed"], 42);
    EXPECT_EQ(json["run"], 3);
    EXPECT_EQ(json["report"], folder.Path("out.txt").string());
    EXPECT_EQ(json["warnings"], (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(json["notes"], (std::vector<std::string>{"a note"}));
    EXPECT_EQ(json["options"]["lost_sale_cost"].get<double>(), 2.0);
    EXPECT_EQ(json["options"]["return_cost"].get<double>(), 1.0);
    EXPECT_EQ(json["options"]["target_fill_rate"].get<double>(), 0.9);
    EXPECT_EQ(json["sales_points"], 3);
    for (const Evaluation evaluation : kEvaluations) {
        SCOPED_TRACE(std::string(EvaluationName(evaluation)));
        const auto& totals = json["totals"][std::string(EvaluationName(evaluation))];
        const EvaluationFigures& figures = results.figures.Of(evaluation);
        EXPECT_EQ(totals["first_period"], figures.stretch.first);
        EXPECT_EQ(totals["last_period"], figures.stretch.last);
        for (const auto& [key, row] :
             {std::pair("sound", &figures.sound), std::pair("all", &figures.all)}) {
            for (const SummaryColumn& column : kSummaryColumns) {
                const auto& value = totals[key][std::string(column.name)];
                const std::optional<double> expected = column.value(*row);
                ASSERT_EQ(value.is_null(), !expected) << key << " " << column.name;
                if (expected) {
                    EXPECT_TRUE(SameBits(value.get<double>(), *expected))
                        << key << " " << column.name;
                }
            }
        }
        const EvaluationAnswers& answers = results.Answers(evaluation);
        const std::string name(EvaluationName(evaluation));
        EXPECT_EQ(json["target_fill_rate"][name]["tau"].get<double>(), *answers.target->tau);
        EXPECT_EQ(json["cheapest_tau"][name]["tau"].get<double>(), answers.cheapest->tau);
        EXPECT_EQ(json["cheapest_tau"][name]["cost"].get<double>(), answers.cheapest->cost);
    }
    EXPECT_EQ(json["target_fill_rate"]["target"].get<double>(), 0.9);
    EXPECT_EQ(json["cheapest_tau"]["normal_theory_tau"].get<double>(), *results.normalTheory->tau);

    // A sales history has a file, not a model or a seed.
    SalesHistory history;
    history.name = "shop.csv";
    history.salesPoints = 1;
    history.periods = 1;
    history.demand = {5.0};
    record.inputs.history = history;
    WriteExportFolder(Export(), results, record);
    const nlohmann::json fromHistory = nlohmann::json::parse(folder.Read("export/run.json"));
    EXPECT_TRUE(fromHistory["seed"].is_null());
    EXPECT_TRUE(fromHistory["model"].is_null());
    EXPECT_EQ(fromHistory["demand_file"], "shop.csv");
}

// An export folder as earlier versions wrote it.
void EarlierExport(const TestFolder& folder) {
    std::filesystem::copy(std::filesystem::path(SF_GOLDEN_EXPORTS_DIR) / "01-loga_base",
                          folder.Path("export"));
}

// Every folder an export may meet: taken and replaced whole, or refused before the run with
// nothing changed and nothing created.
TEST_F(ExportFolder, ReplacedWholeOrRefusedBeforeTheRunWithNothingChanged) {
    using Setup = void (*)(const TestFolder&);
    const struct {
        const char* name;
        const char* path;  // of the export folder, within the test folder
        Setup setup;
        const char* refusal;  // a part of the message; none for a folder taken
    } cases[] = {
        {"new, parents missing", "a/b/export", [](const TestFolder&) {}, nullptr},
        {"empty", "export",
         [](const TestFolder& f) { std::filesystem::create_directory(f.Path("export")); }, nullptr},
        {"an earlier export", "export", EarlierExport, nullptr},
        {"an earlier export with some files gone", "export",
         [](const TestFolder& f) {
             EarlierExport(f);
             std::filesystem::remove(f.Path("export/series.csv"));
         },
         nullptr},
        {"a symbolic link to a folder", "link",
         [](const TestFolder& f) {
             EarlierExport(f);
             std::filesystem::create_directory_symlink("export", f.Path("link"));
         },
         nullptr},
        {"a file of the user under an export's name, no marker", "export",
         [](const TestFolder& f) {
             std::filesystem::create_directory(f.Path("export"));
             f.Write("export/summary.csv", "mine");
             f.Write("export/series.csv", "mine");
         },
         "holds \"series.csv\" but not the marker .sales-forecast-export"},
        {"a marker an export did not write", "export",
         [](const TestFolder& f) {
             EarlierExport(f);
             f.Write("export/.sales-forecast-export", "mine");
         },
         "holds a marker .sales-forecast-export that an export did not write"},
        {"a marker that runs on", "export",
         [](const TestFolder& f) {
             EarlierExport(f);
             f.Write("export/.sales-forecast-export",
                     f.Read("export/.sales-forecast-export") + "mine");
         },
         "holds a marker .sales-forecast-export that an export did not write"},
        {"a marker that is a link", "export",
         [](const TestFolder& f) {
             EarlierExport(f);
             std::filesystem::rename(f.Path("export/.sales-forecast-export"), f.Path("marker"));
             std::filesystem::create_symlink("../marker", f.Path("export/.sales-forecast-export"));
         },
         "holds \".sales-forecast-export\", which is not a file of an export"},
        {"a file of the user", "export",
         [](const TestFolder& f) {
             std::filesystem::create_directory(f.Path("export"));
             f.Write("export/summary.csv", "old");
             f.Write("export/notes.txt", "mine");
             f.Write("export/zz.txt", "mine");
         },
         "holds \"notes.txt\", which is not a file of an export"},
        {"a file of the user named with an escape sequence", "export",
         [](const TestFolder& f) {
             std::filesystem::create_directory(f.Path("export"));
             f.Write("export/\x1B[2J", "mine");
         },
         "holds \"\\x1B[2J\", which is not a file of an export"},
        {"a folder in the way of an export file", "export",
         [](const TestFolder& f) {
             std::filesystem::create_directories(f.Path("export/series.csv"));
             f.Write("export/summary.csv", "old");
         },
         "holds \"series.csv\", which is not a file of an export"},
        {"a link round in a circle", "loop",
         [](const TestFolder& f) {
             std::filesystem::create_symlink("loop2", f.Path("loop"));
             std::filesystem::create_symlink("loop", f.Path("loop2"));
         },
         "is a symbolic link that leads round in a circle"},
        {"a file", "export", [](const TestFolder& f) { f.Write("export", "mine"); },
         "is a file, not a folder"},
        {"under a file", "file/export", [](const TestFolder& f) { f.Write("file", "mine"); },
         "could not be created: \""},
        {"read-only", "export",
         [](const TestFolder& f) {
             std::filesystem::create_directory(f.Path("export"));
             f.Write("export/run.json", "old");
             std::filesystem::permissions(f.Path("export"), std::filesystem::perms::owner_read |
                                                                std::filesystem::perms::owner_exec);
         },
         "could not be written: Permission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "read-only" && ::geteuid() == 0) {
            continue;  // permission bits do not stop root
        }
        const TestFolder scratch;
        c.setup(scratch);
        const std::map<std::string, std::string> before = Contents(scratch.Root());
        const std::filesystem::path exported = scratch.Path(c.path);
        const std::optional<std::string> problem = CheckExportFolder(exported);
        if (c.refusal != nullptr) {
            ASSERT_TRUE(problem);
            EXPECT_NE(problem->find(c.refusal), std::string::npos) << *problem;
            EXPECT_NE(problem->find(exported.string()), std::string::npos) << *problem;
            // Found again after the run, should the folder have changed meanwhile.
            EXPECT_THROW(WriteExportFolder(exported, results, record), RunError);
            EXPECT_EQ(Contents(scratch.Root()), before);
            continue;
        }
        ASSERT_FALSE(problem) << *problem;
        EXPECT_EQ(Contents(scratch.Root()), before);  // nothing created before the run
        EXPECT_EQ(WriteExportFolder(exported, results, record), "");
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(exported)) {
            names.insert(entry.path().filename().string());
        }
        EXPECT_EQ(names, ExportEntries());
        EXPECT_EQ(Contents(exported).at("run.json").rfind("{", 0), 0u);
        EXPECT_EQ(std::filesystem::is_symlink(exported), std::string(c.path) == "link");
        // Nothing temporary is left beside it.
        for (const auto& entry : std::filesystem::directory_iterator(exported.parent_path())) {
            EXPECT_NE(entry.path().filename().string().rfind(".sf-", 0), 0u) << entry.path();
        }
    }
}

}  // namespace
}  // namespace sf
