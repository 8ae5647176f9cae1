#include "run/catalogue_run.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "run/bounded_proposals.h"
#include "run/catalogue_report.h"
#include "run/run_driver.h"
#include "runtime/uniform_source.h"

namespace sf {
namespace {

// A block runs without a report where the catalogue writes none.
constexpr char kNoReport[] = "/dev/null";

// Between the blocks' runs and the front end: notices one at a time, a stop for every block,
// progress and closing messages of a block left out (the catalogue counts sales points).
class BlockObserver : public RunObserver {
  public:
    BlockObserver(RunObserver& front, std::mutex& mutex) : front_(front), mutex_(mutex) {}
    void ReportProgress(int) override {}
    void ShowNotice(std::string_view message) override {
        const std::lock_guard lock(mutex_);
        front_.ShowNotice(message);
    }
    void ShowClosingMessage(std::string_view) override {}
    bool StopRequested() const override {
        const std::lock_guard lock(mutex_);
        return front_.StopRequested();
    }

  private:
    RunObserver& front_;
    std::mutex& mutex_;
};

struct BlockRun {
    std::optional<RunResults> results;
    RunHealth health;
    std::string fault;  // what stopped the block, when it did not complete
};

std::string BlockName(const SalesPointBlock& block) {
    return "sales points " + std::to_string(block.first) + " to " +
           std::to_string(block.first + block.count - 1);
}

// A block writes its report where the catalogue's report, if any, joins it from.
BlockRun RunBlock(const RunInputs& inputs, const NumberLocale& locale, RunObserver& observer,
                  RunOptions options, const SalesPointBlock& block, int threads,
                  CatalogueReport* report, std::size_t at) {
    BlockRun run;
    try {
        options.block = block;
        options.lanes.threads = threads;
        const auto state = std::make_unique<RunState>(PeriodsToHold(inputs));
        UniformSource source;  // a sales history draws nothing
        const std::filesystem::path reportPath = report ? report->BlockPath(at) : kNoReport;
        const RunOutcome outcome =
            ExecuteRun(*state, source, inputs, locale, reportPath, observer, options);
        if (!outcome.completed) {
            run.fault = "In the block of " + BlockName(block) + ": " +
                        WithoutReportNote(outcome.message, reportPath);
            return run;
        }
        if (report) {
            report->KeepTotals(at, *state);
        }
        run.health = outcome.health;
        run.results = ComputeResults(*state, ResultsRequest{});
        ProposeDeliveries(*state, options, *run.results);
    } catch (...) {
        run.fault = "In the block of " + BlockName(block) + ": " +
                    OutcomeOfFault(std::current_exception()).message;
    }
    return run;
}

void JoinHealth(RunHealth& joined, const RunHealth& block, int first) {
    joined.salesPointCount += block.salesPointCount;
    for (const int salesPoint : block.divergedSalesPoints) {
        joined.divergedSalesPoints.push_back(first - 1 + salesPoint);
    }
    joined.windowsCoverEveryPeriod = block.windowsCoverEveryPeriod;
    joined.soundConstantsLeft01 += block.soundConstantsLeft01;
    joined.soundNegativeSigma += block.soundNegativeSigma;
    joined.horizonZero = block.horizonZero;
    joined.seasonLength = block.seasonLength;
    joined.seasonFlatSalesPoints += block.seasonFlatSalesPoints;
}

}  // namespace

bool IsCatalogue(const RunInputs& inputs) {
    return inputs.history &&
           (inputs.history->salesPoints > kMaxSalesPoints || inputs.history->periods > kMaxPeriods);
}

std::vector<SalesPointBlock> CatalogueBlocks(int salesPoints) {
    std::vector<SalesPointBlock> blocks;
    for (int first = 1; first <= salesPoints; first += kMaxSalesPoints) {
        blocks.push_back({first, std::min(kMaxSalesPoints, salesPoints - first + 1)});
    }
    return blocks;
}

namespace {

CatalogueOutcome RunBlocks(const RunInputs& inputs, const NumberLocale& locale,
                           RunObserver& observer, const RunOptions& options,
                           const ResultsRequest& request, int jobs,
                           const CatalogueProgress& progress, CatalogueReport* report) {
    const std::vector<SalesPointBlock> blocks = CatalogueBlocks(inputs.history->salesPoints);
    const int count = static_cast<int>(blocks.size());
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int threads = jobs > 0 ? jobs : cores;
    const int workers = std::max(1, std::min(threads, count));
    std::vector<BlockRun> runs(blocks.size());
    std::mutex frontMutex;
    BlockObserver blockObserver(observer, frontMutex);
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    int done = 0;
    auto work = [&] {
        for (int at = next++; at < count && !failed.load(); at = next++) {
            // The last blocks share the threads that no block waits for any more.
            const int running = std::min(workers, count - at);
            BlockRun& run = runs[static_cast<std::size_t>(at)];
            run = RunBlock(inputs, locale, blockObserver, options, blocks[at],
                           std::max(1, threads / running), report, static_cast<std::size_t>(at));
            if (!run.results) {
                failed.store(true);
                continue;
            }
            const std::lock_guard lock(frontMutex);
            done += blocks[at].count;
            if (progress) {
                progress(done, inputs.history->salesPoints);
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (int helper = 1; helper < workers; ++helper) {
            helpers.emplace_back(work);
        }
        work();
    }
    CatalogueOutcome outcome;
    std::vector<RunResults> results;
    for (std::size_t at = 0; at < runs.size(); ++at) {
        if (!runs[at].results) {
            // The first block that failed, as a run of them one after another would meet it.
            outcome.message =
                runs[at].fault.empty() ? "The run stopped before it finished." : runs[at].fault;
            return outcome;
        }
        JoinHealth(outcome.health, runs[at].health, blocks[at].first);
        results.push_back(std::move(*runs[at].results));
        runs[at].results.reset();
    }
    outcome.results = JoinBlockResults(std::move(results), request);
    outcome.completed = true;
    return outcome;
}

}  // namespace

CatalogueOutcome ExecuteCatalogueRun(const RunInputs& inputs, const NumberLocale& locale,
                                     RunObserver& observer, const RunOptions& options,
                                     const ResultsRequest& request, int jobs,
                                     const CatalogueProgress& progress,
                                     const std::filesystem::path& reportPath) {
    std::optional<CatalogueReport> report;
    if (!reportPath.empty()) {
        try {
            report.emplace(reportPath, CatalogueBlocks(inputs.history->salesPoints),
                           inputs.history->periods);
        } catch (...) {
            CatalogueOutcome outcome;
            outcome.message = OutcomeOfFault(std::current_exception()).message;
            return outcome;
        }
    }
    CatalogueOutcome outcome = RunBlocks(inputs, locale, observer, options, request, jobs, progress,
                                         report ? &*report : nullptr);
    if (report) {
        const std::string note = report->Finish(outcome.completed, locale);
        if (!note.empty()) {
            outcome.message = outcome.completed ? note : outcome.message + "\n" + note;
            outcome.completed = false;
        }
    }
    return outcome;
}

CatalogueOutcome RunSalesPointAlone(const RunInputs& inputs, const NumberLocale& locale,
                                    RunObserver& observer, const RunOptions& options,
                                    int salesPoint) {
    std::mutex mutex;
    BlockObserver front(observer, mutex);
    BlockRun run = RunBlock(inputs, locale, front, options, {salesPoint, 1}, 1, nullptr, 0);
    CatalogueOutcome outcome;
    outcome.message = std::move(run.fault);
    outcome.health = run.health;
    if (run.results) {
        outcome.results = std::move(*run.results);
        outcome.completed = true;
    }
    return outcome;
}

RunResults JoinBlockResults(std::vector<RunResults> blocks, const ResultsRequest& request) {
    RunResults joined;
    if (blocks.empty()) {
        return joined;
    }
    RunSeries& series = joined.series;
    const RunSeries& first = blocks.front().series;
    series.periodNumber = first.periodNumber;
    series.horizon = first.horizon;
    series.tau = first.tau;
    series.outcomeWindow = first.outcomeWindow;
    series.rollingStretch = first.rollingStretch;
    series.comingPeriods = first.comingPeriods;
    series.dates = first.dates;
    series.season.length = first.season.length;
    const bool named = std::ranges::any_of(
        blocks, [](const RunResults& block) { return !block.series.names.empty(); });
    for (RunResults& block : blocks) {
        std::vector<SalesPointSeries>& points = block.series.salesPoints;
        series.blockSizes.push_back(points.size());
        if (named) {
            block.series.names.resize(points.size());
            std::ranges::move(block.series.names, std::back_inserter(series.names));
        }
        std::ranges::move(points, std::back_inserter(series.salesPoints));
        std::ranges::move(block.series.season.indices, std::back_inserter(series.season.indices));
        std::ranges::move(block.proposals, std::back_inserter(joined.proposals));
        block = RunResults{};  // each block's copy goes as soon as it is joined
    }
    joined.figures = ComputeFigures(series);
    AnswerRequest(joined, request);
    return joined;
}

}  // namespace sf
