#include "run/catalogue_run.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "run/bounded_proposals.h"
#include "run/catalogue_pool.h"
#include "run/catalogue_report.h"
#include "run/run_driver.h"
#include "runtime/run_error.h"
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

// The threads of a block with `left` blocks from it to the last. The last blocks take twice
// their share of the threads: a block that finishes early leaves its share to those still
// running, which would otherwise leave cores idle (the system shares the cores meanwhile).
int BlockThreads(int threads, int workers, int left) {
    const int running = std::min(workers, left);
    const int share = left <= workers ? 2 * threads / running : threads / running;
    return std::clamp(share, 1, threads);
}

// A block done, waiting for those ahead of it.
struct DoneBlock {
    RunHealth health;
    FinishedBlock finished;
    std::string rows;
};

// What a block that ran leaves: its rows, then its results reduced, its series gone.
DoneBlock Done(BlockRun&& run, const SalesPointBlock& block, const CatalogueRows& rows,
               const ResultsRequest& request) {
    DoneBlock done;
    done.health = run.health;
    if (rows.make) {
        done.rows = rows.make(*run.results, block.first);
        done.rows.shrink_to_fit();  // it may wait, and a guessed room is up to twice its size
    }
    done.finished = FinishBlock(std::move(*run.results), request, block.first);
    return done;
}

// The blocks in file order: a finished block waits until those before it are written and
// pooled; the thread that finishes the block next in line writes and pools it and every one
// waiting behind it. A block starts at most `window` blocks ahead of the next one to write.
class InOrder {
  public:
    InOrder(const std::vector<SalesPointBlock>& blocks, const CatalogueRows& rows,
            std::size_t window)
        : blocks_(blocks),
          rows_(rows),
          window_(window),
          waiting_(blocks.size()),
          faults_(blocks.size()) {}

    bool Failed() const { return failed_.load(); }
    // False when the run failed while the block waited for its turn.
    bool WaitForTurn(std::size_t at) {
        std::unique_lock lock(mutex_);
        turn_.wait(lock, [&] { return failed_.load() || at < written_ + window_; });
        return !failed_.load();
    }
    void Fail(std::size_t at, std::string fault) {
        const std::lock_guard lock(mutex_);
        faults_[at] = std::move(fault);
        failed_.store(true);
        turn_.notify_all();
    }
    void Finish(std::size_t at, DoneBlock&& done) {
        std::unique_lock lock(mutex_);
        waiting_[at] = std::move(done);
        if (writing_) {
            return;
        }
        writing_ = true;
        while (written_ < waiting_.size() && waiting_[written_]) {
            DoneBlock next = std::move(*waiting_[written_]);
            waiting_[written_].reset();
            lock.unlock();
            Write(written_, std::move(next));
            lock.lock();
            ++written_;
            turn_.notify_all();
        }
        writing_ = false;
    }
    CatalogueOutcome Outcome(const ResultsRequest& request) {
        CatalogueOutcome outcome;
        if (written_ < blocks_.size() || !writeFault_.empty()) {
            // The first block that failed, as a run of them one after another would meet it.
            outcome.message = !writeFault_.empty()        ? writeFault_
                              : faults_[written_].empty() ? "The run stopped before it finished."
                                                          : faults_[written_];
            return outcome;
        }
        AnswerPool(pool_, request);
        outcome.completed = true;
        outcome.health = std::move(health_);
        outcome.results = std::move(pool_.results);
        outcome.next = std::move(pool_.next);
        outcome.blocks = std::move(pool_.blocks);
        return outcome;
    }

  private:
    // Only one thread at a time, in block order.
    void Write(std::size_t at, DoneBlock&& done) {
        if (rows_.write && writeFault_.empty()) {
            try {
                rows_.write(done.rows);
            } catch (const RunError& error) {
                writeFault_ = error.what();
                failed_.store(true);
            }
        }
        std::string().swap(done.rows);
        JoinRunHealth(health_, done.health, blocks_[at].first);
        PoolBlock(pool_, std::move(done.finished));
    }

    const std::vector<SalesPointBlock>& blocks_;
    const CatalogueRows& rows_;
    const std::size_t window_;
    std::mutex mutex_;
    std::condition_variable turn_;
    std::vector<std::optional<DoneBlock>> waiting_;
    std::vector<std::string> faults_;
    std::size_t written_ = 0;
    bool writing_ = false;
    std::atomic<bool> failed_{false};
    std::string writeFault_;
    RunHealth health_;
    CataloguePool pool_;
};

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

std::vector<SalesPointBlock> ShardBlocks(int salesPoints, const CatalogueShard& shard) {
    const std::vector<SalesPointBlock> blocks = CatalogueBlocks(salesPoints);
    const std::size_t count = static_cast<std::size_t>(shard.count);
    const std::size_t begin = static_cast<std::size_t>(shard.index - 1) * blocks.size() / count;
    const std::size_t end = static_cast<std::size_t>(shard.index) * blocks.size() / count;
    return {blocks.begin() + static_cast<std::ptrdiff_t>(begin),
            blocks.begin() + static_cast<std::ptrdiff_t>(end)};
}

namespace {

CatalogueOutcome RunBlocks(const RunInputs& inputs, const NumberLocale& locale,
                           RunObserver& observer, const RunOptions& options,
                           const ResultsRequest& request, int jobs,
                           const CatalogueProgress& progress, const CatalogueRows& rows,
                           CatalogueReport* report, const std::vector<SalesPointBlock>& blocks) {
    const int count = static_cast<int>(blocks.size());
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int threads = jobs > 0 ? jobs : cores;
    const int workers = std::max(1, std::min(threads, count));
    // One block more than run at once: a block slower than the next does not hold a thread up.
    InOrder inOrder(blocks, rows, static_cast<std::size_t>(workers) + 1);
    std::mutex frontMutex;
    BlockObserver blockObserver(observer, frontMutex);
    std::atomic<int> next{0};
    int done = 0;
    int total = 0;  // a shard's own
    for (const SalesPointBlock& block : blocks) {
        total += block.count;
    }
    auto work = [&] {
        for (int at = next++; at < count && !inOrder.Failed(); at = next++) {
            const SalesPointBlock& block = blocks[static_cast<std::size_t>(at)];
            if (!inOrder.WaitForTurn(static_cast<std::size_t>(at))) {
                break;
            }
            BlockRun run = RunBlock(inputs, locale, blockObserver, options, block,
                                    BlockThreads(threads, workers, count - at), report,
                                    static_cast<std::size_t>(at));
            if (!run.results) {
                inOrder.Fail(static_cast<std::size_t>(at), std::move(run.fault));
                continue;
            }
            try {
                inOrder.Finish(static_cast<std::size_t>(at),
                               Done(std::move(run), block, rows, request));
            } catch (...) {
                inOrder.Fail(static_cast<std::size_t>(at),
                             "In the block of " + BlockName(block) + ": " +
                                 OutcomeOfFault(std::current_exception()).message);
                continue;
            }
            const std::lock_guard lock(frontMutex);
            done += block.count;
            if (progress) {
                progress(done, total);
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
    return inOrder.Outcome(request);
}

}  // namespace

CatalogueOutcome ExecuteCatalogueRun(const RunInputs& inputs, const NumberLocale& locale,
                                     RunObserver& observer, const RunOptions& options,
                                     const ResultsRequest& request, int jobs,
                                     const CatalogueProgress& progress, const CatalogueRows& rows,
                                     const std::filesystem::path& reportPath,
                                     const CatalogueShard& shard) {
    const std::vector<SalesPointBlock> blocks = ShardBlocks(inputs.history->salesPoints, shard);
    std::optional<CatalogueReport> report;
    if (!reportPath.empty()) {
        try {
            report.emplace(reportPath, blocks, inputs.history->periods);
        } catch (...) {
            CatalogueOutcome outcome;
            outcome.message = OutcomeOfFault(std::current_exception()).message;
            return outcome;
        }
    }
    CatalogueOutcome outcome = RunBlocks(inputs, locale, observer, options, request, jobs, progress,
                                         rows, report ? &*report : nullptr, blocks);
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

}  // namespace sf
