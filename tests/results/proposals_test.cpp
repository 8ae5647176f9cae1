// The proposals of the coming deliveries: a sales point whose coming rows diverged proposes
// what a run of it alone with the constants within 0 and 1 gives, bit for bit, and the total
// to decide now adds those proposals, never its own diverged deliveries.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

#include "export_reader/opened_export.h"
#include "results/export_folder.h"
#include "results/export_tables.h"
#include "results/next_deliveries.h"
#include "run/bounded_proposals.h"
#include "run_fixture.h"
#include "runtime/run_error.h"
#include "scenario/scenario_format.h"

namespace sf {
namespace {

// What a sales point run alone gave for its coming periods, and whether they diverged.
struct AloneRun {
    PeriodSeries delivery;
    bool diverged = false;
};

class Proposals : public RunFixture {
  protected:
    // Five drawn sales points over 600 periods, where the free constants let some diverge.
    RunResults RunDiverging(int horizon, bool bounded = false) {
        inputs = SmallRun();
        inputs.Endpointnumber = "5";
        inputs.Periodnumber = "600";
        inputs.p2up = "2";
        inputs.horizontx = std::to_string(horizon);
        options.boundedConstants = bounded;
        EXPECT_TRUE(ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("out.txt"),
                               observer, options)
                        .completed);
        return CompleteResults(*state, {}, options);
    }

    // The sales point's demand as a sales history of one column, run with the constants within
    // 0 and 1.
    AloneRun RunAlone(int salesPoint) {
        RunInputs alone = inputs;
        SalesHistory history;
        history.name = "alone.csv";
        history.salesPoints = 1;
        history.periods = state->periodNumber;
        std::vector<double> demand;
        for (int t = 1; t <= state->periodNumber; ++t) {
            demand.push_back(state->actualDemand(salesPoint, t));
        }
        history.demand = std::move(demand);
        alone.history = history;
        RunOptions bounded;
        bounded.boundedConstants = true;
        const auto aloneState = std::make_unique<RunState>();
        EXPECT_TRUE(ExecuteRun(*aloneState, source, alone, NumberLocale{}, folder.Path("alone.txt"),
                               observer, bounded)
                        .completed);
        const RunResults results = ComputeResults(*aloneState, {});
        return {results.series.salesPoints[0].coming.delivery,
                !DivergedComingSalesPoints(NextDeliveries(results)).empty()};
    }

    RunInputs inputs;
    RunOptions options;
};

TEST_F(Proposals, ADivergedSalesPointProposesWhatItsBoundedRunAloneGives) {
    for (const int horizon : {1, 3}) {
        SCOPED_TRACE("H = " + std::to_string(horizon));
        const RunResults results = RunDiverging(horizon);
        const std::vector<NextDelivery> next = NextDeliveries(results);
        const std::vector<int> diverged = DivergedComingSalesPoints(next);
        ASSERT_FALSE(diverged.empty());
        int fromConstants = 0;
        for (const NextDelivery& row : next) {
            SCOPED_TRACE("sales point " + std::to_string(row.salesPoint));
            if (std::ranges::find(diverged, row.salesPoint) == diverged.end()) {
                EXPECT_EQ(row.proposalFrom, ProposalSource::run);
                EXPECT_EQ(row.proposal, row.delivery.run);
                continue;
            }
            const AloneRun alone = RunAlone(row.salesPoint);
            if (alone.diverged) {
                EXPECT_EQ(row.proposalFrom, ProposalSource::none);
                EXPECT_FALSE(row.proposal);
                continue;
            }
            ++fromConstants;
            EXPECT_EQ(row.proposalFrom, ProposalSource::constants01);
            ASSERT_TRUE(row.proposal);
            // Bit for bit: the same operations on the same demand.
            EXPECT_EQ(std::bit_cast<std::uint64_t>(*row.proposal),
                      std::bit_cast<std::uint64_t>(*alone.delivery.At(row.period)));
        }
        EXPECT_GT(fromConstants, 0);
    }
}

// The total to decide now adds each sales point's proposal in sales-point order: the bounded
// run's for a diverged one, never its own delivery.
TEST_F(Proposals, TheTotalToDecideNowAddsTheProposals) {
    const RunResults results = RunDiverging(1);
    const std::vector<NextDelivery> next = NextDeliveries(results);
    const std::optional<DecidedNow> now = DeliveriesDecidedNow(results, next);
    ASSERT_TRUE(now);
    double expected = 0.0;
    double ownDeliveries = 0.0;
    int fromConstants = 0;
    for (int sp = 1; sp <= 5; ++sp) {
        const PeriodSeries& own = results.series.salesPoints[sp - 1].coming.delivery;
        const Proposal& proposal = results.proposals[static_cast<std::size_t>(sp - 1)];
        ownDeliveries = ownDeliveries + *own.At(now->period);
        if (proposal.from == ProposalSource::constants01) {
            ++fromConstants;
            expected = expected + RunAlone(sp).delivery.At(now->period).value();
        } else if (proposal.from == ProposalSource::run) {
            expected = expected + *own.At(now->period);
        }
    }
    ASSERT_GT(fromConstants, 0);
    EXPECT_EQ(now->proposals, expected);
    EXPECT_NE(now->proposals, ownDeliveries);
    EXPECT_EQ(now->proposalsFromConstants01, fromConstants);
    EXPECT_EQ(now->salesPoints, 5);
    EXPECT_NE(ProposalsTotalText(*now).find(std::to_string(fromConstants) +
                                            " from constants within 0 and 1"),
              std::string::npos);
}

// A run that keeps its constants within 0 and 1 is the bounded run: what diverges there has no
// proposal.
TEST_F(Proposals, ABoundedRunProposesNothingForWhatDivergesInIt) {
    const RunResults results = RunDiverging(1, true);
    for (const NextDelivery& row : NextDeliveries(results)) {
        EXPECT_EQ(row.proposalFrom, row.diverged ? ProposalSource::none : ProposalSource::run);
    }
}

// next.csv names the source of each proposal and comes back from its export folder as written;
// a proposal_from that does not fit the run is refused.
TEST_F(Proposals, NextCsvCarriesThemAndReadsBack) {
    const RunResults results = RunDiverging(1);
    RunRecord record;
    record.inputs = inputs;
    record.scenario = ScenarioText({inputs, false, record.seed, std::nullopt}, NumberLocale{});
    WriteExportFolder(folder.Path("export"), results, record);
    ExportFiles files = ReadExportFiles(folder.Path("export"));
    EXPECT_EQ(files.next, NextCsv(results));
    EXPECT_NE(files.next.find(",constants_0_1\n"), std::string::npos);
    const OpenedExport opened = OpenExport(files, NumberLocale{});
    EXPECT_EQ(NextCsv(opened.results), files.next);
    for (const auto& [from, to] :
         {std::pair(",constants_0_1\n", ",run\n"), std::pair(",constants_0_1\n", ",bounded\n"),
          std::pair(",0,42,run\n", ",0,42,constants_0_1\n")}) {
        ExportFiles changed = files;
        const std::size_t at = changed.next.find(from);
        if (at == std::string::npos) {
            continue;
        }
        changed.next.replace(at, std::string_view(from).size(), to);
        EXPECT_THROW(OpenExport(changed, NumberLocale{}), RunError) << to;
    }
}

// A folder written before the proposals, of a run whose sales points diverged, still opens: its
// next.csv has the earlier columns and its all rows their rates, which the current form leaves
// empty.
TEST_F(Proposals, AnEarlierFolderWithDivergedSalesPointsStillOpens) {
    RunResults results = RunDiverging(1);
    RunRecord record;
    record.inputs = inputs;
    record.scenario = ScenarioText({inputs, false, record.seed, std::nullopt}, NumberLocale{});
    EXPECT_FALSE(results.figures.Of(Evaluation::asForecast).all.fillRate);
    results.form = ExportForm::beforeProposals;
    results.figures = ComputeFigures(results.series, results.form);
    ASSERT_TRUE(results.figures.Of(Evaluation::asForecast).all.fillRate);
    WriteExportFolder(folder.Path("earlier"), results, record);
    const ExportFiles files = ReadExportFiles(folder.Path("earlier"));
    EXPECT_EQ(files.next.find("proposal"), std::string::npos);
    const OpenedExport opened = OpenExport(files, NumberLocale{});
    EXPECT_EQ(opened.results.form, ExportForm::beforeProposals);
    EXPECT_EQ(opened.results.figures.Of(Evaluation::asForecast).all.fillRate,
              results.figures.Of(Evaluation::asForecast).all.fillRate);
}

}  // namespace
}  // namespace sf
