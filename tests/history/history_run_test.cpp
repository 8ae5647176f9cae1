#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

#include "history/history_reader.h"
#include "results/export_tables.h"
#include "results/run_results.h"
#include "results/run_series.h"
#include "run_fixture.h"

namespace sf {
namespace {

std::string Shortest(double value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, end);
}

// The actual demand of a finished run, one column per sales point.
std::string WideDemand(const RunState& state) {
    std::string text;
    for (int period = 1; period <= state.periodNumber; ++period) {
        for (int salesPoint = 1; salesPoint <= state.salesPointCount; ++salesPoint) {
            text += (salesPoint == 1 ? "" : ",") + Shortest(state.actualDemand(salesPoint, period));
        }
        text += '\n';
    }
    return text;
}

// The same demand among the other series of the run, in the shape of an export's series, with
// the cells before the outcome window left empty.
std::string TidyDemand(const RunState& state) {
    std::string text =
        "sales_point,period,demand_mean,demand,forecast,mad,sigma,alpha,beta,delivery,lost_sale,"
        "returned,sales\n";
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        for (int t = 1; t <= state.periodNumber; ++t) {
            text += std::to_string(sp) + ',' + std::to_string(t) + ',' +
                    Shortest(state.demandMean(sp, t)) + ',' + Shortest(state.actualDemand(sp, t));
            for (const Matrix* series :
                 {&state.mu, &state.mad, &state.sigma, &state.alphaUsed, &state.betaUsed,
                  &state.delivery, &state.lostSale, &state.returned, &state.sales}) {
                text += ',' + (t < state.initPeriods ? "" : Shortest((*series)(sp, t)));
            }
            text += '\n';
        }
    }
    return text;
}

std::vector<std::string> Lines(const std::string& report) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < report.size();) {
        const std::size_t end = report.find("\r\n", at);
        lines.push_back(report.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

class HistoryRunTest : public RunFixture {
  protected:
    // The small scenario with its demand read from the file, and every box a history makes
    // meaningless filled with a text no run could read.
    RunInputs FromFile(const std::string& name) {
        RunInputs inputs = SmallRun();
        inputs.history = ReadSalesHistory(folder.Path(name));
        for (std::string* unread : {&inputs.Endpointnumber, &inputs.Periodnumber, &inputs.p1low,
                                    &inputs.p1up, &inputs.p2low, &inputs.p2up, &inputs.p3}) {
            *unread = "not read";
        }
        inputs.model = DemandModel::AR1;
        return inputs;
    }
};

TEST_F(HistoryRunTest, DemandReadBackGivesTheSameReportButForItsParameterLines) {
    struct Model {
        DemandModel model;
        const char* p2low;
        const char* p2up;
        const char* p3;
    };
    const Model models[] = {{DemandModel::loga, "1", "3", ""},
                            {DemandModel::AR1, "0.3", "0.7", "3"},
                            {DemandModel::Normal, "1", "5", ""}};
    for (const Model& model : models) {
        for (const auto shape : {&WideDemand, &TidyDemand}) {
            SCOPED_TRACE(std::string(DemandModelName(model.model)) +
                         (shape == &WideDemand ? " wide" : " tidy"));
            RunInputs simulated = SmallRun();
            simulated.model = model.model;
            simulated.p2low = model.p2low;
            simulated.p2up = model.p2up;
            simulated.p3 = model.p3;
            ASSERT_TRUE(Run(simulated).completed);
            std::vector<std::string> expected = Lines(folder.Read("out.txt"));
            folder.Write("demand.csv", shape(*state));

            UniformSource untouched;
            const RunOutcome outcome = ExecuteRun(*state, untouched, FromFile("demand.csv"),
                                                  NumberLocale{}, folder.Path("out.txt"), observer);
            ASSERT_TRUE(outcome.completed) << outcome.message;
            EXPECT_EQ(untouched, UniformSource{}) << "a random number was drawn";
            // The heading stays; one line stands for the three parameter lines.
            expected.erase(expected.begin() + 2, expected.begin() + 4);
            expected[1] = "Demand read from demand.csv";
            EXPECT_EQ(Lines(folder.Read("out.txt")), expected);
        }
    }
}

TEST_F(HistoryRunTest, EveryOtherBoxIsReadAndCheckedAsBefore) {
    folder.Write("demand.csv", "1,2\n3,4\n5,6\n");
    RunInputs inputs = FromFile("demand.csv");
    inputs.tau_tx = "x";
    EXPECT_EQ(Run(inputs).message, "Tau (\xCF\x84): \"x\" is not a number");
    inputs = FromFile("demand.csv");
    inputs.horizontx = "599";  // with S = 4 and A = 6 above 600
    EXPECT_TRUE(Run(inputs).message.starts_with("The periods for initial mu and sigma"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.txt")));
}

TEST_F(HistoryRunTest, TheReportNamesTheFileOnOneLine) {
    folder.Write("demand.csv", "1,2\n3,4\n5,6\n");
    RunInputs inputs = FromFile("demand.csv");
    inputs.history->name = "odd\r\nname.csv";
    ASSERT_TRUE(Run(inputs).completed);
    const std::vector<std::string> lines = Lines(folder.Read("out.txt"));
    EXPECT_EQ(lines[1], "Demand read from odd??name.csv");
    EXPECT_EQ(lines[4], "01 02");
}

// Recorded demand has no mean behind it: the series leave that column empty whatever the model
// box says.
TEST_F(HistoryRunTest, TheSeriesHaveNoDemandMean) {
    folder.Write("demand.csv", "1,2\n3,4\n5,6\n");
    RunInputs inputs = FromFile("demand.csv");
    inputs.model = DemandModel::loga;
    ASSERT_TRUE(Run(inputs).completed);
    const RunSeries series = CopySeries(*state);
    EXPECT_FALSE(series.salesPoints[0].demandMean.At(1).has_value());
    EXPECT_EQ(series.salesPoints[1].demand.At(3), 6.0);
}

// A delivery as forecast is decided at d = t - max(H, 1) with what is known then: changing the
// demand of one period changes nothing decided before it.
TEST_F(HistoryRunTest, ForecastsAsKnownReadNoDemandAfterTheirDecision) {
    std::string wide;
    for (int t = 1; t <= 40; ++t) {
        wide += std::to_string(20 + t % 7) + "," + std::to_string(30 - t % 5) + "," +
                std::to_string(10 + (t * t) % 9) + "\n";
    }
    folder.Write("demand.csv", wide);
    for (const int horizon : {0, 1, 2}) {
        for (const int changed : {15, 27}) {
            SCOPED_TRACE("H = " + std::to_string(horizon) + ", demand of " +
                         std::to_string(changed) + " changed");
            RunInputs inputs = FromFile("demand.csv");
            inputs.horizontx = std::to_string(horizon);
            ASSERT_TRUE(Run(inputs).completed);
            const RunSeries before = CopySeries(*state);
            std::vector<double> demand = inputs.history->demand.Values();
            for (int sp = 1; sp <= 3; ++sp) {
                demand[static_cast<std::size_t>((sp - 1) * 40 + changed - 1)] += 7;
            }
            inputs.history->demand = std::move(demand);
            ASSERT_TRUE(Run(inputs).completed);
            const RunSeries after = CopySeries(*state);
            bool laterChanged = false;
            for (int sp = 0; sp < 3; ++sp) {
                const SalesPointSeries& was = before.salesPoints[sp];
                const SalesPointSeries& is = after.salesPoints[sp];
                for (int t = before.rollingStretch.first; t <= 40; ++t) {
                    const bool decidedBefore = *was.decidedAt.At(t) < changed;
                    for (const auto series : {&EvaluatedSeries::forecast, &EvaluatedSeries::sigma,
                                              &EvaluatedSeries::delivery}) {
                        const bool same =
                            (was.asForecast.*series).At(t) == (is.asForecast.*series).At(t);
                        EXPECT_TRUE(same || !decidedBefore)
                            << "sales point " << sp + 1 << ", " << t;
                        laterChanged = laterChanged || !same;
                    }
                }
            }
            EXPECT_TRUE(laterChanged);  // the change reaches the periods decided after it
        }
    }
}

// The names of a wide file's header name its sales points in the export, quoted where they hold
// a comma; the run is told by the file's name, without a seed.
TEST_F(HistoryRunTest, TheHeaderNamesTheSalesPointsOfTheExport) {
    folder.Write("shop sales.csv", "\"Store, A\", B ,\n1,2,3\n3,4,5\n5,6,7\n6,5,4\n");
    ASSERT_TRUE(Run(FromFile("shop sales.csv")).completed);
    RunRecord record;
    record.inputs = FromFile("shop sales.csv");
    const RunResults results = ComputeResults(*state, ResultsRequest{});
    const std::string summary = SummaryCsv(results, record);
    EXPECT_NE(summary.find("\n,shop sales.csv,1,as_forecast,1,\"Store, A\","), std::string::npos)
        << summary;
    EXPECT_NE(summary.find(",as_reported,2,B,"), std::string::npos);
    EXPECT_NE(summary.find(",as_reported,3,3,"), std::string::npos);  // no name: its number
    const std::string series = SeriesCsv(results.series);
    EXPECT_NE(series.find("\n1,\"Store, A\",4,,"), std::string::npos) << series;
    // The export reads back as a long table with the same demand.
    EXPECT_EQ(ParseSalesHistory(series).demand, record.inputs.history->demand);
}

// The dates of a history date the periods of the series, and read back from it.
TEST_F(HistoryRunTest, TheDatesOfAHistoryDateTheSeries) {
    folder.Write("weeks.csv", "week,A\n2023-01-02,1\n2023-01-09,3\n2023-01-16,5\n2023-01-23,6\n");
    ASSERT_TRUE(Run(FromFile("weeks.csv")).completed);
    const std::string series = SeriesCsv(ComputeResults(*state, ResultsRequest{}).series);
    EXPECT_NE(series.find("\n1,A,2,2023-01-09,"), std::string::npos) << series;
    EXPECT_NE(series.find("\n1,A,4,2023-01-23,"), std::string::npos);
    EXPECT_EQ(ParseSalesHistory(series).demand, (std::vector<double>{1, 3, 5, 6}));
}

}  // namespace
}  // namespace sf
