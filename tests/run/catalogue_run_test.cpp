#include "run/catalogue_run.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <random>

#include "results/catalogue_export.h"
#include "results/export_folder.h"
#include "results/export_tables.h"
#include "run/bounded_proposals.h"
#include "run/run_driver.h"
#include "shop_history.h"
#include "state/quiet_observer.h"
#include "test_folder.h"

namespace sf {
namespace {

RunInputs InputsOf(SalesHistory history, int horizon, int season = 0) {
    RunInputs inputs;
    // A weekly season needs two weeks and a day to find its indices in.
    inputs.periodsforinitialization = season == 0 ? "6" : "15";
    inputs.periodsforalphabeta = "10";
    inputs.warmuptx = "0";
    inputs.horizontx = std::to_string(horizon);
    inputs.tau_tx = "0.7";
    inputs.history = std::move(history);
    return inputs;
}

// The results of a run of the form on the inputs, with their proposals.
RunResults FormRun(const RunInputs& inputs, const RunOptions& options) {
    const auto state = std::make_unique<RunState>(PeriodsToHold(inputs));
    UniformSource source;
    QuietObserver quiet;
    const RunOutcome outcome =
        ExecuteRun(*state, source, inputs, NumberLocale{}, "/dev/null", quiet, options);
    EXPECT_TRUE(outcome.completed) << outcome.message;
    return CompleteResults(*state, ResultsRequest{}, options);
}

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void ExpectSameSeries(const PeriodSeries& whole, const PeriodSeries& alone, const char* what) {
    ASSERT_EQ(whole.first, alone.first) << what;
    ASSERT_EQ(whole.values.size(), alone.values.size()) << what;
    for (std::size_t at = 0; at < whole.values.size(); ++at) {
        ASSERT_TRUE(SameBits(whole.values[at], alone.values[at]))
            << what << " at period " << whole.first + static_cast<int>(at) << ": "
            << whole.values[at] << " against " << alone.values[at];
    }
}

void ExpectSameSalesPoint(const SalesPointSeries& whole, const SalesPointSeries& alone) {
    for (const SeriesColumn& column : kSeriesColumns) {
        ExpectSameSeries(column.series(whole), column.series(alone), column.name.data());
        if (column.coming != nullptr) {
            ExpectSameSeries(column.coming(whole), column.coming(alone), column.name.data());
        }
    }
}

// The reference a catalogue must give: each block run alone as a file holding it, their
// series and proposals one after another, the figures and answers computed over the whole
// series block by block.
// pooled: per evaluation the sums of the sound and all rows of the blocks alone, added by hand.
using HandPooled = std::array<std::array<Figures, 2>, kEvaluations.size()>;

void AddByHand(Figures& pool, const Figures& block, bool first) {
    for (double Figures::*sum : {&Figures::demand, &Figures::sales, &Figures::lostSales,
                                 &Figures::returns, &Figures::deliveries}) {
        pool.*sum = first ? block.*sum : pool.*sum + block.*sum;
    }
    pool.diverged += block.diverged;
}

RunResults BlocksAloneJoined(const SalesHistory& history, int horizon, int season,
                             const RunOptions& options, const ResultsRequest& request,
                             HandPooled& pooled) {
    RunResults joined;
    for (const SalesPointBlock& block : CatalogueBlocks(history.salesPoints)) {
        RunResults alone = FormRun(
            InputsOf(BlockAlone(history, block.first, block.count), horizon, season), options);
        for (const Evaluation evaluation : kEvaluations) {
            const EvaluationFigures& figures = alone.figures.Of(evaluation);
            AddByHand(pooled[IndexOf(evaluation)][0], figures.sound, block.first == 1);
            AddByHand(pooled[IndexOf(evaluation)][1], figures.all, block.first == 1);
        }
        RunSeries& series = joined.series;
        const std::vector<std::size_t> sizes = series.blockSizes;
        if (sizes.empty()) {
            series = alone.series;
            series.salesPoints.clear();
            series.season.indices.clear();
            series.names.clear();
        }
        series.blockSizes.push_back(alone.series.salesPoints.size());
        std::ranges::move(alone.series.salesPoints, std::back_inserter(series.salesPoints));
        std::ranges::move(alone.series.names, std::back_inserter(series.names));
        std::ranges::move(alone.series.season.indices, std::back_inserter(series.season.indices));
        std::ranges::move(alone.proposals, std::back_inserter(joined.proposals));
    }
    joined.figures = ComputeFigures(joined.series);
    AnswerRequest(joined, request);
    return joined;
}

struct CatalogueCase {
    int horizon;
    bool bounded;
    int season = 0;
    ResultsRequest request = {};
};

void PrintTo(const CatalogueCase& given, std::ostream* out) {
    *out << "H = " << given.horizon << (given.bounded ? ", bounded" : "") << ", season "
         << given.season;
}

ResultsRequest EveryAnswer() {
    ResultsRequest request;
    request.grid = {0.0, 2.5, 0.25};
    request.targetFillRate = 0.9;
    request.targetServiceLevel = 0.8;
    request.costs = OutcomeCosts{3.0, 1.0};
    request.checkFrom = 120;
    return request;
}

// A cheapest tau, which searches nothing beyond the grid.
ResultsRequest CheapestOnly() {
    ResultsRequest request;
    request.grid = {0.0, 2.0, 0.5};
    request.costs = OutcomeCosts{1.0, 0.0};
    return request;
}

class CatalogueRun : public testing::TestWithParam<CatalogueCase> {};

// A catalogue streamed block by block writes, byte for byte, the export that the blocks run
// alone and joined give: its sales points' rows are their blocks' runs, its pooled rows and
// answers add the blocks' sums in block order.
TEST_P(CatalogueRun, ItsExportIsThatOfItsBlocksRunAloneAndJoined) {
    const CatalogueCase given = GetParam();
    const SalesHistory history = ShopHistory(250, 160, 20240611u + given.horizon);
    RunOptions options;
    options.boundedConstants = given.bounded;
    options.season = given.season;
    const TestFolder folder;
    RunRecord record = RecordOfRun(InputsOf(history, given.horizon, given.season), options,
                                   kDefaultSeed, 1, "out.txt", "");
    record.request = given.request;

    QuietObserver quiet;
    std::optional<CatalogueExport> exported(std::in_place, folder.Path("streamed"), true);
    CatalogueRows rows;
    rows.make = [](const RunResults& block, int first) { return SeriesRows(block.series, first); };
    rows.write = [&exported](std::string_view text) { exported->AppendSeriesRows(text); };
    const CatalogueOutcome catalogue =
        ExecuteCatalogueRun(InputsOf(history, given.horizon, given.season), NumberLocale{}, quiet,
                            options, given.request, 2, {}, rows);
    ASSERT_TRUE(catalogue.completed) << catalogue.message;
    EXPECT_EQ(catalogue.health.seasonLength, given.season);
    EXPECT_TRUE(catalogue.results.series.salesPoints.empty());
    exported->Finish(catalogue.results, catalogue.next, record);

    HandPooled pooled{};
    const RunResults joined =
        BlocksAloneJoined(history, given.horizon, given.season, options, given.request, pooled);
    for (const Evaluation evaluation : kEvaluations) {
        const EvaluationFigures& figures = catalogue.results.figures.Of(evaluation);
        for (const auto& [row, hand] : {std::pair(&figures.sound, &pooled[IndexOf(evaluation)][0]),
                                        std::pair(&figures.all, &pooled[IndexOf(evaluation)][1])}) {
            EXPECT_TRUE(SameBits(row->demand, hand->demand) && SameBits(row->sales, hand->sales) &&
                        SameBits(row->lostSales, hand->lostSales) &&
                        SameBits(row->returns, hand->returns) &&
                        SameBits(row->deliveries, hand->deliveries) &&
                        row->diverged == hand->diverged);
        }
        // The trade-off's row of the run's own tau holds the sound row's sums.
        for (const TradeoffRow& row : catalogue.results.Answers(evaluation).tradeoff) {
            if (row.runTau) {
                EXPECT_TRUE(SameBits(row.sales, figures.sound.sales) &&
                            SameBits(row.lostSales, figures.sound.lostSales));
            }
        }
    }
    // A sales point run alone gives what it had in the catalogue, as the window shows it.
    for (const int salesPoint : {1, 150, 230}) {
        SCOPED_TRACE("sales point " + std::to_string(salesPoint) + " alone");
        const CatalogueOutcome alone =
            RunSalesPointAlone(InputsOf(history, given.horizon, given.season), NumberLocale{},
                               quiet, options, salesPoint);
        ASSERT_TRUE(alone.completed) << alone.message;
        const std::size_t at = static_cast<std::size_t>(salesPoint - 1);
        ExpectSameSalesPoint(joined.series.salesPoints[at], alone.results.series.salesPoints.at(0));
        EXPECT_EQ(alone.results.series.Name(1), catalogue.results.series.Name(salesPoint));
        EXPECT_EQ(alone.results.proposals.at(0).from, catalogue.results.proposals[at].from);
        for (const Evaluation evaluation : kEvaluations) {
            EXPECT_EQ(alone.results.figures.Of(evaluation).salesPoints.at(0).fillRate,
                      catalogue.results.figures.Of(evaluation).salesPoints[at].fillRate);
        }
    }
    WriteExportFolder(folder.Path("joined"), joined, record);
    const auto entries = [&folder](const char* name) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path(name))) {
            names.push_back(entry.path().filename().string());
        }
        std::ranges::sort(names);
        return names;
    };
    const std::vector<std::string> files = entries("joined");
    ASSERT_EQ(entries("streamed"), files);
    // The marker, summary, series, trade-off, next and run.json; check and season when asked.
    EXPECT_EQ(files.size(),
              6u + (given.season != 0 ? 1u : 0u) + (given.request.checkFrom ? 1u : 0u));
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(folder.Read("streamed/" + name) == folder.Read("joined/" + name));
    }
}

INSTANTIATE_TEST_SUITE_P(Horizons, CatalogueRun,
                         testing::Values(CatalogueCase{0, false},
                                         CatalogueCase{1, true, 0, EveryAnswer()},
                                         CatalogueCase{1, false, 0, EveryAnswer()},
                                         CatalogueCase{3, false, 7, CheapestOnly()}),
                         [](const testing::TestParamInfo<CatalogueCase>& info) {
                             const CatalogueCase& given = info.param;
                             return "H" + std::to_string(given.horizon) +
                                    (given.bounded ? "Bounded" : "") +
                                    (given.season != 0 ? "Season" : "") +
                                    (given.request.targetFillRate ? "EveryAnswer" : "");
                         });

// Beyond 600 periods the run state is sized to the history, and the lanes still give the plain
// path's bits.
TEST(CatalogueRunPeriods, ALongHistoryRunsInLanesAsThePlainPathDoes) {
    for (const CatalogueCase& given : {CatalogueCase{0, false}, CatalogueCase{1, true}}) {
        SCOPED_TRACE("H = " + std::to_string(given.horizon));
        const RunInputs inputs = InputsOf(ShopHistory(9, 730, 7u), given.horizon);
        ASSERT_TRUE(IsCatalogue(inputs));
        RunOptions lanes;
        lanes.boundedConstants = given.bounded;
        RunOptions plain = lanes;
        plain.estimation = EstimationPath::plain;
        const RunResults inLanes = FormRun(inputs, lanes);
        const RunResults reference = FormRun(inputs, plain);
        ASSERT_EQ(inLanes.series.periodNumber, 730);
        for (std::size_t at = 0; at < reference.series.salesPoints.size(); ++at) {
            SCOPED_TRACE("sales point " + std::to_string(at + 1));
            ExpectSameSalesPoint(inLanes.series.salesPoints[at], reference.series.salesPoints[at]);
        }
    }
}

TEST(CatalogueRunBlocks, SalesPointsSplitIntoBlocksOfAtMostAHundredInFileOrder) {
    EXPECT_EQ(CatalogueBlocks(1).size(), 1u);
    const std::vector<SalesPointBlock> blocks = CatalogueBlocks(201);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[1].first, 101);
    EXPECT_EQ(blocks[1].count, 100);
    EXPECT_EQ(blocks[2].first, 201);
    EXPECT_EQ(blocks[2].count, 1);
}

// A bad block stops the catalogue with the block named; a stop request stops it too.
TEST(CatalogueRunFaults, AFaultNamesItsBlock) {
    SalesHistory history = ShopHistory(150, 40, 3u);
    RunInputs inputs = InputsOf(history, 0);
    inputs.periodsforinitialization = "six";
    QuietObserver quiet;
    const CatalogueOutcome outcome =
        ExecuteCatalogueRun(inputs, NumberLocale{}, quiet, RunOptions{}, ResultsRequest{}, 2);
    EXPECT_FALSE(outcome.completed);
    EXPECT_NE(outcome.message.find("sales points 1 to 100"), std::string::npos) << outcome.message;
}

}  // namespace
}  // namespace sf

namespace sf {
namespace {

// The shards of a catalogue, run one after another, hold between them the blocks' sums of the
// whole run, bit for bit and in block order; each numbers its sales points as in the file.
TEST(CatalogueShards, TogetherHoldTheWholeRunsBlockSums) {
    const RunInputs inputs = InputsOf(ShopHistory(250, 40, 11u), 1);
    QuietObserver quiet;
    const CatalogueOutcome whole =
        ExecuteCatalogueRun(inputs, NumberLocale{}, quiet, RunOptions{}, CheapestOnly(), 2);
    ASSERT_TRUE(whole.completed) << whole.message;
    ASSERT_EQ(whole.blocks.size(), 3u);
    for (const int count : {1, 2, 3}) {
        SCOPED_TRACE(std::to_string(count) + " shards");
        std::vector<BlockSums> joined;
        for (int index = 1; index <= count; ++index) {
            const CatalogueOutcome shard =
                ExecuteCatalogueRun(inputs, NumberLocale{}, quiet, RunOptions{}, CheapestOnly(), 2,
                                    {}, {}, {}, CatalogueShard{index, count});
            ASSERT_TRUE(shard.completed) << shard.message;
            ASSERT_FALSE(shard.blocks.empty());
            EXPECT_EQ(shard.results.series.firstSalesPoint, shard.blocks.front().first);
            EXPECT_EQ(
                shard.results.figures.sound.size(),
                static_cast<std::size_t>(shard.blocks.back().first + shard.blocks.back().count -
                                         shard.blocks.front().first));
            EXPECT_EQ(shard.next.front().salesPoint, shard.blocks.front().first);
            joined.insert(joined.end(), shard.blocks.begin(), shard.blocks.end());
        }
        // The shortest texts read back to the same doubles: equal texts are equal bits.
        EXPECT_EQ(PoolCsv(joined), PoolCsv(whole.blocks));
    }
}

}  // namespace
}  // namespace sf
