#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "run_fixture.h"

namespace sf {
namespace {

RunInputs Inputs(DemandModel model, const char* p2low, const char* p2up, const char* p3 = "") {
    RunInputs inputs;
    inputs.model = model;
    inputs.Endpointnumber = "4";
    inputs.Periodnumber = "40";
    inputs.periodsforinitialization = "5";
    inputs.periodsforalphabeta = "6";
    inputs.warmuptx = "0";
    inputs.horizontx = "1";
    inputs.tau_tx = "0.8";
    inputs.p1low = "10";
    inputs.p1up = "30";
    inputs.p2low = p2low;
    inputs.p2up = p2up;
    inputs.p3 = p3;
    return inputs;
}

class WholeRunTest : public RunFixture {
  protected:
    void RunToTheEnd(const RunInputs& inputs) {
        const RunOutcome outcome = Run(inputs);
        ASSERT_TRUE(outcome.completed) << outcome.message;
    }
};

TEST_F(WholeRunTest, EveryModelKeepsTheOutcomeInvariantsAndTotals) {
    const RunInputs cases[] = {
        Inputs(DemandModel::loga, "1", "3"),        Inputs(DemandModel::sqrot, "0.5", "2"),
        Inputs(DemandModel::linear, "-1.5", "1.5"), Inputs(DemandModel::t_tplusn, "5", "20", "5"),
        Inputs(DemandModel::meanAR1, "0.3", "0.9"), Inputs(DemandModel::AR1, "0.3", "0.7", "3"),
        Inputs(DemandModel::Normal, "1", "5"),
    };
    for (const RunInputs& inputs : cases) {
        SCOPED_TRACE(std::string(DemandModelName(inputs.model)));
        RunToTheEnd(inputs);
        const RunState& s = *state;
        double lost = 0.0, returned = 0.0, sales = 0.0;
        for (int sp = 1; sp <= 4; ++sp) {
            for (int t = s.initPeriods; t <= s.periodNumber; ++t) {
                const double demand = s.actualDemand(sp, t);
                EXPECT_EQ(s.delivery(sp, t), std::nearbyint(s.delivery(sp, t)));
                EXPECT_NEAR(s.sales(sp, t) + s.lostSale(sp, t), demand, 1e-9);
                EXPECT_NEAR(s.sales(sp, t) + s.returned(sp, t), s.delivery(sp, t), 1e-9);
                EXPECT_TRUE(s.lostSale(sp, t) == 0.0 || s.returned(sp, t) == 0.0);
            }
            lost = lost + s.lostSaleSum[sp];
            returned = returned + s.returnedSum[sp];
            sales = sales + s.salesSum[sp];
        }
        EXPECT_EQ(s.totalLostSale, lost);
        EXPECT_EQ(s.totalReturn, returned);
        EXPECT_EQ(s.totalSales, sales);
    }
}

TEST_F(WholeRunTest, ConstantDemandIsDeliveredExactly) {
    // Normal demand with a deviation of 0 is the level itself in every period.
    RunInputs inputs = Inputs(DemandModel::Normal, "0", "0");
    inputs.p1low = inputs.p1up = "7";
    RunToTheEnd(inputs);
    for (int sp = 1; sp <= 4; ++sp) {
        for (int t = 5; t <= 40; ++t) {
            EXPECT_EQ(state->delivery(sp, t), 7.0);
        }
        EXPECT_EQ(state->salesSum[sp], 7.0 * (40 - 5 + 1));
        EXPECT_EQ(state->lostSaleSum[sp], 0.0);
        EXPECT_EQ(state->returnedSum[sp], 0.0);
    }
}

TEST_F(WholeRunTest, ASecondRunContinuesTheSourceAndTheFirstIsAlwaysTheSame) {
    const RunInputs inputs = Inputs(DemandModel::loga, "1", "3");
    RunToTheEnd(inputs);
    const std::string first = folder.Read("out.txt");
    RunToTheEnd(inputs);
    EXPECT_NE(folder.Read("out.txt"), first);

    source = UniformSource{};
    RunInputs otherWarmUp = inputs;
    otherWarmUp.warmuptx = "-12";  // read by no computation
    RunToTheEnd(otherWarmUp);
    EXPECT_EQ(folder.Read("out.txt"), first);
}

TEST_F(WholeRunTest, AFaultPartWayKeepsTheLinesWrittenBeforeItBesideThePreviousReport) {
    folder.Write("out.txt", "the last complete report\r\n");
    RunInputs inputs = Inputs(DemandModel::AR1, "10", "10", "1");
    inputs.Periodnumber = "600";
    inputs.Endpointnumber = "2";
    inputs.p1low = inputs.p1up = "10";
    const RunOutcome outcome = Run(inputs);
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.message.rfind("Sales point 1, period ", 0), 0u);
    EXPECT_NE(outcome.message.find("\nThe report \"" + folder.Path("out.txt").string() +
                                   "\" was left as it was; the lines written are in \"" +
                                   folder.Path("out.txt.incomplete").string() + "\"."),
              std::string::npos)
        << outcome.message;
    EXPECT_EQ(folder.Read("out.txt"), "the last complete report\r\n");
    EXPECT_EQ(folder.Read("out.txt.incomplete"),
              "Parameters of sales points\r\n"
              " 1             10            10            1 \r\n"
              " 2             10            10            1 \r\n");
    EXPECT_TRUE(observer.closing.empty());

    // The next complete run replaces the report and clears the incomplete one away.
    RunToTheEnd(Inputs(DemandModel::loga, "1", "3"));
    EXPECT_EQ(folder.Read("out.txt").rfind("Parameters of sales points\r\n", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.txt.incomplete")));
}

}  // namespace
}  // namespace sf
