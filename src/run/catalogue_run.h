#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "results/next_deliveries.h"
#include "results/pool_table.h"
#include "results/run_health.h"
#include "results/run_results.h"
#include "runtime/number_locale.h"
#include "state/run_inputs.h"
#include "state/run_observer.h"
#include "state/run_options.h"

namespace sf {

// A catalogue writes no report: its closing message points to none.
inline constexpr std::string_view kCatalogueClosingMessage = "End of forecast.";

// A sales history beyond the form's limits (more than 100 sales points or 600 periods) runs as
// a catalogue: its sales points in blocks of at most 100, in file order, each block a run of its
// own as a file holding the block alone would run.
bool IsCatalogue(const RunInputs& inputs);

// The blocks of a history's sales points: at most 100 each, in file order.
std::vector<SalesPointBlock> CatalogueBlocks(int salesPoints);

// The index-th of count contiguous slices of a catalogue's whole blocks, which a machine each
// may run: their numbers of blocks differ by at most one. The whole catalogue is 1 of 1.
struct CatalogueShard {
    int index = 1;
    int count = 1;
};

// The blocks of the shard, in file order; none when it has more slices than blocks to share.
std::vector<SalesPointBlock> ShardBlocks(int salesPoints, const CatalogueShard& shard);

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
    // Each block's sums that the pooled rows add, in block order (pool.csv).
    std::vector<BlockSums> blocks;
};

// Runs every block of the history of inputs through the run driver with a run state of its own
// (alive only while its block runs), blocks side by side on jobs threads (0: one per core; while
// the last blocks run, up to twice as many, so that a block finishing early leaves no core idle).
// Each block's series live until its figures, sums and rows are taken; a block that finishes
// before those ahead of it waits as its rows, and a block starts at most jobs + 1 blocks ahead
// of the next one to write. With a report path, the report is written there in the layout of a
// run of the form, however wide: the blocks' reports side by side, the totals pooled; it
// replaces the previous report only when complete, as a run's report does. Without one, no
// report is written. A shard runs only its own blocks, and its results pool only theirs. The
// observer is asked whether to stop and shown the notices; its progress and closing message are
// left to the caller.
CatalogueOutcome ExecuteCatalogueRun(const RunInputs& inputs, const NumberLocale& locale,
                                     RunObserver& observer, const RunOptions& options,
                                     const ResultsRequest& request, int jobs,
                                     const CatalogueProgress& progress = {},
                                     const CatalogueRows& rows = {},
                                     const std::filesystem::path& reportPath = {},
                                     const CatalogueShard& shard = {});

// One sales point of a history run as a file holding it alone would run: its series, figures
// and proposal equal those it has in the catalogue, since every sales point is estimated on its
// own. A front end that keeps only a catalogue's figures computes the series it shows with this.
// Notices go to the observer, which is asked whether to stop.
CatalogueOutcome RunSalesPointAlone(const RunInputs& inputs, const NumberLocale& locale,
                                    RunObserver& observer, const RunOptions& options,
                                    int salesPoint);

}  // namespace sf
