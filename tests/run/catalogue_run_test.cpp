#include "run/catalogue_run.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <random>

#include "run/bounded_proposals.h"
#include "run/run_driver.h"
#include "shop_history.h"
#include "state/quiet_observer.h"

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

struct CatalogueCase {
    int horizon;
    bool bounded;
    int season = 0;
};

class CatalogueRun : public testing::TestWithParam<CatalogueCase> {};

// A sales point's series, figures and proposal in a catalogue are those of a run on a file
// holding its block alone; the pooled rows add the blocks' sums in block order.
TEST_P(CatalogueRun, EachBlockIsItsRunAloneAndThePoolAddsTheBlocks) {
    const CatalogueCase given = GetParam();
    const SalesHistory history = ShopHistory(230, 70, 20240611u + given.horizon);
    RunOptions options;
    options.boundedConstants = given.bounded;
    options.season = given.season;
    QuietObserver quiet;
    const CatalogueOutcome catalogue =
        ExecuteCatalogueRun(InputsOf(history, given.horizon, given.season), NumberLocale{}, quiet,
                            options, ResultsRequest{}, 2);
    ASSERT_TRUE(catalogue.completed) << catalogue.message;
    const RunResults& whole = catalogue.results;
    EXPECT_EQ(whole.series.season.length, given.season);
    EXPECT_EQ(catalogue.health.seasonLength, given.season);
    ASSERT_EQ(whole.series.salesPoints.size(), 230u);
    EXPECT_EQ(whole.series.blockSizes, (std::vector<std::size_t>{100, 100, 30}));

    std::array<Figures, kEvaluations.size()> pooledAll{};
    for (const SalesPointBlock& block : CatalogueBlocks(history.salesPoints)) {
        const RunResults alone = FormRun(
            InputsOf(BlockAlone(history, block.first, block.count), given.horizon, given.season),
            options);
        for (int k = 0; k < block.count; ++k) {
            const std::size_t at = static_cast<std::size_t>(block.first - 1 + k);
            SCOPED_TRACE("sales point " + std::to_string(at + 1));
            ExpectSameSalesPoint(whole.series.salesPoints[at], alone.series.salesPoints[k]);
            EXPECT_EQ(whole.series.Name(static_cast<int>(at) + 1), alone.series.Name(k + 1));
            if (given.season != 0) {
                EXPECT_EQ(whole.series.season.indices.at(at), alone.series.season.indices.at(k));
            }
            EXPECT_EQ(whole.proposals[at].from, alone.proposals[k].from);
            ExpectSameSeries(whole.proposals[at].delivery, alone.proposals[k].delivery, "proposal");
            for (const Evaluation evaluation : kEvaluations) {
                const Figures& a = whole.figures.Of(evaluation).salesPoints[at];
                const Figures& b = alone.figures.Of(evaluation).salesPoints[k];
                EXPECT_TRUE(SameBits(a.demand, b.demand) && SameBits(a.sales, b.sales) &&
                            SameBits(a.lostSales, b.lostSales) && a.mae == b.mae &&
                            a.diverged == b.diverged);
            }
        }
        for (const Evaluation evaluation : kEvaluations) {
            Figures& pool = pooledAll[IndexOf(evaluation)];
            const Figures& all = alone.figures.Of(evaluation).all;
            const bool first = block.first == 1;
            pool.demand = first ? all.demand : pool.demand + all.demand;
            pool.sales = first ? all.sales : pool.sales + all.sales;
            pool.returns = first ? all.returns : pool.returns + all.returns;
            pool.deliveries = first ? all.deliveries : pool.deliveries + all.deliveries;
            pool.diverged += all.diverged;
        }
    }
    for (const Evaluation evaluation : kEvaluations) {
        const Figures& pool = pooledAll[IndexOf(evaluation)];
        const Figures& all = whole.figures.Of(evaluation).all;
        EXPECT_TRUE(SameBits(all.demand, pool.demand));
        EXPECT_TRUE(SameBits(all.sales, pool.sales));
        EXPECT_TRUE(SameBits(all.returns, pool.returns));
        EXPECT_TRUE(SameBits(all.deliveries, pool.deliveries));
        EXPECT_EQ(all.diverged, pool.diverged);
    }
    // A sales point run alone gives what it had in the catalogue, as the window shows it.
    for (const int salesPoint : {1, 150, 230}) {
        SCOPED_TRACE("sales point " + std::to_string(salesPoint) + " alone");
        const CatalogueOutcome alone =
            RunSalesPointAlone(InputsOf(history, given.horizon, given.season), NumberLocale{},
                               quiet, options, salesPoint);
        ASSERT_TRUE(alone.completed) << alone.message;
        const std::size_t at = static_cast<std::size_t>(salesPoint - 1);
        ExpectSameSalesPoint(whole.series.salesPoints[at], alone.results.series.salesPoints.at(0));
        EXPECT_EQ(alone.results.series.Name(1), whole.series.Name(salesPoint));
        EXPECT_EQ(alone.results.proposals.at(0).from, whole.proposals[at].from);
        for (const Evaluation evaluation : kEvaluations) {
            EXPECT_EQ(alone.results.figures.Of(evaluation).salesPoints.at(0).fillRate,
                      whole.figures.Of(evaluation).salesPoints[at].fillRate);
        }
    }
    // The trade-off's row of the run's own tau holds the sound row's sums, pooled alike.
    for (const Evaluation evaluation : kEvaluations) {
        for (const TradeoffRow& row : whole.Answers(evaluation).tradeoff) {
            if (row.runTau) {
                EXPECT_TRUE(SameBits(row.sales, whole.figures.Of(evaluation).sound.sales));
                EXPECT_TRUE(SameBits(row.lostSales, whole.figures.Of(evaluation).sound.lostSales));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Horizons, CatalogueRun,
                         testing::Values(CatalogueCase{0, false}, CatalogueCase{1, false},
                                         CatalogueCase{3, false}, CatalogueCase{1, true},
                                         CatalogueCase{1, true, 7}));

// Beyond 600 periods the run state is sized to the history, and the lanes still give the plain
// path's bits.
TEST(CatalogueRunPeriods, ALongHistoryRunsInLanesAsThePlainPathDoes) {
    for (const CatalogueCase given : {CatalogueCase{0, false}, CatalogueCase{1, true}}) {
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
