#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "results/next_deliveries.h"
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
    // A catalogue keeps no sales point's series (they would not fit in memory): its coming rows,
    // made as it ran. None for a run whose results hold its series.
    std::optional<std::vector<NextDelivery>> next = std::nullopt;
};

// Whether the run's results hold every sales point's series, which asking it again, its
// charts of several sales points and its series.csv are made from.
inline bool KeepsSeries(const CompletedRun& run) {
    return !run.next.has_value();
}

// The run's coming rows at the taus its answers give.
inline std::vector<NextDelivery> ComingRows(const CompletedRun& run) {
    return run.next ? *run.next : NextDeliveries(run.results);
}

}  // namespace sf::ui
