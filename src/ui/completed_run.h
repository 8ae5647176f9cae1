#pragma once

#include <filesystem>
#include <optional>

#include "results/run_health.h"
#include "results/run_record.h"
#include "results/run_results.h"
#include "runtime/uniform_source.h"

namespace sf::ui {

// A complete run as the results window shows it, independent of the run state, which the next
// run clears.
struct CompletedRun {
    RunResults results;
    RunRecord record;  // how the run was made, and what was asked of it, for run.json
    RunHealth health;
    // The random source as the run found it, to run again on the same demand.
    std::optional<UniformSource> sourceAtStart;
    // The export folder the run was read from; empty for a run of this start.
    std::filesystem::path folder;
    // "#3" everywhere the window names it: its place in the list of runs since the start; 0
    // before it is listed.
    int number = 0;
};

}  // namespace sf::ui
