#include "state/run_state.h"

#include <gtest/gtest.h>

#include <memory>

namespace sf {
namespace {

// Unchecked, (3, 601) would be the cell (4, 0).
TEST(MatrixDeathTest, AnIndexBeyondItsBoundsStopsTheProgramWhereChecksAreOn) {
    if (!kIndexChecksOn) {
        GTEST_SKIP() << "index checks are off in this build (on in Debug and sanitizer builds)";
    }
    auto state = std::make_unique<RunState>();
    EXPECT_DEATH(state->mu(3, 601) = 1.0, "period 601 is outside 0\\.\\.600");
    EXPECT_DEATH(state->mu(3, -1) = 1.0, "period -1 is outside 0\\.\\.600");
    EXPECT_DEATH(state->sigma(101, 0) = 1.0, "sales point 101 is outside 0\\.\\.100");
    EXPECT_DEATH(state->alpha.Row(3)[601] = 1.0, "period 601 is outside 0\\.\\.600");
    state->mu(100, 600) = 1.0;  // the last cell
    EXPECT_EQ(state->mu.Row(100)[600], 1.0);
}

}  // namespace
}  // namespace sf
