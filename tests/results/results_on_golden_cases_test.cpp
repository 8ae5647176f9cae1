// Every reference scenario that completes, run through the batch command's own reading of its
// command line: the export holds the run state's numbers bit for bit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/cli_options.h"
#include "csv_reading.h"
#include "recording_observer.h"
#include "results/export_folder.h"
#include "results/run_results.h"
#include "run/run_driver.h"
#include "test_folder.h"

namespace sf {
namespace {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The words of a .cmd line after the command, with '...' quoting as the shell reads it there.
std::vector<std::string> CommandArguments(const std::filesystem::path& cmd) {
    std::istringstream lines(FileText(cmd));
    std::string line;
    while (std::getline(lines, line) && line.rfind("sales-forecast-cli", 0) != 0) {
    }
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : line.substr(std::string("sales-forecast-cli").size())) {
        if (c == '\'') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

std::map<std::string, std::size_t> Columns(const std::vector<std::string>& header) {
    std::map<std::string, std::size_t> columns;
    for (std::size_t at = 0; at < header.size(); ++at) {
        columns[header[at]] = at;
    }
    return columns;
}

std::vector<std::filesystem::path> CompletingCases() {
    std::vector<std::filesystem::path> cases;
    for (const auto& entry : std::filesystem::directory_iterator(SF_GOLDEN_DIR)) {
        std::filesystem::path exit = entry.path();
        exit.replace_extension(".exit");
        if (entry.path().extension() == ".cmd" && FileText(exit).substr(0, 1) == "0") {
            cases.push_back(entry.path());
        }
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

class ResultsOnGoldenCases : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(ResultsOnGoldenCases, ExportHoldsTheRunStateBitForBit) {
    std::string problem;
    const std::optional<CliOptions> options =
        ParseCliOptions(CommandArguments(GetParam()), problem);
    ASSERT_TRUE(options) << problem;
    TestFolder folder;
    auto state = std::make_unique<RunState>();
    UniformSource source(options->results.seed);
    RecordingObserver observer;
    for (int run = 0; run < options->runs; ++run) {
        ASSERT_TRUE(ExecuteRun(*state, source, options->inputs, NumberLocale{},
                               folder.Path("out.txt"), observer, options->run)
                        .completed);
    }
    std::filesystem::path golden = GetParam();
    golden.replace_extension(".out.txt");
    ASSERT_EQ(folder.Read("out.txt"), FileText(golden));

    const RunResults results = ComputeResults(*state, ResultsRequest{});
    WriteExportFolder(folder.Path("export"), results, RunRecord{});
    const int n = state->salesPointCount;
    const int s = state->initPeriods;
    const int p = state->periodNumber;

    // summary.csv: the report's table and totals.
    const auto summary = CsvRows(folder.Read("export/summary.csv"));
    ASSERT_EQ(summary.size(), static_cast<std::size_t>(n + 2));
    std::map<std::string, std::size_t> summaryColumn = Columns(summary[0]);
    for (int sp = 1; sp <= n + 1; ++sp) {
        const auto& row = summary[static_cast<std::size_t>(sp)];
        const bool all = sp == n + 1;
        EXPECT_EQ(row[0], all ? "all" : std::to_string(sp));
        EXPECT_TRUE(SameBits(CellValue(row[summaryColumn["sales"]]),
                             all ? state->totalSales : state->salesSum[sp]));
        EXPECT_TRUE(SameBits(CellValue(row[summaryColumn["lost_sales"]]),
                             all ? state->totalLostSale : state->lostSaleSum[sp]));
        EXPECT_TRUE(SameBits(CellValue(row[summaryColumn["returns"]]),
                             all ? state->totalReturn : state->returnedSum[sp]))
            << "row " << row[0];
    }

    // series.csv: the run state's doubles where the run wrote them, empty cells elsewhere.
    const auto series = CsvRows(folder.Read("export/series.csv"));
    ASSERT_EQ(series.size(), static_cast<std::size_t>(n * std::max(p, 0) + 1));
    const struct {
        const char* name;
        const Matrix RunState::*matrix;
        int first;
    } checked[] = {{"demand", &RunState::actualDemand, 1},
                   {"forecast", &RunState::mu, s},
                   {"sigma", &RunState::sigma, s},
                   {"delivery", &RunState::delivery, s},
                   {"alpha", &RunState::alphaUsed, s + 1}};
    std::map<std::string, std::size_t> seriesColumn = Columns(series[0]);
    std::size_t line = 1;
    for (int sp = 1; sp <= n; ++sp) {
        for (int t = 1; t <= p; ++t, ++line) {
            const auto& row = series[line];
            ASSERT_EQ(row.size(), 13u);
            ASSERT_EQ(row[0] + "," + row[1], std::to_string(sp) + "," + std::to_string(t));
            for (const auto& column : checked) {
                const std::string& cell = row[seriesColumn[column.name]];
                if (t >= column.first) {
                    ASSERT_TRUE(SameBits(CellValue(cell), ((*state).*column.matrix)(sp, t)))
                        << column.name << " at " << sp << ", " << t << ": " << cell;
                } else {
                    ASSERT_EQ(cell, "") << column.name << " at " << sp << ", " << t;
                }
            }
        }
    }

    // The trade-off row of the run's own tau: the run's totals.
    const auto own = std::find_if(results.tradeoff.begin(), results.tradeoff.end(),
                                  [](const TradeoffRow& row) { return row.runTau; });
    ASSERT_NE(own, results.tradeoff.end());
    EXPECT_TRUE(SameBits(own->sales, state->totalSales));
    EXPECT_TRUE(SameBits(own->lostSales, state->totalLostSale));
    EXPECT_TRUE(SameBits(own->returns, state->totalReturn));
    EXPECT_TRUE(SameBits(own->deliveries, results.figures.all.deliveries));
}

INSTANTIATE_TEST_SUITE_P(ReferenceScenarios, ResultsOnGoldenCases,
                         ::testing::ValuesIn(CompletingCases()),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& info) {
                             std::string name = info.param.stem().string();
                             std::replace(name.begin(), name.end(), '-', '_');
                             return "case_" + name;
                         });

}  // namespace
}  // namespace sf
