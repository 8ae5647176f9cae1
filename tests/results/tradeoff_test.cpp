#include "results/tradeoff.h"

#include <gtest/gtest.h>

#include <random>

#include "csv_reading.h"
#include "outcome/period_outcome.h"
#include "results/run_results.h"
#include "results/tau_answers.h"
#include "results/tradeoff_kernel.h"
#include "run_fixture.h"
#include "runtime/kernel_set.h"

namespace sf {
namespace {

// One sales point per column of values; the outcome window is periods 1..P.
RunSeries HandSeries(const std::vector<std::vector<double>>& forecast,
                     const std::vector<std::vector<double>>& sigma,
                     const std::vector<std::vector<double>>& demand) {
    RunSeries series;
    series.outcomeFirst = 1;
    series.periodNumber = static_cast<int>(demand.front().size());
    for (std::size_t sp = 0; sp < demand.size(); ++sp) {
        SalesPointSeries point;
        point.forecast.values = forecast[sp];
        point.sigma.values = sigma[sp];
        point.demand.values = demand[sp];
        series.salesPoints.push_back(point);
    }
    return series;
}

std::optional<double> FillRateAt(const RunSeries& series, double tau) {
    const double taus[] = {tau};
    return ComputeTradeoff(series, taus, std::nullopt).front().fillRate;
}

TEST(Tradeoff, HandCheckedRowsAndCosts) {
    // Forecast 10, sigma 2: deliveries 10, 11, 12 at tau 0, 0.5, 1 against demand 11 and 9.
    const RunSeries series = HandSeries({{10, 10}}, {{2, 2}}, {{11, 9}});
    const double taus[] = {0.0, 0.5, 1.0};
    const auto rows = ComputeTradeoff(series, taus, OutcomeCosts{4.0, 1.0});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].lostSales, 1.0);
    EXPECT_EQ(rows[0].returns, 1.0);
    EXPECT_EQ(rows[0].sales, 19.0);
    EXPECT_EQ(rows[0].fillRate, 19.0 / 20.0);
    EXPECT_EQ(rows[0].cycleServiceLevel, 0.5);
    EXPECT_EQ(rows[0].cost, 5.0);
    EXPECT_EQ(rows[1].deliveries, 22.0);
    EXPECT_EQ(rows[1].cost, 2.0);  // 11 meets 11, returns 2
    EXPECT_EQ(rows[2].cost, 4.0);
    EXPECT_TRUE(rows[0].runTau);  // the series' tau is 0
    EXPECT_EQ(CheapestTau(rows)->tau, 0.5);

    // A tie goes to the smaller tau; no costs, no answer.
    const double tied[] = {1.0, 2.0};
    EXPECT_EQ(CheapestTau(ComputeTradeoff(series, tied, OutcomeCosts{0.0, 0.0}))->tau, 1.0);
    EXPECT_FALSE(CheapestTau(ComputeTradeoff(series, tied, std::nullopt)));
}

void ExpectPeriodByPeriodRows(const std::vector<TradeoffRow>& rows, const std::vector<double>& taus,
                              const std::vector<std::vector<double>>& f,
                              const std::vector<std::vector<double>>& s,
                              const std::vector<std::vector<double>>& d);

// The trade-off takes several taus at a time in vector lanes, on every kernel this processor
// has; each row must hold what the period-by-period step gives for its tau alone.
TEST(Tradeoff, EveryRowIsThePeriodByPeriodOutcome) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> value(-30.0, 30.0);
    std::vector<std::vector<double>> f(3), s(3), d(3);
    for (int sp = 0; sp < 3; ++sp) {
        for (int t = 0; t < 50; ++t) {
            // Halves and whole numbers as often as other values, sigma of either sign.
            const double forecast = value(random);
            f[sp].push_back(t % 3 == 0 ? std::floor(forecast) + 0.5 : forecast);
            s[sp].push_back(t % 5 == 0 ? 0.0 : value(random));
            d[sp].push_back(t % 2 == 0 ? std::round(value(random)) : value(random));
        }
    }
    const RunSeries series = HandSeries(f, s, d);
    const std::vector<double> taus = {-1.0, 0.0, 0.25, 0.5, 0.75, 1.0, 2.5};  // a partial block
    for (const NamedTradeoffKernel& kernel : TradeoffKernels().Supported()) {
        SCOPED_TRACE(kernel.name);
        const auto rows = ComputeTradeoffWith(kernel, series, taus, std::nullopt);
        ExpectPeriodByPeriodRows(rows, taus, f, s, d);
    }
}

void ExpectPeriodByPeriodRows(const std::vector<TradeoffRow>& rows, const std::vector<double>& taus,
                              const std::vector<std::vector<double>>& f,
                              const std::vector<std::vector<double>>& s,
                              const std::vector<std::vector<double>>& d) {
    for (std::size_t k = 0; k < taus.size(); ++k) {
        double lost = 0.0, returned = 0.0, sales = 0.0, delivered = 0.0;
        for (int sp = 0; sp < 3; ++sp) {
            double spLost = 0.0, spReturned = 0.0, spSales = 0.0, spDelivered = 0.0;
            for (int t = 0; t < 50; ++t) {
                const PeriodOutcome<double> outcome =
                    OutcomeOfPeriod(f[sp][t], s[sp][t], taus[k], d[sp][t]);
                spLost = spLost + outcome.lostSale;
                spReturned = spReturned + outcome.returned;
                spSales = spSales + outcome.sales;
                spDelivered = spDelivered + outcome.delivery;
            }
            lost = lost + spLost;
            returned = returned + spReturned;
            sales = sales + spSales;
            delivered = delivered + spDelivered;
        }
        EXPECT_TRUE(SameBits(rows[k].lostSales, lost)) << "tau " << taus[k];
        EXPECT_TRUE(SameBits(rows[k].returns, returned)) << "tau " << taus[k];
        EXPECT_TRUE(SameBits(rows[k].sales, sales)) << "tau " << taus[k];
        EXPECT_TRUE(SameBits(rows[k].deliveries, delivered)) << "tau " << taus[k];
    }
}

TEST(Tradeoff, FillRateNeverFallsAsTauRisesWhereSigmaIsNotNegative) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> forecast(-5.0, 40.0);
    std::uniform_real_distribution<double> sigma(0.0, 8.0);
    std::poisson_distribution<int> demand(20);
    std::vector<std::vector<double>> f(5), s(5), d(5);
    for (int sp = 0; sp < 5; ++sp) {
        for (int t = 0; t < 200; ++t) {
            f[sp].push_back(forecast(random));
            s[sp].push_back(sigma(random));
            d[sp].push_back(demand(random));
        }
    }
    const RunSeries series = HandSeries(f, s, d);
    const std::vector<double> taus = GridTaus(TauGrid{-3.0, 6.0, 0.001}, 0.0);
    const auto rows = ComputeTradeoff(series, taus, std::nullopt);
    for (std::size_t k = 1; k < rows.size(); ++k) {
        ASSERT_GE(*rows[k].fillRate, *rows[k - 1].fillRate) << "tau " << rows[k].tau;
        ASSERT_GE(*rows[k].cycleServiceLevel, *rows[k - 1].cycleServiceLevel);
    }
}

class TargetFillRate : public RunFixture {};

TEST_F(TargetFillRate, TheAnswerReachesTheTargetAndASlightlySmallerTauDoesNot) {
    RunInputs inputs = SmallRun();
    inputs.Endpointnumber = "10";
    inputs.Periodnumber = "60";
    RunOptions bounded;
    bounded.boundedConstants = true;  // keeps sigma at 0 or above
    ASSERT_TRUE(ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("out.txt"), observer,
                           bounded)
                    .completed);
    for (const double target : {0.95, 0.97, 0.98}) {
        ResultsRequest request;
        request.targetFillRate = target;
        const RunResults results = ComputeResults(*state, request);
        ASSERT_TRUE(results.target->tau) << results.target->note;
        EXPECT_EQ(results.target->note, "");  // bisected, not a grid tau
        const double tau = *results.target->tau;
        EXPECT_GE(*FillRateAt(results.series, tau), target);
        EXPECT_EQ(results.target->fillRate, FillRateAt(results.series, tau));
        EXPECT_LT(*FillRateAt(results.series, tau - 2e-9), target) << "tau " << tau;
        EXPECT_LT(*FillRateAt(results.series, tau - 1e-8), target);
    }
}

// A front end asks again with the results alone: the same rows and answers as a fresh
// computation, and a question no longer asked loses its answer.
TEST_F(TargetFillRate, AskingAgainGivesWhatComputingAfreshGives) {
    ASSERT_TRUE(Run(SmallRun()).completed);
    ResultsRequest asked;
    asked.targetFillRate = 0.9;
    asked.costs = OutcomeCosts{5.0, 1.0};
    RunResults results = ComputeResults(*state, ResultsRequest{});
    for (const ResultsRequest& request : {asked, ResultsRequest{}}) {
        AnswerRequest(results, request);
        const RunResults fresh = ComputeResults(*state, request);
        ASSERT_EQ(results.tradeoff.size(), fresh.tradeoff.size());
        for (std::size_t k = 0; k < fresh.tradeoff.size(); ++k) {
            EXPECT_EQ(results.tradeoff[k].tau, fresh.tradeoff[k].tau);
            EXPECT_EQ(results.tradeoff[k].cost, fresh.tradeoff[k].cost);
            EXPECT_EQ(results.tradeoff[k].fillRate, fresh.tradeoff[k].fillRate);
        }
        EXPECT_EQ(results.target.has_value(), fresh.target.has_value());
        EXPECT_EQ(results.target ? results.target->tau : std::nullopt,
                  fresh.target ? fresh.target->tau : std::nullopt);
        EXPECT_EQ(results.cheapest.has_value(), fresh.cheapest.has_value());
    }
}

TEST(TargetAnswer, OutsideABisectionTheGridAnswersWithANote) {
    // With a negative sigma the fill rate need not rise with tau, so no bisection: fill rates
    // 0.5, 0.6 and 0.7 at tau 0, 1 and 2.
    const RunSeries turning = HandSeries({{10, 10}}, {{-1, 5}}, {{10, 30}});
    const double taus[] = {0.0, 1.0, 2.0};
    const auto rows = ComputeTradeoff(turning, taus, std::nullopt);
    TargetAnswer answer = AnswerTargetFillRate(turning, rows, 0.65);
    EXPECT_EQ(answer.tau, 2.0);
    EXPECT_EQ(answer.fillRate, 0.7);
    EXPECT_NE(answer.note.find("smallest tau of the grid"), std::string::npos);

    // No tau reaches the target: no answer, the best the grid offers.
    answer = AnswerTargetFillRate(turning, rows, 1.0);
    EXPECT_FALSE(answer.tau);
    EXPECT_NE(answer.note.find("no tau of the grid reaches it"), std::string::npos);

    // Reached at the grid's first tau.
    const RunSeries steady = HandSeries({{10}}, {{1}}, {{10}});
    answer = AnswerTargetFillRate(steady, ComputeTradeoff(steady, taus, std::nullopt), 1.0);
    EXPECT_EQ(answer.tau, 0.0);
    EXPECT_FALSE(answer.note.empty());

    // No demand: no fill rate at all.
    const RunSeries none = HandSeries({{1}}, {{1}}, {{0}});
    answer = AnswerTargetFillRate(none, ComputeTradeoff(none, taus, std::nullopt), 0.5);
    EXPECT_FALSE(answer.tau);
    EXPECT_NE(answer.note.find("no demand"), std::string::npos);
}

TEST(TauGrid, ReadingAndTaus) {
    const struct {
        const char* text;
        std::size_t taus;  // with the run's tau 0.25; 0: refused
        const char* problem;
    } cases[] = {
        {"0:3:0.1", 32, ""},
        {" 3 : 0 : -0.5 ", 8, ""},
        {"1:1:5", 2, ""},
        {"1:1:-5", 2, ""},
        {"0:1:0.0001", 10001, ""},  // 0.25 is on it
        {"0:3", 0, "is not FROM:TO:STEP"},
        {"0:3:0.1:1", 0, "is not FROM:TO:STEP"},
        {"0:3:0", 0, "step"},
        {"0:3:-0.1", 0, "wrong sign"},
        {"3:0:0.1", 0, "wrong sign"},
        {"0:1.0001:0.0001", 0, "more than 10001"},
        {"-1e308:1e308:1", 0, "more than 10001"},
        {"a:1:0.1", 0, "FROM of"},
        {"0:1:0,1", 0, "STEP of"},
        {"0::1", 0, "TO of"},
    };
    for (const auto& c : cases) {
        std::string problem;
        const std::optional<TauGrid> grid = ParseTauGrid(c.text, problem);
        if (c.taus == 0) {
            EXPECT_FALSE(grid) << c.text;
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.text << ": " << problem;
        } else {
            ASSERT_TRUE(grid) << c.text << ": " << problem;
            EXPECT_EQ(GridTaus(*grid, 0.25).size(), c.taus) << c.text;
        }
    }
    // The taus are those a user would type, so a run's own tau typed alike meets one of them.
    EXPECT_EQ(GridTaus(TauGrid{0.0, 0.3, 0.1}, 0.3), (std::vector<double>{0.0, 0.1, 0.2, 0.3}));
    EXPECT_EQ(GridTaus(TauGrid{0.0, 3.0, 0.1}, 0.5)[29], 2.9);
    EXPECT_EQ(GridTaus(TauGrid{1.0, 0.0, -0.5}, 0.25), (std::vector<double>{0.0, 0.25, 0.5, 1.0}));
}

}  // namespace
}  // namespace sf
