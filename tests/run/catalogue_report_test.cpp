#include "run/catalogue_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "run/catalogue_run.h"
#include "run/run_driver.h"
#include "runtime/number_text.h"
#include "shop_history.h"
#include "state/quiet_observer.h"
#include "test_folder.h"

namespace sf {
namespace {

std::vector<std::string> LinesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(0, line.size() - 1));  // without its CR
    }
    return lines;
}

RunInputs InputsOf(SalesHistory history) {
    RunInputs inputs;
    inputs.periodsforinitialization = "6";
    inputs.periodsforalphabeta = "10";
    inputs.warmuptx = "0";
    inputs.horizontx = "1";
    inputs.tau_tx = "0.7";
    inputs.history = std::move(history);
    return inputs;
}

void ExpectNoBlockFilesLeft(const TestFolder& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder.Root())) {
        EXPECT_NE(entry.path().filename().string().rfind(".sf-", 0), 0u) << entry.path();
    }
}

struct ReportCase {
    int salesPoints;
    int periods;
};

class CatalogueReportLayout : public testing::TestWithParam<ReportCase> {};

// A catalogue's report is its blocks' reports joined: each matrix row the blocks' rows side by
// side, the lost-sale rows numbered as in the file, the totals the blocks' pooled in block order.
// Joined in rounds of two, it is the same.
TEST_P(CatalogueReportLayout, IsTheBlocksReportsJoined) {
    const ReportCase given = GetParam();
    const SalesHistory history = ShopHistory(given.salesPoints, given.periods, 651u);
    TestFolder folder;
    QuietObserver quiet;
    const CatalogueOutcome catalogue =
        ExecuteCatalogueRun(InputsOf(history), NumberLocale{}, quiet, RunOptions{},
                            ResultsRequest{}, 2, {}, {}, folder.Path("out.txt"));
    ASSERT_TRUE(catalogue.completed) << catalogue.message;

    std::vector<ReportPiece> pieces;
    std::vector<std::vector<std::string>> blocks;
    std::vector<ReportTotals> totals;
    for (const SalesPointBlock& block : CatalogueBlocks(given.salesPoints)) {
        const auto state = std::make_unique<RunState>(PeriodsToHold(InputsOf(history)));
        UniformSource source;
        pieces.push_back({folder.Path("block" + std::to_string(block.first)), block.count});
        ASSERT_TRUE(ExecuteRun(*state, source,
                               InputsOf(BlockAlone(history, block.first, block.count)),
                               NumberLocale{}, pieces.back().path, quiet)
                        .completed);
        blocks.push_back(LinesOf(pieces.back().path));
        totals.push_back({state->totalSales, state->totalLostSale, state->totalReturn});
    }
    const std::vector<std::string> lines = LinesOf(folder.Path("out.txt"));

    std::size_t at = 0;
    for (int rowsLeft = 0; at < lines.size() && lines[at] != LostSaleHeading(); ++at) {
        std::string expected = blocks[0].at(at);
        for (std::size_t block = 1; rowsLeft > 0 && block < blocks.size(); ++block) {
            expected += " " + blocks[block].at(at);
        }
        ASSERT_EQ(lines[at], expected) << "line " << at + 1;
        rowsLeft = rowsLeft > 0 ? rowsLeft - 1 : 0;
        if (std::ranges::find(kMatrixHeadings, lines[at]) != kMatrixHeadings.end()) {
            rowsLeft = given.periods;
        }
    }
    const std::size_t table = at + 1;
    for (int salesPoint = 1; salesPoint <= given.salesPoints; ++salesPoint) {
        const std::size_t block = static_cast<std::size_t>(salesPoint - 1) / 100;
        const std::string& alone = blocks[block].at(table + (salesPoint - 1) % 100);
        std::string number = " " + std::to_string(salesPoint) + " ";
        number.resize(14, ' ');
        EXPECT_EQ(lines.at(table + salesPoint - 1), number + alone.substr(14));
    }
    double sales = 0.0;
    double lostSale = 0.0;
    double returned = 0.0;
    for (const ReportTotals& block : totals) {
        sales += block.sales;
        lostSale += block.lostSale;
        returned += block.returned;
    }
    const std::vector<std::string> ending(lines.begin() + table + given.salesPoints, lines.end());
    EXPECT_EQ(ending,
              (std::vector<std::string>{" ", "Total Sales: " + NumberText(sales, NumberLocale{}),
                                        "Total Lost Sale: " + NumberText(lostSale, NumberLocale{}),
                                        "Total Return: " + NumberText(returned, NumberLocale{})}));
    if (blocks.size() == 1) {
        EXPECT_EQ(folder.Read("out.txt"), folder.Read("block1"));
    }

    {
        ReportFile rounds(folder.Path("rounds.txt"));
        ASSERT_TRUE(
            JoinReportLines(pieces, given.periods, rounds, NumberLocale{}, 2, folder.Root()));
        WriteTotals(PooledTotals(totals), rounds, NumberLocale{});
        rounds.Close();
    }
    EXPECT_EQ(folder.Read("rounds.txt"), folder.Read("out.txt"));
    ExpectNoBlockFilesLeft(folder);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CatalogueReportLayout,
                         testing::Values(ReportCase{250, 90}, ReportCase{50, 700},
                                         ReportCase{301, 40}));

class StopAtOnce : public QuietObserver {
  public:
    bool StopRequested() const override { return true; }
};

// A catalogue stopped part-way leaves the previous report as it was, keeps the lines joined as a
// run of the form keeps its own, and leaves no file of its blocks behind.
TEST(CatalogueReportStop, KeepsThePreviousReportAndTheLinesJoined) {
    TestFolder folder;
    folder.Write("out.txt", "earlier report");
    const RunInputs inputs = InputsOf(ShopHistory(50, 700, 5u));
    StopAtOnce stop;
    const CatalogueOutcome catalogue =
        ExecuteCatalogueRun(inputs, NumberLocale{}, stop, RunOptions{}, ResultsRequest{}, 1, {}, {},
                            folder.Path("out.txt"));
    EXPECT_FALSE(catalogue.completed);
    EXPECT_NE(catalogue.message.find("out.txt.incomplete"), std::string::npos) << catalogue.message;
    EXPECT_EQ(catalogue.message.find(".sf-"), std::string::npos) << catalogue.message;

    const auto state = std::make_unique<RunState>(PeriodsToHold(inputs));
    UniformSource source;
    EXPECT_FALSE(
        ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("alone"), stop).completed);
    EXPECT_EQ(folder.Read("out.txt"), "earlier report");
    EXPECT_EQ(folder.Read("out.txt.incomplete"), folder.Read("alone.incomplete"));
    ExpectNoBlockFilesLeft(folder);
}

}  // namespace
}  // namespace sf
