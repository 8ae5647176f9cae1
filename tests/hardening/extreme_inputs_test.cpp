#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "run_fixture.h"
#include "runtime/text_to_number.h"

namespace sf {
namespace {

const std::string kArabicPoint = "\xD9\xAB";
const NumberLocale kArabic{kArabicPoint, "\xD9\xAC"};

bool HoldsOverflowedNumber(const std::string& report) {
    return report.find("inf") != std::string::npos || report.find("nan") != std::string::npos;
}

using ExtremeInputsTest = RunFixture;

// Deliveries of forecast + tau sigma: a complete report must still hold only finite numbers.
TEST_F(ExtremeInputsTest, HugeAndNegativeTausGiveAFiniteReportOrAClearError) {
    for (const char* tau : {"-10", "1e300", "1e306", "-1e307", "1e307", "1e308"}) {
        SCOPED_TRACE(tau);
        source = UniformSource{};
        RunInputs inputs = SmallRun();
        inputs.tau_tx = tau;
        const RunOutcome outcome = Run(inputs);
        if (outcome.completed) {
            EXPECT_FALSE(HoldsOverflowedNumber(folder.Read("out.txt")));
            EXPECT_TRUE(std::isfinite(state->totalSales));
            EXPECT_TRUE(std::isfinite(state->totalLostSale));
            EXPECT_TRUE(std::isfinite(state->totalReturn));
        } else {
            EXPECT_EQ(outcome.message.rfind("Sales point ", 0), 0u) << outcome.message;
        }
    }
}

TEST_F(ExtremeInputsTest, ReversedLimitsDrawBetweenThemTheLowerBoxIncluded) {
    RunInputs inputs = SmallRun();
    inputs.model = DemandModel::Normal;
    inputs.Endpointnumber = "100";
    inputs.Periodnumber = "0";
    inputs.p1low = "30";
    inputs.p1up = "10";
    inputs.p2low = "2";
    inputs.p2up = "1";
    ASSERT_TRUE(Run(inputs).completed);
    for (int sp = 1; sp <= 100; ++sp) {
        EXPECT_GT(state->modelMu[sp], 10.0);
        EXPECT_LE(state->modelMu[sp], 30.0);
        EXPECT_GT(state->modelSigma[sp], 1.0);
        EXPECT_LE(state->modelSigma[sp], 2.0);
    }
}

// Period 600 of sales point 100 is the last cell of every matrix.
TEST_F(ExtremeInputsTest, WindowsThatFillAllSixHundredPeriodsComplete) {
    const struct {
        const char* init;
        const char* alphaBeta;
        const char* horizon;
    } windows[] = {{"1", "598", "1"}, {"300", "0", "300"}, {"1", "0", "599"}};
    for (const auto& window : windows) {
        SCOPED_TRACE(std::string(window.init) + " + " + window.alphaBeta + " + " + window.horizon);
        RunInputs inputs = SmallRun();
        inputs.Endpointnumber = "100";
        inputs.Periodnumber = "600";
        inputs.periodsforinitialization = window.init;
        inputs.periodsforalphabeta = window.alphaBeta;
        inputs.horizontx = window.horizon;
        const RunOutcome outcome = Run(inputs);
        EXPECT_TRUE(outcome.completed) << outcome.message;
    }
}

TEST_F(ExtremeInputsTest, AMultiByteDecimalSeparatorIsReadAndWritten) {
    RunInputs inputs = SmallRun();
    inputs.model = DemandModel::Normal;
    inputs.Endpointnumber = "1";
    inputs.tau_tx = "0" + kArabicPoint + "5";
    inputs.p1low = inputs.p1up = "12" + kArabicPoint + "25";
    ASSERT_TRUE(Run(inputs, kArabic).completed);
    EXPECT_EQ(folder.Read("out.txt").rfind(
                  "Parameters of sales points\r\n 1             12" + kArabicPoint + "25 ", 0),
              0u);
    EXPECT_EQ(Run(inputs).message, "Tau (\xCF\x84): \"0" + kArabicPoint + "5\" is not a number");
}

TEST(ExtremeTexts, AMultiByteDecimalSeparatorCountsOnlyWhole) {
    EXPECT_EQ(TextToDouble("-" + kArabicPoint + "5e1", kArabic), -5.0);
    EXPECT_EQ(TextToDouble("6" + kArabicPoint, kArabic), 6.0);
    EXPECT_FALSE(TextToDouble("2.5", kArabic).has_value());
    EXPECT_FALSE(TextToDouble("2" + kArabicPoint.substr(0, 1) + "5", kArabic).has_value());
    EXPECT_FALSE(TextToDouble("2" + kArabicPoint + "5" + kArabicPoint + "1", kArabic).has_value());
    // Grouping is written, not read.
    EXPECT_FALSE(TextToDouble("1" + kArabic.thousandsSeparator + "234", kArabic).has_value());
}

}  // namespace
}  // namespace sf
