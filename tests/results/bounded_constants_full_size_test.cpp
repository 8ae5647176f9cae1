// The full-size scenario in which the described method lets the constants of most sales points
// leave 0..1: held within 0..1 on request, every model keeps every constant a period used there
// and every sigma at 0 or above.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_fixture.h"

namespace sf {
namespace {

struct ModelCase {
    DemandModel model;
    const char* p2low;
    const char* p2up;
    const char* p3;
};

// Limits that keep the demand near 20.
constexpr ModelCase kModels[] = {
    {DemandModel::loga, "0.5", "1.5", ""},    {DemandModel::sqrot, "0.5", "1.5", ""},
    {DemandModel::linear, "0", "0.02", ""},   {DemandModel::t_tplusn, "2", "8", "5"},
    {DemandModel::meanAR1, "0.3", "0.9", ""}, {DemandModel::AR1, "0.3", "0.7", "3"},
    {DemandModel::Normal, "1", "5", ""},
};

using BoundedConstantsFullSize = RunFixture;

TEST_F(BoundedConstantsFullSize, EveryModelKeepsItsConstantsWithin01) {
    for (const ModelCase& model : kModels) {
        SCOPED_TRACE(std::string(DemandModelName(model.model)));
        RunInputs inputs;
        inputs.model = model.model;
        inputs.Endpointnumber = "100";
        inputs.Periodnumber = "600";
        inputs.periodsforinitialization = "12";
        inputs.periodsforalphabeta = "12";
        inputs.warmuptx = "0";
        inputs.horizontx = "1";
        inputs.tau_tx = "1";
        inputs.p1low = "15";
        inputs.p1up = "25";
        inputs.p2low = model.p2low;
        inputs.p2up = model.p2up;
        inputs.p3 = model.p3;
        for (const bool bounded : {false, true}) {
            source = UniformSource{};
            const RunOutcome outcome =
                ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("out.txt"), observer,
                           RunOptions{EstimationPath::lanes, {}, bounded});
            ASSERT_TRUE(outcome.completed) << outcome.message;
            const std::vector<int>& unstable = outcome.health.unstableSalesPoints;
            if (bounded) {
                EXPECT_EQ(unstable, std::vector<int>{});
            } else {
                EXPECT_GT(unstable.size(), 50u);  // a scenario that diverges without the option
            }
        }
    }
}

}  // namespace
}  // namespace sf
