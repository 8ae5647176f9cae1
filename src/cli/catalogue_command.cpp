#include "cli/catalogue_command.h"

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <iostream>
#include <mutex>

#include "cli/results_output.h"
#include "results/catalogue_export.h"
#include "results/export_tables.h"
#include "results/run_health.h"
#include "run/catalogue_run.h"
#include "runtime/process_signals.h"
#include "runtime/run_error.h"
#include "runtime/shown_text.h"

namespace sf {
namespace {

// "1,200 of 30,490 sales points, 41.3 a second, 12 min left" on one line of a terminal,
// written over at each block.
class ProgressLine {
  public:
    explicit ProgressLine(bool shown) : shown_(shown) {}
    ~ProgressLine() {
        if (shown_ && written_) {
            std::cerr << '\n' << std::flush;
        }
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(int done, int total) {
        if (!shown_) {
            return;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        const double rate = seconds > 0.0 ? done / seconds : 0.0;
        std::string line =
            std::to_string(done) + " of " + std::to_string(total) + " sales points done";
        if (rate > 0.0) {
            line += ", " + std::to_string(std::llround(rate)) + " a second, " +
                    TimeLeft((total - done) / rate) + " left";
        }
        std::cerr << '\r' << line << "\x1b[K" << std::flush;
        written_ = true;
    }

  private:
    static std::string TimeLeft(double seconds) {
        const long long whole = std::llround(seconds);
        if (whole < 120) {
            return std::to_string(whole) + " s";
        }
        return std::to_string((whole + 30) / 60) + " min";
    }

    const bool shown_;
    bool written_ = false;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

std::string SizeOf(const CliOptions& options) {
    const SalesHistory& history = *options.inputs.history;
    return std::to_string(history.salesPoints) + " sales points and " +
           std::to_string(history.periods) + " periods";
}

// Each block's rows of series.csv, made on its thread and appended in block order.
CatalogueRows SeriesRowsInto(CatalogueExport& exported) {
    CatalogueRows rows;
    rows.make = [](const RunResults& block, int first) { return SeriesRows(block.series, first); };
    rows.write = [&exported](std::string_view text) { exported.AppendSeriesRows(text); };
    return rows;
}

// A shard's answers would be its own: those that search tau over the sales points' series need
// the whole catalogue.
std::optional<std::string> ShardUsageProblem(const CliOptions& options) {
    const ResultsCliOptions& results = options.results;
    constexpr std::string_view kWhy =
        " searches tau over the whole catalogue, which a shard does not hold; choose tau on one "
        "machine or on a sample, then shard the run at that tau";
    if (results.request.targetFillRate) {
        return "--shard: --target-fill-rate" + std::string(kWhy);
    }
    if (results.request.targetServiceLevel) {
        return "--shard: --target-service-level" + std::string(kWhy);
    }
    if (results.request.checkFrom) {
        return "--shard: --check-from" + std::string(kWhy);
    }
    if (!results.exportFolder) {
        return std::string(
            "--shard needs --export DIR: the shard's export is what --merge-exports "
            "joins");
    }
    if (options.outputGiven) {
        return std::string("--shard writes no report: leave out --output");
    }
    const std::size_t blocks = CatalogueBlocks(options.inputs.history->salesPoints).size();
    if (static_cast<std::size_t>(options.shard->count) > blocks) {
        return "--shard: the catalogue has " + std::to_string(blocks) +
               " blocks of at most 100 sales points, fewer than " +
               std::to_string(options.shard->count) + " shards";
    }
    return std::nullopt;
}

// A shard leaves out the cost tau, which searches tau over the whole catalogue, and says so.
constexpr std::string_view kShardCostNote =
    "The cost tau is left out of a shard: it searches tau over the whole catalogue.";

void LeaveOutCostTau(CatalogueOutcome& outcome) {
    for (EvaluationAnswers& answers : outcome.results.answers) {
        answers.costTarget.reset();
    }
    for (NextDelivery& row : outcome.next) {
        row.delivery.cost.reset();
    }
}

// The last run's export finished: a shard's with its blocks' sums in pool.csv, and its part
// and health in run.json.
ExportWriting FinishingExport(std::optional<CatalogueExport>& exported,
                              const std::optional<CatalogueShard>& shard,
                              const CatalogueOutcome& outcome) {
    return [&exported, shard, &outcome](const RunResults& results,
                                        const std::vector<NextDelivery>& next,
                                        const RunRecord& record) {
        if (!shard) {
            return exported->Finish(results, next, record);
        }
        RunRecord shardRecord = record;
        shardRecord.shard.emplace(std::to_string(shard->index) + '/' + std::to_string(shard->count),
                                  outcome.health);
        exported->WritePool(PoolCsv(outcome.blocks));
        return exported->Finish(results, next, shardRecord);
    };
}

}  // namespace

std::optional<std::string> CatalogueUsageProblem(const CliOptions& options) {
    if (!IsCatalogue(options.inputs)) {
        if (options.shard) {
            return std::string(
                "--shard slices a catalogue (a sales history beyond 100 sales "
                "points or 600 periods); this run is not one");
        }
        return std::nullopt;
    }
    const SalesHistory& history = *options.inputs.history;
    if (options.outputGiven && history.salesPoints > kMostReportedSalesPoints) {
        return "--output: the report numbers sales points up to " +
               std::to_string(kMostReportedSalesPoints) + " and the sales history has " +
               std::to_string(history.salesPoints) + "; leave out --output and use --export DIR";
    }
    const ResultsCliOptions& results = options.results;
    if (!options.outputGiven && !results.exportFolder && !results.summary && !results.next) {
        return "a sales history of " + SizeOf(options) +
               " writes a report only to --output FILE; add --export DIR (or --output FILE, "
               "--summary, --next) to keep its results";
    }
    if (results.exportSeries && !results.exportFolder) {
        return "--export-series needs --export DIR";
    }
    return options.shard ? ShardUsageProblem(options) : std::nullopt;
}

int RunCatalogueCommand(CliOptions& options, const NumberLocale& locale, RunObserver& observer,
                        const std::string& scenarioText) {
#ifdef M_MMAP_THRESHOLD
    // Each block allocates and frees tens of megabytes on its own thread. With glibc's threshold
    // rising to such sizes, the freed blocks stay in the threads' heaps and the process grows by
    // hundreds of megabytes; a fixed one gives each back to the system when it is freed.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    const std::string name = options.demand ? options.demand->string() : std::string();
    for (int run = 1; run <= options.runs; ++run) {
        if (CaughtStopSignal() != 0) {
            std::cerr << "The run was stopped before it finished.\n";
            return 128 + CaughtStopSignal();
        }
        // The last run exports: series.csv as the blocks finish, the rest at the end.
        std::optional<CatalogueExport> exported;
        CatalogueRows rows;
        if (options.results.exportFolder && run == options.runs) {
            try {
                exported.emplace(*options.results.exportFolder, options.results.exportSeries);
            } catch (const RunError& error) {
                std::cerr << ShownEscaped(error.what()) << '\n';
                return 1;
            }
            if (options.results.exportSeries) {
                rows = SeriesRowsInto(*exported);
            }
        }
        CatalogueOutcome outcome;
        {
            ProgressLine line(!options.quiet && ::isatty(STDERR_FILENO) == 1);
            outcome = ExecuteCatalogueRun(
                options.inputs, locale, observer, options.run, options.results.request,
                options.jobs, [&line](int done, int total) { line.Show(done, total); }, rows,
                options.outputGiven ? options.output : std::filesystem::path(),
                options.shard.value_or(CatalogueShard{}));
        }
        if (!outcome.completed) {
            std::cerr << ShownEscaped(outcome.message) << '\n';
            return CaughtStopSignal() != 0 ? 128 + CaughtStopSignal() : 1;
        }
        if (run == options.runs) {
            // Nothing reads the demand any more: its memory goes with the last holder.
            options.inputs.history->demand = {};
        }
        observer.ShowClosingMessage(kCatalogueClosingMessage);
        const std::vector<std::string> warnings =
            HealthWarnings(outcome.health, "--bounded-constants");
        for (const std::string& line : warnings) {
            if (!options.quiet) {
                std::cerr << ShownEscaped("Warning: " + name + ", run " + std::to_string(run) +
                                          ": " + line)
                          << '\n';
            }
        }
        std::vector<std::string> notes = HealthNotes(outcome.health);
        if (options.shard && SearchesTau(options.results.request)) {
            LeaveOutCostTau(outcome);
            notes.emplace_back(kShardCostNote);
        }
        const ExportWriting finish = FinishingExport(exported, options.shard, outcome);
        if (!DeliverComputedResults(outcome.results, outcome.next, options, run, warnings, notes,
                                    scenarioText, std::cout, std::cerr, finish)) {
            return 1;
        }
    }
    return 0;
}

}  // namespace sf
