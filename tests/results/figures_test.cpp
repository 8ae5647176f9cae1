#include "results/figures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "csv_reading.h"
#include "outcome/deliveries_and_sales.h"
#include "results/export_tables.h"
#include "results/run_results.h"
#include "results/summary_columns.h"

namespace sf {
namespace {

// Three sales points, S = 2, A = 0, H = 1, P = 5: the outcome window is 2..5, the rolling
// stretch 4..5, the naive forecast the demand of the period before. tau 0, so that each
// delivery is its forecast rounded. Sales point 2 has a negative delivery, sigmas below 0 as
// known and a beta outside 0..1; the report's forecast of sales point 3 diverged.
std::unique_ptr<RunState> SmallCase() {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = 3;
    state->initPeriods = 2;
    state->alphaBetaPeriods = 0;
    state->horizon = 1;
    state->periodNumber = 5;
    state->tau = 0.0;
    const double demand[3][6] = {{0, 10, 12, 8, 9, 11}, {0, 0, 6, 0, 6, 0}, {0, 5, 5, 5, 5, 5}};
    const double reported[3][6] = {
        {0, 0, 11, 10, 10, 10}, {0, 0, 0, 0, 0, -3}, {0, 0, 5, 5, 100, 5}};
    const double known[3][6] = {{0, 0, 0, 0, 9, 9}, {0, 0, 0, 0, 5, 1}, {0, 0, 0, 0, 5, 5}};
    const double knownSigma[3] = {1.0, -0.5, 0.0};
    for (int sp = 1; sp <= 3; ++sp) {
        for (int t = 1; t <= 5; ++t) {
            state->actualDemand(sp, t) = demand[sp - 1][t];
            state->mu(sp, t) = reported[sp - 1][t];
            state->forecastAsForecast(sp, t) = known[sp - 1][t];
            state->sigmaAsForecast(sp, t) = knownSigma[sp - 1];
            state->alphaUsed(sp, t) = state->betaUsed(sp, t) = 0.2;
        }
        state->alphaUsed(sp, 3) = 0.9;  // the initial fitting window: not in the means
        state->alphaUsed(sp, 4) = 0.3;
        state->alphaUsed(sp, 5) = 0.5;
    }
    state->betaUsed(2, 5) = 1.5;
    ComputeDeliveriesAndSales(*state);
    return state;
}

TEST(Figures, HandCheckedEvaluationsAndRows) {
    const RunSeries series = CopySeries(*SmallCase());
    const RunFigures figures = ComputeFigures(series);
    EXPECT_EQ(figures.sound, (std::vector<bool>{true, true, false}));
    constexpr int kSound = 0;
    constexpr int kAll = -1;
    // Read through the columns of summary.csv, so that a column showing the wrong figure fails.
    const struct {
        Evaluation evaluation;
        int row;  // a sales point, kSound or kAll
        std::string_view column;
        std::optional<double> expected;
    } cases[] = {
        // Periods 2..5: deliveries 11, 10, 10, 10 against demand 12, 8, 9, 11; errors -1, 2, 1,
        // -1, those of the demand of the period before 2, 4, 1, 2.
        {Evaluation::asReported, 1, "demand", 40.0},
        {Evaluation::asReported, 1, "sales", 38.0},
        {Evaluation::asReported, 1, "lost_sales", 2.0},
        {Evaluation::asReported, 1, "returns", 3.0},
        {Evaluation::asReported, 1, "deliveries", 41.0},
        {Evaluation::asReported, 1, "fill_rate", 38.0 / 40.0},
        {Evaluation::asReported, 1, "cycle_service_level", 2.0 / 4.0},
        {Evaluation::asReported, 1, "bias", 1.0 / 4.0},
        {Evaluation::asReported, 1, "mae", 5.0 / 4.0},
        {Evaluation::asReported, 1, "rmse", std::sqrt(7.0 / 4.0)},
        {Evaluation::asReported, 1, "mae_to_naive", (5.0 / 4.0) / (9.0 / 4.0)},
        {Evaluation::asReported, 1, "alpha_mean", (0.3 + 0.5) / 2.0},
        {Evaluation::asReported, 1, "constants_left_0_1", 0.0},
        // Periods 4..5: deliveries 9, 9 against demand 9, 11; errors 0, -2, naive 1, 2.
        {Evaluation::asForecast, 1, "demand", 20.0},
        {Evaluation::asForecast, 1, "lost_sales", 2.0},
        {Evaluation::asForecast, 1, "fill_rate", 18.0 / 20.0},
        {Evaluation::asForecast, 1, "bias", -1.0},
        {Evaluation::asForecast, 1, "mae_to_naive", 1.0 / (3.0 / 2.0)},
        {Evaluation::asForecast, 1, "alpha_mean", (0.3 + 0.5) / 2.0},
        // Deliveries 0, 0, 0, -3 against 6, 0, 6, 0; as known 5, 1 against 6, 0.
        {Evaluation::asReported, 2, "sales", -3.0},
        {Evaluation::asReported, 2, "lost_sales", 15.0},
        {Evaluation::asReported, 2, "negative_deliveries", 1.0},
        {Evaluation::asReported, 2, "constants_left_0_1", 1.0},
        {Evaluation::asReported, 2, "diverged", 0.0},
        {Evaluation::asForecast, 2, "negative_sigma_periods", 2.0},
        {Evaluation::asForecast, 2, "returns", 1.0},
        {Evaluation::asForecast, 2, "negative_deliveries", 0.0},
        // 100 against demand 5 everywhere: diverged as reported, not as known.
        {Evaluation::asReported, 3, "diverged", 1.0},
        {Evaluation::asForecast, 3, "diverged", 0.0},
        {Evaluation::asReported, 3, "returns", 95.0},
        // The sound rows take sales points 1 and 2, the all rows every one.
        {Evaluation::asReported, kSound, "demand", 52.0},
        {Evaluation::asReported, kSound, "fill_rate", 35.0 / 52.0},
        {Evaluation::asReported, kSound, "diverged", 0.0},
        {Evaluation::asReported, kSound, "constants_left_0_1", 1.0},
        {Evaluation::asReported, kSound, "cycle_service_level", 3.0 / 8.0},
        {Evaluation::asReported, kAll, "demand", 72.0},
        {Evaluation::asReported, kAll, "sales", 55.0},
        {Evaluation::asReported, kAll, "diverged", 1.0},
        // A diverged sales point in it leaves the rates and means of the all row empty.
        {Evaluation::asReported, kAll, "mae", std::nullopt},
        {Evaluation::asReported, kAll, "fill_rate", std::nullopt},
        {Evaluation::asForecast, kSound, "sales", 18.0 + 5.0},
        {Evaluation::asForecast, kSound, "negative_sigma_periods", 2.0},
        {Evaluation::asForecast, kAll, "diverged", 0.0},
        {Evaluation::asForecast, kAll, "deliveries", 18.0 + 6.0 + 10.0},
    };
    for (const auto& c : cases) {
        const EvaluationFigures& evaluated = figures.Of(c.evaluation);
        const Figures& row = c.row == kSound ? evaluated.sound
                             : c.row == kAll ? evaluated.all
                                             : evaluated.salesPoints[c.row - 1];
        const auto column = std::ranges::find(kSummaryColumns, c.column, &SummaryColumn::name);
        ASSERT_NE(column, kSummaryColumns.end()) << c.column;
        EXPECT_EQ(column->value(row), c.expected)
            << EvaluationName(c.evaluation) << ", row " << c.row << ": " << c.column;
    }
    // An export folder written before keeps them.
    const RunFigures earlierFigures = ComputeFigures(series, ExportForm::beforeProposals);
    const Figures& earlier = earlierFigures.Of(Evaluation::asReported).all;
    EXPECT_EQ(earlier.mae, (5.0 + 15.0 + 95.0) / 12.0);
    EXPECT_EQ(earlier.fillRate, 55.0 / 72.0);
    EXPECT_EQ(figures.Of(Evaluation::asForecast).stretch.first, 4);
    EXPECT_EQ(figures.Of(Evaluation::asReported).stretch.first, 2);
}

TEST(Figures, ZeroDenominatorsAndEmptyStretchesGiveEmptyCells) {
    // A run whose windows cover every period: no rolling stretch, so as_forecast has no periods
    // and no means of the constants.
    auto state = SmallCase();
    state->alphaBetaPeriods = 5;
    RunResults results;
    results.series = CopySeries(*state);
    results.figures = ComputeFigures(results.series);
    EXPECT_EQ(results.Headline(), Evaluation::asReported);
    EXPECT_FALSE(results.figures.Of(Evaluation::asReported).all.alphaMean);
    EXPECT_TRUE(results.figures.Of(Evaluation::asReported).sound.fillRate);
    EXPECT_FALSE(results.figures.Of(Evaluation::asForecast).all.fillRate);
    auto rows = CsvRows(SummaryCsv(results, RunRecord{}));
    ASSERT_EQ(rows.size(), 1u + 2u * 5u);
    EXPECT_EQ(rows[5], (std::vector<std::string>{"5489", "",    "1", "as_forecast",
                                                 "all",  "all", "",  "",
                                                 "0",    "0",   "0", "0",
                                                 "0",    "",    "",  "",
                                                 "",     "",    "",  "",
                                                 "",     "",    "0", "1",
                                                 "0",    "0"}));

    // P below S: an empty outcome window, nothing to divide by.
    state = std::make_unique<RunState>();
    state->salesPointCount = 1;
    state->initPeriods = 4;
    state->periodNumber = 0;
    results.series = CopySeries(*state);
    results.figures = ComputeFigures(results.series);
    rows = CsvRows(SummaryCsv(results, RunRecord{}));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[4][3] + "," + rows[4][4] + "," + rows[4][13], "as_reported,1,");
    EXPECT_EQ(rows[6][4] + "," + rows[6][6] + "," + rows[6][8], "all,,0");
}

// A row over chosen sales points is the run's own row where the choice is the same, bit for bit,
// and otherwise adds the chosen alone; a choice longer than the run stops at its end.
TEST(Figures, RowOverChosenSalesPoints) {
    const RunSeries series = CopySeries(*SmallCase());
    const RunFigures figures = ComputeFigures(series);
    for (const Evaluation evaluation : kEvaluations) {
        const EvaluationFigures& own = figures.Of(evaluation);
        const Figures sound = FiguresOver(series, evaluation, figures.sound);
        EXPECT_EQ(sound.demand, own.sound.demand);
        EXPECT_EQ(sound.fillRate, own.sound.fillRate);
        EXPECT_EQ(sound.rmse, own.sound.rmse);
        EXPECT_EQ(sound.maeToNaive, own.sound.maeToNaive);
        EXPECT_EQ(sound.alphaMean, own.sound.alphaMean);
        EXPECT_EQ(sound.negativeDeliveries, own.sound.negativeDeliveries);
        const Figures all = FiguresOver(series, evaluation, {true, true, true, true});
        EXPECT_EQ(all.lostSales, own.all.lostSales);
        EXPECT_EQ(all.diverged, own.all.diverged);
        const Figures second = FiguresOver(series, evaluation, {false, true});
        EXPECT_EQ(second.returns, own.salesPoints[1].returns);
        EXPECT_EQ(second.cycleServiceLevel, own.salesPoints[1].cycleServiceLevel);
        EXPECT_FALSE(FiguresOver(series, evaluation, {}).fillRate);
    }
}

}  // namespace
}  // namespace sf
