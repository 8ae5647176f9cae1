// The check on unseen periods: every tau is chosen as a run on the history cut before T
// chooses it, and what it reached from T on is what the full run's series.csv gives.
#include "results/unseen_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "csv_reading.h"
#include "history/history_reader.h"
#include "outcome/period_outcome.h"
#include "results/export_tables.h"
#include "results/run_results.h"
#include "run_fixture.h"

namespace sf {
namespace {

constexpr int kPeriods = 60;
constexpr int kCheckFrom = 41;

// Three sales points whose demand swings, so that the taus answered differ.
std::string SwingingHistory(int periods) {
    std::string text;
    for (int t = 1; t <= periods; ++t) {
        for (int sp = 1; sp <= 3; ++sp) {
            text += (sp == 1 ? "" : ",") +
                    std::to_string(20 * sp + (t * 7 + sp * 5) % 13 + (t % (sp + 3) == 0 ? 9 : 0));
        }
        text += '\n';
    }
    return text;
}

ResultsRequest Asked() {
    ResultsRequest request;
    request.targetFillRate = 0.95;
    request.targetServiceLevel = 0.7;
    request.costs = OutcomeCosts{3.0, 1.0};
    return request;
}

class UnseenPeriods : public RunFixture {
  protected:
    RunResults RunHistory(int periods, const ResultsRequest& request) {
        RunInputs inputs = SmallRun();
        inputs.history = ParseSalesHistory(SwingingHistory(periods));
        EXPECT_TRUE(Run(inputs).completed);
        return ComputeResults(*state, request);
    }
};

// The pooled row of an answer in the check.
const CheckRow& Pooled(const UnseenCheck& check, std::string_view answer) {
    const auto row = std::ranges::find_if(check.rows, [answer](const CheckRow& r) {
        return r.answer == answer && r.salesPoint == 0;
    });
    EXPECT_NE(row, check.rows.end()) << answer;
    return *row;
}

TEST_F(UnseenPeriods, TheTausAreThoseOfTheHistoryCutBeforeT) {
    const RunResults cut = RunHistory(kCheckFrom - 1, Asked());
    ResultsRequest request = Asked();
    request.checkFrom = kCheckFrom;
    const RunResults full = RunHistory(kPeriods, request);
    ASSERT_TRUE(full.check);
    ASSERT_EQ(cut.figures.SoundCount(), 3);
    ASSERT_EQ(full.figures.SoundCount(), 3);
    const EvaluationAnswers& chosen = cut.Answers(Evaluation::asForecast);
    const UnseenCheck& check = *full.check;
    EXPECT_EQ(Pooled(check, "run").tau, cut.series.tau);
    EXPECT_EQ(Pooled(check, "target_fill_rate").tau, *chosen.target->tau);
    EXPECT_EQ(Pooled(check, "target_service_level").tau, *chosen.serviceLevelTarget->tau);
    EXPECT_EQ(Pooled(check, "cheapest").tau, chosen.cheapest->tau);
    EXPECT_EQ(Pooled(check, "cost").tau, *chosen.costTarget->tau);
    // Without the option nothing is checked.
    EXPECT_FALSE(RunHistory(kPeriods, Asked()).check);
}

// check.csv against the sums of series.csv's as_forecast columns over T..P, added period by
// period per sales point, then over the sales points in order.
TEST_F(UnseenPeriods, CheckCsvIsWhatSeriesCsvGives) {
    ResultsRequest request = Asked();
    request.checkFrom = kCheckFrom;
    const RunResults results = RunHistory(kPeriods, request);
    const auto series = CsvRows(SeriesCsv(results.series));
    const auto check = CsvRows(CheckCsv(results));
    ASSERT_EQ(check.size(), 1u + 5u * 4u);
    const double costRatio = 3.0 / (3.0 + 1.0);
    struct Sums {
        double demand = 0, sales = 0, lost = 0, returned = 0, delivered = 0, met = 0, periods = 0;
    };
    for (std::size_t line = 1; line < check.size(); ++line) {
        const std::vector<std::string>& row = check[line];
        SCOPED_TRACE(row[0] + " " + row[2]);
        const double tau = *CellValue(row[1]);
        Sums pooled;
        std::vector<Sums> each(3);
        for (std::size_t at = 1; at < series.size(); ++at) {
            const std::vector<std::string>& cells = series[at];
            const int sp = std::stoi(cells[0]);
            const int t = std::stoi(cells[2]);
            if (t < kCheckFrom || t > kPeriods) {
                continue;
            }
            // demand, forecast_as_forecast and sigma_as_forecast.
            const double demand = *CellValue(cells[5]);
            const PeriodOutcome<double> outcome =
                OutcomeOfPeriod(*CellValue(cells[15]), *CellValue(cells[16]), tau, demand);
            Sums& sums = each[static_cast<std::size_t>(sp - 1)];
            sums.demand = sums.demand + demand;
            sums.sales = sums.sales + outcome.sales;
            sums.lost = sums.lost + outcome.lostSale;
            sums.returned = sums.returned + outcome.returned;
            sums.delivered = sums.delivered + outcome.delivery;
            sums.met += outcome.lostSale == 0.0 ? 1.0 : 0.0;
            sums.periods += 1.0;
        }
        for (const Sums& sums : each) {
            pooled.demand = pooled.demand + sums.demand;
            pooled.sales = pooled.sales + sums.sales;
            pooled.lost = pooled.lost + sums.lost;
            pooled.returned = pooled.returned + sums.returned;
            pooled.delivered = pooled.delivered + sums.delivered;
            pooled.met += sums.met;
            pooled.periods += sums.periods;
        }
        const Sums& sums = row[2] == "sound" ? pooled : each[std::stoul(row[2]) - 1];
        EXPECT_EQ(row[4] + "," + row[5], "41,60");
        EXPECT_TRUE(SameBits(CellValue(row[6]), sums.demand));
        EXPECT_TRUE(SameBits(CellValue(row[7]), sums.sales));
        EXPECT_TRUE(SameBits(CellValue(row[8]), sums.lost));
        EXPECT_TRUE(SameBits(CellValue(row[9]), sums.returned));
        EXPECT_TRUE(SameBits(CellValue(row[10]), sums.delivered));
        EXPECT_TRUE(SameBits(CellValue(row[11]), sums.sales / sums.demand));
        EXPECT_TRUE(SameBits(CellValue(row[12]), sums.met / sums.periods));
        EXPECT_TRUE(SameBits(CellValue(row[13]), 3.0 * sums.lost + 1.0 * sums.returned));
        const double csl = sums.met / sums.periods;
        const std::string reached = row[0] == "target_fill_rate"
                                        ? (sums.sales / sums.demand >= 0.95 ? "1" : "0")
                                    : row[0] == "target_service_level" ? (csl >= 0.7 ? "1" : "0")
                                    : row[0] == "cost" ? (csl >= costRatio ? "1" : "0")
                                                       : "";
        if (row[2] != "sound") {
            EXPECT_EQ(row[14], reached);
        } else if (row[0] == "run" || row[0] == "cheapest") {
            EXPECT_EQ(row[14], "");
        }
    }
}

TEST(CheckFrom, MustLeavePeriodsBeforeAndFromIt) {
    const struct {
        PeriodStretch rolling;
        int from;
        bool taken;
    } cases[] = {
        {{12, 600}, 12, false},  {{12, 600}, 13, true}, {{12, 600}, 600, true},
        {{12, 600}, 601, false}, {{12, 12}, 12, false}, {{1, 0}, 1, false},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> problem = CheckFromProblem(c.rolling, c.from);
        EXPECT_EQ(!problem, c.taken) << c.from << ": " << problem.value_or("");
    }
    EXPECT_EQ(*CheckFromProblem({12, 600}, 12),
              "must be a period from 13 to 600 (after S + A + H + 1, at most P), not 12");
}

}  // namespace
}  // namespace sf
