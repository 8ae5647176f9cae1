#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "estimation/rolling_forecast_lanes.h"
#include "run/run_inputs.h"
#include "run/run_observer.h"
#include "run/run_state.h"
#include "runtime/number_locale.h"
#include "runtime/uniform_source.h"

namespace sf {

inline constexpr std::string_view kClosingMessage = "End of forecast. Please see the output file";
inline constexpr std::string_view kStoppedMessage =
    "The run was stopped before it finished; the report holds the lines written until then.";

// The rolling forecast runs in SIMD lanes over every core; the plain path is the reference the
// lanes are proven against, kept for tests and measurements.
enum class EstimationPath { lanes, plain };

struct RunOptions {
    EstimationPath estimation = EstimationPath::lanes;
    LaneOptions lanes;
};

struct RunOutcome {
    bool completed = false;
    std::string message;  // the closing message, or what stopped the run
};

// One complete run from the typed texts to the closed report. Faults never escape: they end the
// run with the report closed on the lines already written and come back as the message.
RunOutcome ExecuteRun(RunState& state, UniformSource& source, const RunInputs& inputs,
                      const NumberLocale& locale, const std::filesystem::path& reportPath,
                      RunObserver& observer, const RunOptions& options = {});

}  // namespace sf
