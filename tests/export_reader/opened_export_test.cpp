// An export folder read back: every reference export opens and writes itself again byte for
// byte, and a folder damaged in any of its files is refused, naming the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "csv_reading.h"
#include "export_reader/opened_export.h"
#include "history/history_reader.h"
#include "results/export_folder.h"
#include "results/export_tables.h"
#include "run_fixture.h"
#include "runtime/run_error.h"
#include "scenario/scenario_format.h"
#include "test_folder.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenExports = SF_GOLDEN_EXPORTS_DIR;
// Export folders as earlier versions wrote them.
const fs::path kEarlierExports = SF_EARLIER_EXPORTS_DIR;
const fs::path kNextDeliveriesInRunJson = kEarlierExports / "next-deliveries-in-run-json";

TEST(OpenedExport, EveryReferenceExportOpensAndWritesItselfAgain) {
    int opened = 0;
    for (const fs::directory_entry& folder : fs::directory_iterator(kGoldenExports)) {
        SCOPED_TRACE(folder.path().filename().string());
        const ExportFiles files = ReadExportFiles(folder.path());
        const OpenedExport run = OpenExport(files, NumberLocale{});
        EXPECT_EQ(SummaryCsv(run.results, run.record), files.summary);
        EXPECT_EQ(TradeoffCsv(run.results), files.tradeoff);
        EXPECT_EQ(SeriesCsv(run.results.series), files.series);
        EXPECT_EQ(NextCsv(run.results), files.next);
        // The health the window shows agrees with the figures the folder holds.
        EXPECT_EQ(static_cast<int>(run.health.divergedSalesPoints.size()),
                  run.results.figures.Of(Evaluation::asReported).all.diverged);
        EXPECT_EQ(run.health.salesPointCount,
                  static_cast<int>(run.results.series.salesPoints.size()));
        ++opened;
    }
    EXPECT_GE(opened, 13);
}

// run.json once held the coming periods too, which made it grow with them (20 MB at H = 590);
// such a folder still opens and is still held to every member it has.
TEST(OpenedExport, AFolderWithTheComingPeriodsInRunJsonStillOpens) {
    const ExportFiles files = ReadExportFiles(kNextDeliveriesInRunJson);
    const OpenedExport run = OpenExport(files, NumberLocale{});
    EXPECT_EQ(run.runJsonForm, RunJsonForm::withNextDeliveries);
    EXPECT_EQ(RunJson(run.results, run.record, run.runJsonForm), files.runJson);
    EXPECT_EQ(NextCsv(run.results), files.next);
}

// The writer writes the table's members in its order, and the reader holds a folder to each:
// without any one of them the folder is refused, naming run.json.
TEST(OpenedExport, RunJsonHoldsTheMembersOfItsTableEachReadOrCompared) {
    const ExportFiles files = ReadExportFiles(kGoldenExports / "01-loga_base");
    const nlohmann::ordered_json written = nlohmann::ordered_json::parse(files.runJson);
    std::vector<std::string> names;
    for (const auto& member : written.items()) {
        names.push_back(member.key());
    }
    std::vector<std::string> table;
    for (const auto& [key, name] : kRunJsonKeys) {
        if (key != RunJsonKey::nextDeliveries && key != RunJsonKey::shard) {
            table.emplace_back(name);
        }
    }
    EXPECT_EQ(names, table);
    for (const std::string& name : table) {
        SCOPED_TRACE(name);
        nlohmann::ordered_json without = written;
        without.erase(name);
        ExportFiles damaged = files;
        damaged.runJson = without.dump(2) + '\n';
        try {
            OpenExport(damaged, NumberLocale{});
            ADD_FAILURE() << "opened";
        } catch (const RunError& refusal) {
            EXPECT_EQ(std::string(refusal.what()).rfind("run.json", 0), 0u) << refusal.what();
        }
    }
}

// A folder written before the proposals and the cost tau opens, and is written again in its own
// form: the earlier next.csv header and run.json without the cost tau.
TEST(OpenedExport, AFolderOfTheEarlierFormStillOpens) {
    const fs::path earlier = kGoldenExports.parent_path() / "earlier-exports" / "01-loga_base";
    const ExportFiles files = ReadExportFiles(earlier);
    const OpenedExport run = OpenExport(files, NumberLocale{});
    EXPECT_EQ(run.results.form, ExportForm::beforeProposals);
    EXPECT_EQ(NextCsv(run.results), files.next);
    EXPECT_EQ(files.runJson.find("cost_tau"), std::string::npos);
    // The same run's current folder differs from it.
    const ExportFiles current = ReadExportFiles(kGoldenExports / "01-loga_base");
    EXPECT_NE(current.next, files.next);
    EXPECT_EQ(OpenExport(current, NumberLocale{}).results.form, ExportForm::current);
}

// The boxes come back in the locale the window shows them in.
TEST(OpenedExport, BoxesShownInTheUsersLocale) {
    const OpenedExport run =
        ReadExportFolder(kGoldenExports / "01-loga_base", NumberLocale{",", "."});
    EXPECT_EQ(run.record.inputs.tau_tx, "0,5");
    EXPECT_EQ(run.record.run, 1);
    EXPECT_FALSE(run.record.inputs.history);
}

// A sales history whose header names hold a comma and a quote, its periods dated by day.
SalesHistory DatedHistory() {
    std::string text = "date,\"North, main\",\"South \"\"old\"\"\",Centre\n";
    for (int day = 1; day <= 24; ++day) {
        text += "2024-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + ',' +
                std::to_string(20 + day % 7) + ',' + std::to_string(30 - day % 5) + ',' +
                std::to_string(10 + day % 3 * day) + '\n';
    }
    SalesHistory history = ParseSalesHistory(text);
    history.name = "dated.csv";
    history.file = "/data/dated.csv";
    return history;
}

struct ExportedRun {
    const char* what;
    std::function<void(RunInputs&, RunOptions&, ResultsRequest&)> vary;
};

using OpenedExportOfARun = RunFixture;

// Runs of this start exported and read back: what the window lists is what the run gave, in
// every file, for a sales history's names and dates as for drawn demand.
TEST_F(OpenedExportOfARun, TheRunComesBackAsItWasExported) {
    const ExportedRun runs[] = {
        {"drawn, horizon 0, no answers asked",
         [](RunInputs& inputs, RunOptions&, ResultsRequest&) { inputs.horizontx = "0"; }},
        {"a dated sales history with names to quote, horizon 2, constants bounded",
         [](RunInputs& inputs, RunOptions& options, ResultsRequest& request) {
             inputs.history = DatedHistory();
             inputs.horizontx = "2";
             options.boundedConstants = true;
             request = {TauGrid{0.5, 2.0, 0.25}, 0.95, OutcomeCosts{3.0, 0.5}, 0.7, std::nullopt};
         }},
        {"a dated sales history with a season of 3 periods, which writes season.csv",
         [](RunInputs& inputs, RunOptions& options, ResultsRequest& request) {
             inputs.history = DatedHistory();
             inputs.periodsforinitialization = "9";
             options.season = 3;
             request.targetFillRate = 0.9;
         }},
    };
    for (const ExportedRun& run : runs) {
        SCOPED_TRACE(run.what);
        RunRecord record;
        record.inputs = SmallRun();
        record.run = 2;
        run.vary(record.inputs, record.options, record.request);
        ASSERT_TRUE(ExecuteRun(*state, source, record.inputs, NumberLocale{},
                               folder.Path("out.txt"), observer, record.options)
                        .completed);
        record.scenario = ScenarioText({record.inputs, record.options.boundedConstants, record.seed,
                                        SourceOf(record.inputs.history), record.options.season},
                                       NumberLocale{});
        record.reportPath = folder.Path("out.txt");
        record.warnings = {"a warning, as shown"};
        const RunResults results = ComputeResults(*state, record.request);
        const std::filesystem::path exported = folder.Path("export");
        WriteExportFolder(exported, results, record);

        const OpenedExport opened = ReadExportFolder(exported, NumberLocale{});
        EXPECT_EQ(SummaryCsv(opened.results, opened.record), SummaryCsv(results, record));
        EXPECT_EQ(SeriesCsv(opened.results.series), SeriesCsv(results.series));
        EXPECT_EQ(TradeoffCsv(opened.results), TradeoffCsv(results));
        EXPECT_EQ(RunJson(opened.results, opened.record), RunJson(results, record));
        EXPECT_EQ(opened.results.series.names, results.series.names);
        EXPECT_EQ(opened.results.series.dates, results.series.dates);
        EXPECT_EQ(opened.record.inputs.history.has_value(), record.inputs.history.has_value());
        if (record.inputs.history) {
            EXPECT_EQ(opened.record.inputs.history->dates, record.inputs.history->dates);
        }
        EXPECT_EQ(opened.record.options.boundedConstants, record.options.boundedConstants);
        EXPECT_EQ(opened.record.warnings, record.warnings);
        EXPECT_EQ(opened.results.series.horizon, results.series.horizon);
        EXPECT_EQ(opened.health.horizonZero, results.series.horizon == 0);
        EXPECT_EQ(opened.record.options.season, record.options.season);
        EXPECT_EQ(SeasonCsv(opened.results.series), SeasonCsv(results.series));
        EXPECT_EQ(fs::exists(exported / "season.csv"), record.options.season != 0);
        EXPECT_EQ(opened.health.seasonFlatSalesPoints, state->season.flatSalesPoints);
    }
}

void Replace(const TestFolder& folder, const std::string& file, const std::string& from,
             const std::string& to) {
    std::string text = folder.Read(file);
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    folder.Write(file, text.replace(at, from.size(), to));
}

// Every occurrence; none is an error of the test.
void ReplaceAll(const TestFolder& folder, const std::string& file, const std::string& from,
                const std::string& to) {
    std::string text = folder.Read(file);
    std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    for (; at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    folder.Write(file, text);
}

struct ComingDates {
    const char* what;
    std::function<void(const TestFolder&)> change;
    const char* refusal;  // none: the folder opens, dating periods 1..P only
};

// The coming periods of a dated history carry its dates on in series.csv and next.csv; a folder
// written before, with those dates empty, still opens, and a coming date that does not carry
// them on is refused.
TEST_F(OpenedExportOfARun, TheComingPeriodsOfADatedHistoryAreDated) {
    RunRecord record;
    record.inputs = SmallRun();
    record.inputs.history = DatedHistory();
    record.inputs.horizontx = "2";
    ASSERT_TRUE(Run(record.inputs).completed);
    record.scenario = ScenarioText(
        {record.inputs, false, record.seed, SourceOf(record.inputs.history)}, NumberLocale{});
    record.reportPath = folder.Path("out.txt");
    const RunResults results = ComputeResults(*state, record.request);
    ASSERT_EQ(results.series.comingPeriods.last, 26);
    EXPECT_EQ(results.series.Date(25), "2024-01-25");
    EXPECT_EQ(results.series.Date(26), "2024-01-26");
    EXPECT_EQ(results.series.Date(27), "");
    WriteExportFolder(folder.Path("export"), results, record);
    const std::string next = folder.Read("export/next.csv");
    EXPECT_NE(next.find("\n3,Centre,26,2024-01-26,24,"), std::string::npos) << next;

    const ComingDates cases[] = {
        {"written before: no coming period dated",
         [](const TestFolder& f) {
             for (const char* file : {"series.csv", "next.csv"}) {
                 ReplaceAll(f, file, ",25,2024-01-25,", ",25,,");
                 ReplaceAll(f, file, ",26,2024-01-26,", ",26,,");
             }
         },
         nullptr},
        {"a coming date that does not carry the dates on",
         [](const TestFolder& f) {
             Replace(f, "series.csv", ",26,2024-01-26,", ",26,2024-01-27,");
         },
         "series.csv, row 27, column date: \"2024-01-27\" where the dates continue with "
         "\"2024-01-26\""},
        {"one coming period dated, the other not",
         [](const TestFolder& f) { Replace(f, "series.csv", ",25,2024-01-25,", ",25,,"); },
         "series.csv, row 26, column date: \"\" where the dates continue with \"2024-01-25\""},
    };
    for (const ComingDates& coming : cases) {
        SCOPED_TRACE(coming.what);
        TestFolder changed;
        fs::copy(folder.Path("export"), changed.Root(), fs::copy_options::recursive);
        coming.change(changed);
        try {
            const OpenedExport opened = ReadExportFolder(changed.Root(), NumberLocale{});
            EXPECT_EQ(coming.refusal, nullptr) << "opened";
            EXPECT_EQ(opened.results.series.dates,
                      std::vector(results.series.dates.begin(), results.series.dates.begin() + 24));
        } catch (const RunError& refusal) {
            ASSERT_NE(coming.refusal, nullptr) << refusal.what();
            EXPECT_EQ(std::string(refusal.what()).rfind(coming.refusal, 0), 0u) << refusal.what();
        }
    }
}

struct Damage {
    const char* what;
    std::function<void(const TestFolder&)> damage;
    const char* refusal;                                // the start of the message, naming the file
    fs::path folder = kGoldenExports / "01-loga_base";  // the folder damaged
};

TEST(OpenedExport, DamagedFoldersAreRefusedNamingTheFile) {
    const Damage damages[] = {
        {"season indices of a run without a season",
         [](const TestFolder& f) { f.Write("season.csv", "sales_point,name,position,index\n"); },
         "season.csv is in the folder, but run.json names no season"},
        {"a missing file", [](const TestFolder& f) { fs::remove(f.Path("tradeoff.csv")); },
         "tradeoff.csv could not be read"},
        {"no marker", [](const TestFolder& f) { fs::remove(f.Path(".sales-forecast-export")); },
         ".sales-forecast-export is missing"},
        {"a marker an export did not write",
         [](const TestFolder& f) { f.Write(".sales-forecast-export", "mine\n"); },
         ".sales-forecast-export does not hold what an export writes"},
        {"a folder in place of a file",
         [](const TestFolder& f) {
             fs::remove(f.Path("series.csv"));
             fs::create_directory(f.Path("series.csv"));
         },
         "series.csv is a folder"},
        {"a changed figure",
         [](const TestFolder& f) { Replace(f, "summary.csv", ",460,445,", ",461,445,"); },
         "summary.csv, row 2, column demand: the folder holds \"461\""},
        {"a changed trade-off",
         [](const TestFolder& f) {
             Replace(f, "tradeoff.csv", "as_forecast,0,", "as_forecast,0.05,");
         },
         "tradeoff.csv, row 2, column tau"},
        {"a changed demand, which the figures no longer match",
         [](const TestFolder& f) {
             Replace(f, "series.csv", "\n1,1,24,,31,28,", "\n1,1,24,,31,29,");
         },
         "summary.csv, row 2, column demand"},
        {"a delivery its forecast does not give",
         [](const TestFolder& f) {
             Replace(f, "series.csv", "5.588557722351044,37,23", "5.588557722351044,38,23");
         },
         "series.csv, row 25, column delivery_as_forecast: the folder holds \"38\" where the rest "
         "of it gives \"37\""},
        {"a changed delivery to decide now",
         [](const TestFolder& f) {
             Replace(f, "next.csv", "\n1,1,25,,24,31.645535737386716,5.86269486469249,35,",
                     "\n1,1,25,,24,31.645535737386716,5.86269486469249,34,");
         },
         "next.csv, row 2, column delivery: the folder holds \"34\" where the rest of it gives "
         "\"35\""},
        {"a changed delivery to decide now in run.json",
         [](const TestFolder& f) {
             Replace(f, "run.json", "\"delivery\": 35.0", "\"delivery\": 34.0");
         },
         "run.json, line ", kNextDeliveriesInRunJson},
        {"a changed total in run.json",
         [](const TestFolder& f) {
             Replace(f, "run.json", "\"lost_sales\": 71.0", "\"lost_sales\": 70.0");
         },
         "run.json, line "},
        {"a cut series",
         [](const TestFolder& f) { f.Write("series.csv", f.Read("series.csv").substr(0, 2000)); },
         "series.csv, row "},
        {"a cell that is no number",
         [](const TestFolder& f) {
             Replace(f, "series.csv", "\n1,1,2,,29,25,", "\n1,1,2,,29,2x5,");
         },
         "series.csv, row 3, column demand: \"2x5\" is not a number"},
        {"forecasts as known, whole, before the report's first forecast",
         [](const TestFolder& f) {
             // Periods 3..11 of every sales point, before S + 1 = 5, given forecasts as known
             // that agree with one another.
             const auto rows = CsvRows(f.Read("series.csv"));
             std::string text;
             for (auto row : rows) {
                 if (row.size() == 19 && row[0] != "sales_point" && std::stoi(row[2]) >= 3 &&
                     std::stoi(row[2]) <= 11) {
                     row[15] = "30", row[16] = "2", row[17] = "31";
                     row[18] = std::to_string(std::stoi(row[2]) - 1);
                 }
                 for (std::size_t at = 0; at < row.size(); ++at) {
                     text += (at == 0 ? "" : ",") + row[at];
                 }
                 text += '\n';
             }
             f.Write("series.csv", text);
         },
         "series.csv, row 4, column forecast_as_forecast: the forecasts as known begin at period "
         "3"},
        {"a foreign header",
         [](const TestFolder& f) { Replace(f, "series.csv", "demand_mean", "mean"); },
         "series.csv, row 1, column demand_mean"},
        {"an unknown version",
         [](const TestFolder& f) {
             Replace(f, "run.json", "\"version\": \"1.0\"", "\"version\": \"7.1\"");
         },
         "run.json, \"version\": \"7.1\" is a version this program does not know"},
        {"another program",
         [](const TestFolder& f) { Replace(f, "run.json", "\"Sales Forecast\"", "\"Other\""); },
         "run.json, \"program\""},
        {"run.json not an object", [](const TestFolder& f) { f.Write("run.json", "[1, 2]\n"); },
         "run.json holds \"[1,2]\" where an object in braces belongs"},
        {"run.json not JSON", [](const TestFolder& f) { f.Write("run.json", "{\"program\": "); },
         "run.json is not JSON"},
        {"a tau grid that never ends",
         [](const TestFolder& f) { Replace(f, "run.json", "\"step\": 0.1", "\"step\": 0.0"); },
         "run.json, \"options.tau_grid\""},
        {"a changed answer",
         [](const TestFolder& f) { Replace(f, "run.json", "\"run\": 1,", "\"run\": 2,"); },
         "summary.csv, row 2, column run"},
        {"a changed coming period in a folder written before",
         [](const TestFolder& f) {
             Replace(f, "run.json", "\"delivery\": 35.0,", "\"delivery\": 36.0,");
         },
         "run.json, line ", kNextDeliveriesInRunJson},
        {"more sales points than the series have",
         [](const TestFolder& f) {
             Replace(f, "run.json", "\"sales_points\": 3", "\"sales_points\": 4");
         },
         "series.csv, row "},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        TestFolder folder;
        fs::copy(damage.folder, folder.Root(), fs::copy_options::recursive);
        damage.damage(folder);
        try {
            ReadExportFolder(folder.Root(), NumberLocale{});
            ADD_FAILURE() << "opened";
        } catch (const RunError& refusal) {
            EXPECT_EQ(std::string(refusal.what()).rfind(damage.refusal, 0), 0u) << refusal.what();
        }
    }
}

}  // namespace
}  // namespace sf
