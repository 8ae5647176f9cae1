#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// Sales points done of all, after each block that finishes (from any thread, one at a time).
using CatalogueProgress = std::function<void(int done, int total)>;

struct CatalogueOutcome {
    bool completed = false;
    // What stopped the run, naming the block; empty for a complete run.
    std::string message;
    // The health of every block joined, sales points numbered as in the file.
    RunHealth health;
    // Every block's results joined in file order, pooled as the blocks' sums in block order,
    // with the proposals and the answers to the request.
    RunResults results;
};

// Runs every block of the history of inputs through the run driver with a run state of its own
// (alive only while its block runs), jobs threads in all (0: one per core), blocks side by side.
// With a report path, the report is written there in the layout of a run of the form, however
// wide: the blocks' reports side by side, the totals pooled; it replaces the previous report only
// when complete, as a run's report does. Without one, no report is written. The observer is asked
// whether to stop and shown the notices; its progress and closing message are left to the caller.
CatalogueOutcome ExecuteCatalogueRun(const RunInputs& inputs, const NumberLocale& locale,
                                     RunObserver& observer, const RunOptions& options,
                                     const ResultsRequest& request, int jobs,
                                     const CatalogueProgress& progress = {},
                                     const std::filesystem::path& reportPath = {});

// One sales point of a history run as a file holding it alone would run: its series, figures
// and proposal equal those it has in the catalogue, since every sales point is estimated on its
// own. A front end that keeps only a catalogue's figures computes the series it shows with this.
// Notices go to the observer, which is asked whether to stop.
CatalogueOutcome RunSalesPointAlone(const RunInputs& inputs, const NumberLocale& locale,
                                    RunObserver& observer, const RunOptions& options,
                                    int salesPoint);

// The results of blocks run one by one, as one run: their series and proposals one after another
// (the names kept only where every block has them), the figures and answers pooled by block.
RunResults JoinBlockResults(std::vector<RunResults> blocks, const ResultsRequest& request);

}  // namespace sf
