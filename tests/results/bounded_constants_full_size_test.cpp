// The full-size scenario in which the described method lets the constants of most sales points
// leave 0..1: held within 0..1 on request, every model keeps every constant a period used there
// and every sigma at 0 or above.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "full_size_scenario.h"
#include "run_fixture.h"

namespace sf {
namespace {

using BoundedConstantsFullSize = RunFixture;

TEST_F(BoundedConstantsFullSize, EveryModelKeepsItsConstantsWithin01) {
    for (const FullSizeModel& model : kFullSizeModels) {
        SCOPED_TRACE(std::string(DemandModelName(model.model)));
        const RunInputs inputs = FullSizeInputs(model, 1, "1");
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
