// The full-size scenario in which the described method lets the constants of most sales points
// leave 0..1 and the forecasts of some diverge: held within 0..1 on request, every model keeps
// every constant a period used there, every sigma at 0 or above and every forecast sound.
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
            const RunHealth& health = outcome.health;
            if (bounded) {
                EXPECT_EQ(health.divergedSalesPoints, std::vector<int>{});
                EXPECT_EQ(health.soundConstantsLeft01, 0);
                EXPECT_EQ(health.soundNegativeSigma, 0);
            } else {
                // A scenario that diverges without the option, and whose sound sales points
                // have constants outside 0..1 too.
                EXPECT_GT(health.divergedSalesPoints.size(), 10u);
                EXPECT_GT(health.soundConstantsLeft01, 10);
            }
        }
    }
}

}  // namespace
}  // namespace sf
