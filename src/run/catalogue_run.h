#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "results/next_deliveries.h"
#include "results/run_health.h"
#include "results/run_results.h"
#include "runtime/number_locale.h"
#include "state/run_inputs.h"
#include "state/run_observer.h"
#include "state/run_options.h"

namespace sf {

// A sales history beyond the form's limits (more than 100 sales points or 600 periods) runs as
// a catalogue: its sales points in blocks of at most 100, in file order, each block a run of its
// own as a file holding the block alone would run.
bool IsCatalogue(const RunInputs& inputs);

// The blocks of a history's sales points: at most 100 each, in file order.
std::vector<SalesPointBlock> CatalogueBlocks(int salesPoints);

// Sales points done of all, after each block that finishes (from any thread, one at a time).
using CatalogueProgress = std::function<void(int done, int total)>;

// Text a front end makes of each block as it finishes (its rows of a file, say): made from the
// block's results on the block's thread, its sales points numbered from first in the catalogue,
// then written in block order, one block at a time. A write that throws a RunError stops the
// run with its message.
struct CatalogueRows {
    std::function<std::string(const RunResults& block, int first)> make;
    std::function<void(std::string_view text)> write;
};

struct CatalogueOutcome {
    bool completed = false;
    // What stopped the run, naming the block; empty for a complete run.
    std::string message;
    // The health of every block joined, sales points numbered as in the file.
    RunHealth health;
    // Every sales point's figures (the rows of summary.csv) and proposals in file order, the
    // pooled rows, the trade-offs and the answers to the request, each block's sums added in
    // block order. The series hold the run's numbers, the names, dates and season indices, but
    // no sales point's periods: those went with their block.
    RunResults results;
    // Every sales point's coming rows (next.csv), with the deliveries at the answered taus.
    std::vector<NextDelivery> next;
};

// Runs every block of the history of inputs through the run driver with a run state of its own
// (alive only while its block runs), blocks side by side on jobs threads (0: one per core; while
// the last blocks run, up to twice as many, so that a block finishing early leaves no core idle).
// Each block's series live until its figures, sums and rows are taken; a block that finishes
// before those ahead of it waits as its rows, and a block starts at most jobs + 1 blocks ahead
// of the next one to write. No report is written. The observer is asked whether to stop and
// shown the notices; its progress and closing message are left to the caller.
CatalogueOutcome ExecuteCatalogueRun(const RunInputs& inputs, const NumberLocale& locale,
                                     RunObserver& observer, const RunOptions& options,
                                     const ResultsRequest& request, int jobs,
                                     const CatalogueProgress& progress = {},
                                     const CatalogueRows& rows = {});

}  // namespace sf
