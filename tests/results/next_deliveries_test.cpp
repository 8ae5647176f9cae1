#include "results/next_deliveries.h"

#include <gtest/gtest.h>

#include <string>

#include "cli/results_summary.h"
#include "csv_reading.h"
#include "history/history_reader.h"
#include "outcome/period_outcome.h"
#include "results/export_tables.h"
#include "run_fixture.h"

namespace sf {
namespace {

// A wide sales history with a header of names, the first three Bakery, Kiosk and Market, then
// "Shop 4" and on.
std::string ShopHistoryText(int periods, int salesPoints = 3) {
    const char* names[] = {"Bakery", "Kiosk", "Market"};
    std::string text;
    for (int sp = 1; sp <= salesPoints; ++sp) {
        text += (sp == 1 ? "" : ",") +
                (sp <= 3 ? std::string(names[sp - 1]) : "Shop " + std::to_string(sp));
    }
    text += '\n';
    for (int t = 1; t <= periods; ++t) {
        for (int sp = 1; sp <= salesPoints; ++sp) {
            text += (sp == 1 ? "" : ",") + std::to_string(10 * sp + (t * 7 + sp * 5) % 13);
        }
        text += '\n';
    }
    return text;
}

class ComingDeliveries : public RunFixture {
  protected:
    // The small scenario (S = 4, A = 6) on the first `periods` periods of the history.
    RunResults RunHistory(int periods, int horizon, int salesPoints = 3,
                          const ResultsRequest& request = {}) {
        RunInputs inputs = SmallRun();
        inputs.history = ParseSalesHistory(ShopHistoryText(periods, salesPoints));
        inputs.horizontx = std::to_string(horizon);
        EXPECT_TRUE(Run(inputs).completed);
        return ComputeResults(*state, request);
    }
};

// The coming periods are P + 1..P + max(H, 1), each decided max(H, 1) periods before, the last
// at P; the history cut at P - 1 gives for period P what the whole history's as_forecast gave.
TEST_F(ComingDeliveries, TheHistoryCutShortForecastsItsLastPeriodAsTheWholeOne) {
    constexpr int kPeriods = 30;
    for (const int horizon : {0, 1, 3}) {
        SCOPED_TRACE("H = " + std::to_string(horizon));
        const int lag = std::max(horizon, 1);
        const RunResults whole = RunHistory(kPeriods, horizon);
        const std::vector<NextDelivery> next = NextDeliveries(whole);
        ASSERT_EQ(next.size(), static_cast<std::size_t>(3 * lag));
        for (std::size_t at = 0; at < next.size(); ++at) {
            const int k = static_cast<int>(at) % lag + 1;
            EXPECT_EQ(next[at].salesPoint, static_cast<int>(at) / lag + 1);
            EXPECT_EQ(next[at].period, kPeriods + k);
            EXPECT_EQ(next[at].decidedAt, kPeriods + k - lag);
            EXPECT_FALSE(next[at].delivery.target);  // not asked
        }
        EXPECT_EQ(DeliveriesDecidedNow(whole, next)->period, kPeriods + lag);

        const RunResults cut = RunHistory(kPeriods - 1, horizon);
        for (const NextDelivery& row : NextDeliveries(cut)) {
            if (row.period != kPeriods) {
                continue;
            }
            const EvaluatedSeries& known = whole.series.salesPoints[row.salesPoint - 1].asForecast;
            EXPECT_TRUE(SameBits(row.forecast, *known.forecast.At(kPeriods))) << row.salesPoint;
            EXPECT_TRUE(SameBits(row.sigma, *known.sigma.At(kPeriods))) << row.salesPoint;
            EXPECT_EQ(row.delivery.run, *known.delivery.At(kPeriods)) << row.salesPoint;
        }

        // series.csv closes each sales point with them, demand empty, and still reads back.
        const std::string series = SeriesCsv(whole.series);
        const auto rows = CsvRows(series);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(3 * (kPeriods + lag) + 1));
        EXPECT_EQ(rows[kPeriods + lag][2], std::to_string(kPeriods + lag));
        EXPECT_EQ(rows[kPeriods + lag][5], "");
        EXPECT_EQ(ParseSalesHistory(series).demand,
                  ParseSalesHistory(ShopHistoryText(kPeriods)).demand);
    }
}

// The targets' taus give their own deliveries; the summary lists each sales point by its name
// up to 20 of them and says where the others are beyond.
TEST_F(ComingDeliveries, TheSummaryEndsWithTheDeliveriesToDecideNow) {
    ResultsRequest request;
    request.targetFillRate = 0.9;
    request.targetServiceLevel = 0.7;
    const RunResults results = RunHistory(30, 2, 3, request);
    const AtTaus taus = DeliveryTaus(results);
    ASSERT_TRUE(taus.target && taus.serviceLevel);
    EXPECT_FALSE(taus.cheapest);
    for (const NextDelivery& row : NextDeliveries(results)) {
        EXPECT_EQ(*row.delivery.target, DeliveryOf(row.forecast, row.sigma, *taus.target));
        EXPECT_EQ(*row.delivery.serviceLevel,
                  DeliveryOf(row.forecast, row.sigma, *taus.serviceLevel));
    }
    const std::string summary = ResultsSummary(results, 0, {});
    EXPECT_NE(summary.find("\nDeliveries to decide now, for period 32, sound sales points "),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("\nAt the target cycle service level tau "), std::string::npos);
    EXPECT_NE(summary.find("\nSales point 2 (Kiosk): "), std::string::npos);
    EXPECT_NE(summary.find("\nSales point 3 (Market): "), std::string::npos);

    const std::string many = ResultsSummary(RunHistory(30, 2, 21), 0, {});
    EXPECT_EQ(many.find("\nSales point "), std::string::npos);
    EXPECT_NE(many.find("--next prints them"), std::string::npos);
}

// Windows that cover every period (S + A + H >= P) leave no rolling forecast to decide from:
// no coming period, next.csv its header alone, and the summary says why.
TEST_F(ComingDeliveries, NoneWhereTheWindowsCoverEveryPeriod) {
    for (const auto& [periods, horizon] : {std::pair(11, 1), std::pair(10, 0), std::pair(12, 3)}) {
        SCOPED_TRACE(std::to_string(periods) + " periods, H = " + std::to_string(horizon));
        const RunResults results = RunHistory(periods, horizon);
        EXPECT_TRUE(results.series.comingPeriods.Empty());
        EXPECT_TRUE(NextDeliveries(results).empty());
        EXPECT_EQ(CsvRows(NextCsv(results)).size(), 1u);
        EXPECT_EQ(CsvRows(SeriesCsv(results.series)).size(),
                  static_cast<std::size_t>(3 * periods + 1));
        EXPECT_NE(ResultsSummary(results, 0, {}).find("Deliveries to decide now: none"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace sf
