#pragma once

#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "results/run_health.h"
#include "runtime/number_locale.h"
#include "runtime/uniform_source.h"
#include "state/run_inputs.h"
#include "state/run_observer.h"
#include "state/run_options.h"
#include "state/run_state.h"

namespace sf {

inline constexpr std::string_view kClosingMessage = "End of forecast. Please see the output file";
inline constexpr std::string_view kStoppedMessage = "The run was stopped before it finished.";

struct RunOutcome {
    bool completed = false;
    // The closing message, or what stopped the run and where the report and the lines written are.
    std::string message;
    RunHealth health;                            // of a complete run
    std::string RunInputs::*inputBox = nullptr;  // the box a refused input names
    // The uniform source as a complete run found it: handed to ExecuteRun again, it draws the
    // same demand, so a run can be repeated with other options on the same demand.
    std::optional<UniformSource> sourceAtStart = std::nullopt;
    // The report's file could not be created where it was asked for (a folder that cannot be
    // written, say): the front end may say how to give it another place.
    bool reportNotCreated = false;
};

// The periods a run state for these inputs must hold: 600, or a longer sales history's.
int PeriodsToHold(const RunInputs& inputs);

// A failed run's outcome for whatever a run threw: a RunError's own message, or a plain word on
// a fault of the surroundings (memory, a thread that cannot start) or of the program itself.
RunOutcome OutcomeOfFault(std::exception_ptr fault);

// One complete run from the typed texts to the report. Faults never escape: they end the run
// with the previous report as it was and the lines written kept beside it (see ReportFile), and
// come back as the message.
RunOutcome ExecuteRun(RunState& state, UniformSource& source, const RunInputs& inputs,
                      const NumberLocale& locale, const std::filesystem::path& reportPath,
                      RunObserver& observer, const RunOptions& options = {});

}  // namespace sf
