#include "demand/demand_generation.h"

#include <gtest/gtest.h>

#include <memory>

#include "demand/random_variates.h"
#include "report/report_sections.h"
#include "runtime/run_error.h"
#include "test_folder.h"

namespace sf {
namespace {

class DemandGenerationTest : public ::testing::Test {
  protected:
    void Configure(DemandModel model, int salesPoints, int periods, ModelLimits limits) {
        state->model = model;
        state->salesPointCount = static_cast<std::int16_t>(salesPoints);
        state->periodNumber = static_cast<std::int16_t>(periods);
        state->limits = limits;
    }
    void Generate() {
        DrawParameters(*state, source);
        GenerateDemand(*state, source);
    }
    // Draws the parameters and returns the report's lines of them.
    std::string DrawnParameterLines() {
        DrawParameters(*state, source);
        {
            ReportFile report(folder.Path("out.txt"));
            WriteParameterLines(*state, report, NumberLocale{});
            report.Close();
        }
        return folder.Read("out.txt");
    }
    std::string GenerateFailure() {
        try {
            Generate();
        } catch (const RunError& error) {
            return error.what();
        }
        return "no error";
    }

    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    UniformSource source;
    TestFolder folder;
};

TEST_F(DemandGenerationTest, LinearMeansRiseToTheirCapOfThreeTimesTheLevel) {
    Configure(DemandModel::linear, 1, 6, {10, 10, 5, 5, 0});
    Generate();
    const double expected[] = {15, 20, 25, 30, 30, 30};
    for (int t = 1; t <= 6; ++t) {
        EXPECT_EQ(state->demandMean(1, t), expected[t - 1]) << t;
    }
}

TEST_F(DemandGenerationTest, FallingMeansStopAtHalfTheLevel) {
    Configure(DemandModel::linear, 1, 5, {10, 10, -2, -2, 0});
    Generate();
    const double expected[] = {8, 6, 5, 5, 5};
    for (int t = 1; t <= 5; ++t) {
        EXPECT_EQ(state->demandMean(1, t), expected[t - 1]) << t;
    }
}

TEST_F(DemandGenerationTest, TheTrendValueRoundsHalvesToEven) {
    Configure(DemandModel::linear, 1, 3, {10.5, 10.5, 1, 1, 0});
    Generate();
    EXPECT_EQ(state->demandMean(1, 1), 12.0);  // 11.5
    EXPECT_EQ(state->demandMean(1, 2), 12.0);  // 12.5
    EXPECT_EQ(state->demandMean(1, 3), 14.0);  // 13.5

    Configure(DemandModel::loga, 1, 1, {10, 10, 1, 1, 0});
    Generate();
    EXPECT_EQ(state->demandMean(1, 1), 12.0);  // 10 + ln 6 = 11.79...

    // 15 x 5.1 rounds to 76.5, and 76.5 / 17 is 4.5: 3 + 4.5 gives 8. Forming 15 / 17 first
    // and then its product with 5.1 would land just below 7.5, and give 7.
    Configure(DemandModel::t_tplusn, 1, 15, {3, 3, 5.1, 5.1, 2});
    Generate();
    EXPECT_EQ(state->demandMean(1, 15), 8.0);
}

TEST_F(DemandGenerationTest, ALevelBelowTheRoundingGivesNoDemand) {
    Configure(DemandModel::sqrot, 2, 10, {0.2, 0.2, 0, 0, 0});
    Generate();
    for (int sp = 1; sp <= 2; ++sp) {
        for (int t = 1; t <= 10; ++t) {
            EXPECT_EQ(state->demandMean(sp, t), 0.0);
            EXPECT_EQ(state->actualDemand(sp, t), 0.0);
        }
    }
}

TEST_F(DemandGenerationTest, EqualLimitsGiveEverySalesPointTheLimit) {
    Configure(DemandModel::Normal, 4, 2, {12.25, 12.25, 3, 3, 0});
    Generate();
    for (int sp = 1; sp <= 4; ++sp) {
        EXPECT_EQ(state->modelMu[sp], 12.25);
        EXPECT_EQ(state->modelSigma[sp], 3.0);
    }
}

TEST_F(DemandGenerationTest, MeanAR1WithoutMemoryStartsAtZeroThenHoldsItsLevel) {
    Configure(DemandModel::meanAR1, 1, 4, {20, 20, 0, 0, 0});
    Generate();
    EXPECT_EQ(state->demandMean(1, 1), 0.0);
    EXPECT_EQ(state->actualDemand(1, 1), 0.0);
    for (int t = 2; t <= 4; ++t) {
        EXPECT_EQ(state->demandMean(1, t), 20.0);
    }
}

// Each model prints the parameters it drew, and only the logarithmic model rounds them.
TEST_F(DemandGenerationTest, ParameterLinesShowWhatEachModelDrew) {
    const std::string kept = "23.4567851    0.125 \r\n";
    const struct {
        DemandModel model;
        std::string line;
    } cases[] = {
        {DemandModel::loga, "23.45679      0.125 \r\n"},
        {DemandModel::sqrot, kept},
        {DemandModel::linear, kept},
        {DemandModel::t_tplusn, kept},
        {DemandModel::meanAR1, kept},
        {DemandModel::AR1, "23.4567851    0.125         3 \r\n"},
        {DemandModel::Normal, kept},
    };
    for (const auto& model : cases) {
        Configure(model.model, 2, 0, {23.4567851, 23.4567851, 0.125, 0.125, 3});
        EXPECT_EQ(DrawnParameterLines(),
                  " 1             " + model.line + " 2             " + model.line)
            << DemandModelName(model.model);
    }
}

// Each model's count of uniform draws per sales point: a wrong count shifts every later value.
TEST_F(DemandGenerationTest, EachModelTakesItsOwnNumberOfDraws) {
    const int n = 3;
    const int p = 7;
    const struct {
        DemandModel model;
        int uniformPerSalesPoint;
        int normalPerSalesPoint;
    } cases[] = {
        {DemandModel::loga, 2 + p, 0},    {DemandModel::sqrot, 2 + p, 0},
        {DemandModel::linear, 2 + p, 0},  {DemandModel::t_tplusn, 2 + p, 0},
        {DemandModel::meanAR1, 3 + p, 0}, {DemandModel::AR1, 2, p - 1},
        {DemandModel::Normal, 2, p},
    };
    for (const auto& model : cases) {
        source = UniformSource{};
        UniformSource expected;
        for (int draw = 0; draw < n * model.uniformPerSalesPoint; ++draw) {
            expected.Next();
        }
        for (int variate = 0; variate < n * model.normalPerSalesPoint; ++variate) {
            NormalVariate(expected);
        }
        Configure(model.model, n, p, {10, 30, 0.5, 0.9, 5});
        Generate();
        EXPECT_TRUE(source == expected) << DemandModelName(model.model);
    }
}

TEST_F(DemandGenerationTest, FaultsNameTheSalesPointAndPeriod) {
    Configure(DemandModel::t_tplusn, 2, 10, {10, 10, 1, 1, -5});
    EXPECT_EQ(GenerateFailure(),
              "Sales point 1, period 5: n + t is zero, so t/(t+n) cannot be formed");

    Configure(DemandModel::linear, 1, 3, {710, 710, 0, 0, 0});
    EXPECT_EQ(GenerateFailure(),
              "Sales point 1, period 1: the Poisson mean 710 is above 709.78, too large to draw "
              "demand from");
    Configure(DemandModel::linear, 1, 3, {700, 700, 0, 0, 0});
    Generate();
    EXPECT_GT(state->actualDemand(1, 3), 0.0);

    Configure(DemandModel::AR1, 1, 600, {10, 10, 10, 10, 1});
    EXPECT_NE(GenerateFailure().find("the demand is too large for a number"), std::string::npos);

    Configure(DemandModel::meanAR1, 1, 600, {10, 10, 5, 5, 0});
    EXPECT_NE(GenerateFailure().find("too large to draw demand from"), std::string::npos);
}

}  // namespace
}  // namespace sf
