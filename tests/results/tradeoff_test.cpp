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

// One sales point per column of values, as the report's series over periods 1..P; the rolling
// stretch is empty.
RunSeries HandSeries(const std::vector<std::vector<double>>& forecast,
                     const std::vector<std::vector<double>>& sigma,
                     const std::vector<std::vector<double>>& demand) {
    RunSeries series;
    series.periodNumber = static_cast<int>(demand.front().size());
    series.outcomeWindow = {1, series.periodNumber};
    series.rollingStretch = {series.periodNumber + 1, series.periodNumber};
    for (std::size_t sp = 0; sp < demand.size(); ++sp) {
        SalesPointSeries point;
        point.asReported.forecast.values = forecast[sp];
        point.asReported.sigma.values = sigma[sp];
        point.demand.values = demand[sp];
        series.salesPoints.push_back(point);
    }
    return series;
}

SalesPointChoice Every(const RunSeries& series) {
    return SalesPointChoice(series.salesPoints.size(), true);
}

std::vector<TradeoffRow> Reported(const RunSeries& series, std::span<const double> taus,
                                  const std::optional<OutcomeCosts>& costs) {
    return ComputeTradeoff(series, Evaluation::asReported, Every(series), taus, costs);
}

TargetAnswer ReportedTarget(const RunSeries& series, std::span<const double> taus, double target,
                            const TargetRate& rate = kFillRateTarget) {
    return AnswerTarget(series, Evaluation::asReported, Every(series),
                        Reported(series, taus, std::nullopt), rate, target);
}

std::optional<double> RateAt(const RunResults& results, Evaluation evaluation, double tau,
                             const TargetRate& rate = kFillRateTarget) {
    const double taus[] = {tau};
    return ComputeTradeoff(results.series, evaluation, results.figures.sound, taus, std::nullopt)
               .front().*
           rate.value;
}

TEST(Tradeoff, HandCheckedRowsAndCosts) {
    // Forecast 10, sigma 2: deliveries 10, 11, 12 at tau 0, 0.5, 1 against demand 11 and 9.
    const RunSeries series = HandSeries({{10, 10}}, {{2, 2}}, {{11, 9}});
    const double taus[] = {0.0, 0.5, 1.0};
    const auto rows = Reported(series, taus, OutcomeCosts{4.0, 1.0});
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
    EXPECT_EQ(CheapestTau(Reported(series, tied, OutcomeCosts{0.0, 0.0}))->tau, 1.0);
    EXPECT_FALSE(CheapestTau(Reported(series, tied, std::nullopt)));
}

// Each evaluation reads its own forecasts over its own stretch, and only the chosen sales
// points.
TEST(Tradeoff, AnEvaluationTakesItsOwnSeriesAndTheChosenSalesPoints) {
    RunSeries series =
        HandSeries({{10, 10, 10}, {1, 1, 1}}, {{0, 0, 0}, {0, 0, 0}}, {{9, 10, 11}, {5, 5, 5}});
    series.rollingStretch = {3, 3};
    series.salesPoints[0].asForecast.forecast = {3, {12}};
    series.salesPoints[0].asForecast.sigma = {3, {0}};
    series.salesPoints[1].asForecast.forecast = {3, {4}};
    series.salesPoints[1].asForecast.sigma = {3, {0}};
    const double taus[] = {0.0};
    const struct {
        Evaluation evaluation;
        SalesPointChoice chosen;
        double sales;
        double deliveries;
    } cases[] = {
        {Evaluation::asReported, {true, true}, 9 + 10 + 10 + 3, 30 + 3},
        {Evaluation::asReported, {true, false}, 9 + 10 + 10, 30},
        {Evaluation::asForecast, {true, true}, 11 + 4, 12 + 4},
        {Evaluation::asForecast, {false, true}, 4, 4},
        {Evaluation::asForecast, {false, false}, 0, 0},
    };
    for (const auto& c : cases) {
        const TradeoffRow row = ComputeTradeoff(series, c.evaluation, c.chosen, taus, {}).front();
        EXPECT_EQ(row.sales, c.sales) << EvaluationName(c.evaluation);
        EXPECT_EQ(row.deliveries, c.deliveries) << EvaluationName(c.evaluation);
    }
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
        const auto rows = ComputeTradeoffWith(kernel, series, Evaluation::asReported, Every(series),
                                              taus, std::nullopt);
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
    const auto rows = Reported(series, taus, std::nullopt);
    for (std::size_t k = 1; k < rows.size(); ++k) {
        ASSERT_GE(*rows[k].fillRate, *rows[k - 1].fillRate) << "tau " << rows[k].tau;
        ASSERT_GE(*rows[k].cycleServiceLevel, *rows[k - 1].cycleServiceLevel);
    }
}

class TargetFillRate : public RunFixture {};

// A target fill rate and a target cycle service level are answered by the same bisection.
TEST_F(TargetFillRate, TheAnswerReachesTheTargetAndASlightlySmallerTauDoesNot) {
    RunInputs inputs = SmallRun();
    inputs.Endpointnumber = "10";
    inputs.Periodnumber = "60";
    RunOptions bounded;
    bounded.boundedConstants = true;  // keeps sigma at 0 or above
    ASSERT_TRUE(ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("out.txt"), observer,
                           bounded)
                    .completed);
    const struct {
        const TargetRate& rate;
        std::optional<double> ResultsRequest::*asked;
        std::optional<TargetAnswer> EvaluationAnswers::*answer;
        double targets[3];
    } cases[] = {
        {kFillRateTarget,
         &ResultsRequest::targetFillRate,
         &EvaluationAnswers::target,
         {0.95, 0.97, 0.98}},
        {kServiceLevelTarget,
         &ResultsRequest::targetServiceLevel,
         &EvaluationAnswers::serviceLevelTarget,
         {0.6, 0.8, 0.9}},
    };
    for (const auto& c : cases) {
        for (const double target : c.targets) {
            ResultsRequest request;
            request.*c.asked = target;
            const RunResults results = ComputeResults(*state, request);
            for (const Evaluation evaluation : kEvaluations) {
                SCOPED_TRACE(std::string(c.rate.name) + " " + std::to_string(target) + ", " +
                             std::string(EvaluationName(evaluation)));
                const TargetAnswer& answer = *(results.Answers(evaluation).*c.answer);
                ASSERT_TRUE(answer.tau) << answer.note;
                EXPECT_EQ(answer.note, "");  // bisected, not a grid tau
                const double tau = *answer.tau;
                EXPECT_GE(*RateAt(results, evaluation, tau, c.rate), target);
                EXPECT_EQ(answer.rate, RateAt(results, evaluation, tau, c.rate));
                EXPECT_LT(*RateAt(results, evaluation, tau - 2e-9, c.rate), target)
                    << "tau " << tau;
                EXPECT_LT(*RateAt(results, evaluation, tau - 1e-8, c.rate), target);
                // The other question was not asked.
                EXPECT_EQ(results.Answers(evaluation).target.has_value() +
                              results.Answers(evaluation).serviceLevelTarget.has_value(),
                          1);
            }
        }
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
        for (const Evaluation evaluation : kEvaluations) {
            const EvaluationAnswers& again = results.Answers(evaluation);
            const EvaluationAnswers& anew = fresh.Answers(evaluation);
            ASSERT_EQ(again.tradeoff.size(), anew.tradeoff.size());
            for (std::size_t k = 0; k < anew.tradeoff.size(); ++k) {
                EXPECT_EQ(again.tradeoff[k].tau, anew.tradeoff[k].tau);
                EXPECT_EQ(again.tradeoff[k].cost, anew.tradeoff[k].cost);
                EXPECT_EQ(again.tradeoff[k].fillRate, anew.tradeoff[k].fillRate);
            }
            EXPECT_EQ(again.target.has_value(), anew.target.has_value());
            EXPECT_EQ(again.target ? again.target->tau : std::nullopt,
                      anew.target ? anew.target->tau : std::nullopt);
            EXPECT_EQ(again.cheapest.has_value(), anew.cheapest.has_value());
        }
        EXPECT_EQ(results.normalTheory.has_value(), fresh.normalTheory.has_value());
    }
}

TEST(TargetAnswer, OutsideABisectionTheGridAnswersWithANote) {
    // With a negative sigma the fill rate need not rise with tau, so no bisection: fill rates
    // 0.5, 0.6 and 0.7 at tau 0, 1 and 2.
    const RunSeries turning = HandSeries({{10, 10}}, {{-1, 5}}, {{10, 30}});
    const double taus[] = {0.0, 1.0, 2.0};
    TargetAnswer answer = ReportedTarget(turning, taus, 0.65);
    EXPECT_EQ(answer.tau, 2.0);
    EXPECT_EQ(answer.rate, 0.7);
    EXPECT_NE(answer.note.find("smallest tau of the grid"), std::string::npos);

    // No tau reaches the target: no answer, the best the grid offers.
    answer = ReportedTarget(turning, taus, 1.0);
    EXPECT_FALSE(answer.tau);
    EXPECT_NE(answer.note.find("no tau of the grid reaches it"), std::string::npos);
    // With a sigma of 0 every tau gives the same fill rate: the first of them is named.
    answer = ReportedTarget(HandSeries({{5, 5}}, {{0, 0}}, {{10, 10}}), taus, 0.9);
    EXPECT_EQ(answer.note, "no tau of the grid reaches it; the highest fill rate is 0.5 at tau 0");

    // Reached at the grid's first tau.
    answer = ReportedTarget(HandSeries({{10}}, {{1}}, {{10}}), taus, 1.0);
    EXPECT_EQ(answer.tau, 0.0);
    EXPECT_FALSE(answer.note.empty());

    // No demand: no fill rate at all, though a cycle service level, as nothing is lost.
    answer = ReportedTarget(HandSeries({{1}}, {{1}}, {{0}}), taus, 0.5);
    EXPECT_FALSE(answer.tau);
    EXPECT_NE(answer.note.find("no demand"), std::string::npos);
    answer = ReportedTarget(HandSeries({{1}}, {{1}}, {{0}}), taus, 0.5, kServiceLevelTarget);
    EXPECT_EQ(answer.tau, 0.0);
    EXPECT_EQ(answer.rate, 1.0);
}

TEST(NormalTheoryTau, TheQuantileOfTheCostRatio) {
    const struct {
        OutcomeCosts costs;
        std::optional<double> tau;
        const char* note;
    } cases[] = {
        {{1.0, 1.0}, 0.0, ""},
        {{39.0, 1.0}, 1.959963984540054, ""},  // Phi^-1(0.975)
        {{1.0, 39.0}, -1.959963984540054, ""},
        {{5.0, 1.0}, 0.9674215661017013, ""},
        {{1.0, 1e6}, -4.753424510911064, ""},  // deep in the lower tail
        {{0.0, 1.0}, std::nullopt, "needs both costs above 0"},
        {{1.0, 0.0}, std::nullopt, "needs both costs above 0"},
        {{1.0, 1e-300}, std::nullopt, "no tau balances them"},
    };
    for (const auto& c : cases) {
        const NormalTheoryAnswer answer = NormalTheoryTau(c.costs);
        SCOPED_TRACE(std::to_string(c.costs.lostSale) + " / " + std::to_string(c.costs.returned));
        ASSERT_EQ(answer.tau.has_value(), c.tau.has_value());
        if (c.tau) {
            EXPECT_NEAR(*answer.tau, *c.tau, 1e-14 * std::max(1.0, std::fabs(*c.tau)));
        }
        EXPECT_NE(answer.note.find(c.note), std::string::npos) << answer.note;
    }
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
        {"0:0.7:0.1", 9, ""},  // (0.7 - 0) / 0.1 falls just short of 7
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
    // The last tau is TO itself, however the step's error falls.
    for (const double to : {0.3, 0.7, 0.9, 1.1, 2.3, 2.9}) {
        EXPECT_EQ(GridTaus(TauGrid{0.0, to, 0.1}, 0.0).back(), to) << to;
    }
}

}  // namespace
}  // namespace sf
