#include "estimation/rolling_forecast_lanes.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <exception>
#include <map>
#include <mutex>
#include <queue>
#include <string>
#include <thread>
#include <vector>

#include "estimation/brent.h"
#include "estimation/brent_search.h"
#include "estimation/lane_buffers.h"
#include "estimation/objectives.h"
#include "estimation/series_checks.h"
#include "estimation/smoothing.h"
#include "runtime/kernel_set.h"
#include "runtime/run_error.h"
#include "state/period_stretches.h"

namespace sf {
namespace {

// What the threads of one run share; every member function may be called from any thread.
class LaneRun {
  public:
    LaneRun(RunState& state, RunObserver& observer, const ForecastProgress& progress,
            const NamedLaneKernel& kernel, long long searches, std::atomic<long long>* divisions)
        : state(state),
          kernel(kernel),
          divisions(divisions),
          observer_(observer),
          progress_(progress),
          searches_(searches) {
        reciprocal.assign(static_cast<std::size_t>(state.periodCapacity) + 1, 0.0);
        for (int t = 1; t <= state.periodCapacity; ++t) {
            reciprocal[static_cast<std::size_t>(t)] = 1.0 / t;
        }
    }

    void ShowNotice() {
        const std::lock_guard lock(mutex_);
        observer_.ShowNotice(kBrentNotice);
    }

    // Counts searches that a lane set has finished, a batch at a time (the count is shared by
    // the threads), and reports progress at every hundredth of the searches. Threads reach the
    // lock in any order, so a share below one already reported is dropped: progress never steps
    // back.
    void SearchesFinished(long long count) {
        const long long done = searchesDone_ += count;
        if (done * 100 / searches_ == (done - count) * 100 / searches_) {
            return;
        }
        const std::lock_guard lock(mutex_);
        if (stop_ || done < reportedDone_) {
            return;
        }
        reportedDone_ = done;
        try {
            progress_(static_cast<double>(done) / searches_);
        } catch (...) {
            stop_ = std::current_exception();
            abort.store(true);
        }
    }

    void Fail(int salesPoint, const RunError& error) {
        const std::lock_guard lock(mutex_);
        failures_.emplace(salesPoint, error.what());
    }

    void FailWith(std::exception_ptr error) {
        const std::lock_guard lock(mutex_);
        if (!stop_) {
            stop_ = error;
        }
        abort.store(true);
    }

    // The fault the plain order would have met first: that of the lowest sales point.
    void RethrowFirstFault() {
        if (stop_) {
            std::rethrow_exception(stop_);
        }
        if (!failures_.empty()) {
            throw RunError(failures_.begin()->second);
        }
    }

    RunState& state;
    const NamedLaneKernel& kernel;
    std::atomic<long long>* divisions;  // null unless counted
    std::vector<double> reciprocal;     // 1 / t by period, as the division gives it
    std::atomic<bool> abort{false};

  private:
    RunObserver& observer_;
    const ForecastProgress& progress_;
    const long long searches_;
    std::atomic<long long> searchesDone_{0};
    long long reportedDone_ = 0;
    std::mutex mutex_;
    std::exception_ptr stop_;
    std::map<int, std::string> failures_;
};

// Where one sales point's rolling stretch stands: its pending search and what the state must
// receive when the stretch is done.
struct SalesPointProgress {
    int salesPoint = 0;
    int period = 0;
    bool betaSearch = false;
    bool finished = false;
    double previousAlpha = 0.0;
    double previousBeta = 0.0;
    double alphaResult = 0.0;
    double betaResult = 0.0;
    double forecastLagged = 0.0;  // F(t - H) of the last alpha trial
    double lastAlphaTrial = 0.0;
    double lastAlphaCriterion = 0.0;
    double lastBetaTrial = 0.0;
    double lastBetaCriterion = 0.0;
    double forecastAtEnd = 0.0;
    double madAtEnd = 0.0;
    double sigmaAtEnd = 0.0;

    // The sales points furthest behind go first, so the windows side by side stay alike.
    int Stage() const { return period; }
};

// The sales points waiting for their next alpha search: a queue for each thread, which takes
// from the others once its own is empty. A thread mostly meets only its own lock, and the
// threads still end together.
class SearchPool {
  public:
    SearchPool(std::vector<SalesPointProgress>& progress, int threads)
        : progress_(progress), queues_(threads) {
        for (std::size_t index = 0; index < progress.size(); ++index) {
            queues_[index % queues_.size()].ready.emplace(progress[index].Stage(),
                                                          static_cast<int>(index));
        }
    }

    // Hands back to the thread's own queue a sales point whose period is done (unless its
    // stretch is) and takes the one furthest behind there, or else from another queue; -1 when
    // none is waiting.
    int Exchange(int thread, int finishedIndex) {
        const std::size_t own = static_cast<std::size_t>(thread);
        for (std::size_t offset = 0; offset < queues_.size(); ++offset) {
            Queue& queue = queues_[(own + offset) % queues_.size()];
            const std::lock_guard lock(queue.mutex);
            if (offset == 0 && finishedIndex >= 0 && !progress_[finishedIndex].finished) {
                queue.ready.emplace(progress_[finishedIndex].Stage(), finishedIndex);
            }
            if (!queue.ready.empty()) {
                const int index = queue.ready.top().second;
                queue.ready.pop();
                return index;
            }
        }
        return -1;
    }

  private:
    using StagedIndex = std::pair<int, int>;
    struct Queue {
        std::mutex mutex;
        std::priority_queue<StagedIndex, std::vector<StagedIndex>, std::greater<>> ready;
    };
    std::vector<SalesPointProgress>& progress_;
    std::vector<Queue> queues_;
};

// Groups of lanes evaluated together. With a lag each step waits on the one before, and a
// second group's independent chain fills that wait; with none the steps are independent already,
// and a second group would only make more lanes wait for the longest window.
int LaneGroupsFor(int horizon) {
    return horizon == 0 ? 1 : 2;
}

// The lanes of one thread, in groups of kLaneCount. A lane runs the alpha and then the beta
// search of one sales point and period; then it takes the pool's next sales point.
class LaneSet {
  public:
    static constexpr long long kSearchBatch = 16;  // searches finished between shared counts
    static constexpr int kMaxLanes = kMaxLaneGroups * kLaneCount;

    LaneSet(LaneRun& run, SearchPool& pool, int thread, std::vector<SalesPointProgress>& progress)
        : run_(run),
          pool_(pool),
          thread_(thread),
          progress_(progress),
          state_(run.state),
          first_(FirstFittedPeriod(state_)),
          lag_(state_.horizon),
          last_(RollingStretch(state_).last),
          groups_(LaneGroupsFor(lag_)),
          lanes_(groups_ * kLaneCount),
          groupCells_(static_cast<std::size_t>(state_.periodCapacity + 1) * kLaneCount),
          input_(LaneBuffer(state_, thread, 2 * groups_ * groupCells_)),
          output_(input_ + groups_ * groupCells_) {
        sales_.fill(-1);
    }

    void Run() {
        for (int lane = 0; lane < lanes_; ++lane) {
            TakeNextSearch(lane, -1);
        }
        std::array<LaneKernelArgs, kMaxLaneGroups> args{};
        for (int group = 0; group < groups_; ++group) {
            const int at = group * kLaneCount;
            args[group].first = first_;
            args[group].lag = lag_;
            args[group].trial = searches_[group].trial;
            args[group].start = start_.data() + at;
            args[group].windowEnd = windowEnd_.data() + at;
            args[group].reciprocal = run_.reciprocal.data();
            args[group].input = input_ + group * groupCells_;
            args[group].output = output_ + group * groupCells_;
            args[group].criterion = criterion_.data() + at;
        }
        std::array<LaneKernelArgs, kMaxLaneGroups> busy{};
        std::array<int, kMaxLaneGroups> busyGroups{};
        long long divisions = 0;
        while (!run_.abort.load(std::memory_order_relaxed)) {
            int busyCount = 0;
            for (int group = 0; group < groups_; ++group) {
                if (PrepareLanes(group, args[group], divisions)) {
                    busy[busyCount] = args[group];
                    busyGroups[busyCount++] = group;
                }
            }
            if (busyCount == 0) {
                break;
            }
            run_.kernel.groups(busy.data(), busyCount);
            for (int index = 0; index < busyCount; ++index) {
                const int group = busyGroups[index];
                run_.kernel.step(searches_[group], criterion_.data() + group * kLaneCount);
                if (!AnyLaneToAdvance(group)) {
                    continue;
                }
                for (int lane = group * kLaneCount; lane < (group + 1) * kLaneCount; ++lane) {
                    if (sales_[lane] >= 0) {
                        Advance(lane, criterion_[lane]);
                    }
                }
            }
        }
        run_.SearchesFinished(searchesFinished_);
        if (run_.divisions != nullptr) {
            *run_.divisions += divisions;
        }
    }

  private:
    // A lane's series by period: [t * kLaneCount] from its column.
    double* InputColumn(int lane) {
        return input_ + lane / kLaneCount * groupCells_ + lane % kLaneCount;
    }
    const double* OutputColumn(int lane) const {
        return output_ + lane / kLaneCount * groupCells_ + lane % kLaneCount;
    }
    double Input(int t, int lane) { return InputColumn(lane)[t * kLaneCount]; }
    double Output(int t, int lane) const { return OutputColumn(lane)[t * kLaneCount]; }
    LaneSearches& SearchesOf(int lane) { return searches_[lane / kLaneCount]; }
    double Demand(int salesPoint, int t) const { return state_.actualDemand(salesPoint, t); }

    // Keeps the trials about to be evaluated and counts their divisions; false when every lane
    // of the group is idle. The group's window ends change only when a lane takes a new search.
    bool PrepareLanes(int group, LaneKernelArgs& args, long long& divisions) {
        const int at = group * kLaneCount;
        std::memcpy(evaluated_.data() + at, searches_[group].trial, sizeof searches_[group].trial);
        if (windowsChanged_[group]) {
            MeasureWindows(group, args);
            windowsChanged_[group] = false;
        }
        divisions += groupDivisions_[group];
        return args.lastPeriod != 0;
    }

    void MeasureWindows(int group, LaneKernelArgs& args) {
        int lastPeriod = 0;
        int commonEnd = state_.periodCapacity;
        long long divisions = 0;
        for (int lane = group * kLaneCount; lane < (group + 1) * kLaneCount; ++lane) {
            const bool busy = sales_[lane] >= 0;
            const int end = busy ? progress_[sales_[lane]].period : 0;
            windowEnd_[lane] = end;
            lastPeriod = busy ? std::max(lastPeriod, end) : lastPeriod;
            commonEnd = busy ? std::min(commonEnd, end) : commonEnd;
            divisions += LaneDivisions(first_, lag_, end);
        }
        args.commonEnd = commonEnd;
        args.lastPeriod = lastPeriod;
        groupDivisions_[group] = divisions;
    }

    // Whether a lane of the group ended its search or met a criterion that is not finite: the
    // only lanes Advance has anything to do for. Mostly there are none, so the group's lanes
    // are looked at together first.
    bool AnyLaneToAdvance(int group) const {
        const LaneSearches& searches = searches_[group];
        const double* criterion = criterion_.data() + group * kLaneCount;
        int count = 0;
        for (int sub = 0; sub < kLaneCount; ++sub) {
            count += static_cast<int>(searches.searching[sub] == 0.0) +
                     static_cast<int>(!std::isfinite(criterion[sub]));
        }
        return count != 0;
    }

    // Both searches are centred on the constant of the period before.
    void StartSearch(int lane, const SalesPointProgress& work) {
        const double centre = work.betaSearch ? work.previousBeta : work.previousAlpha;
        const UpdateBracket bracket = UpdateBracketAround(centre, state_.boundedConstants);
        StartLaneSearch(SearchesOf(lane), lane % kLaneCount, bracket.low, bracket.centre,
                        bracket.high);
        start_[lane] = work.betaSearch ? MadFromSigma(state_.initialSigma[work.salesPoint])
                                       : state_.initialMu[work.salesPoint];
    }

    // The next sales point's alpha search, measured against its demand.
    void TakeNextSearch(int lane, int finishedIndex) {
        const int index = pool_.Exchange(thread_, finishedIndex);
        sales_[lane] = index;
        windowsChanged_[lane / kLaneCount] = true;
        if (index < 0) {
            return;
        }
        const SalesPointProgress& work = progress_[index];
        StartSearch(lane, work);
        const PeriodRow<const double> demand = state_.actualDemand.Row(work.salesPoint);
        double* input = InputColumn(lane);
        for (int t = work.period; t >= first_; --t) {  // the latest periods are still cached
            input[t * kLaneCount] = demand[t];
        }
    }

    void Advance(int lane, double criterion) {
        const int index = sales_[lane];
        SalesPointProgress& work = progress_[index];
        const LaneSearches& searches = SearchesOf(lane);
        const int sub = lane % kLaneCount;
        try {
            if (!std::isfinite(criterion)) {
                FailOnNonFiniteLane(lane, work);
            }
            if (searches.searching[sub] != 0.0) {
                return;
            }
            if (searches.iteration[sub] > kBrentIterationLimit) {
                run_.ShowNotice();
            }
            if (++searchesFinished_ == kSearchBatch) {
                run_.SearchesFinished(searchesFinished_);
                searchesFinished_ = 0;
            }
            if (!work.betaSearch) {
                work.lastAlphaTrial = evaluated_[lane];
                work.lastAlphaCriterion = criterion;
                FinishAlphaSearch(lane, work);
                StartSearch(lane, work);
                return;
            }
            work.lastBetaTrial = evaluated_[lane];
            work.lastBetaCriterion = criterion;
            FinishBetaSearch(lane, work);
        } catch (const RunError& error) {
            run_.Fail(work.salesPoint, error);
            work.finished = true;
        }
        TakeNextSearch(lane, index);
    }

    // The message the plain criterion gives, from the series this lane has just evaluated.
    [[noreturn]] void FailOnNonFiniteLane(int lane, const SalesPointProgress& work) {
        const int slots = state_.periodCapacity + 1;
        std::vector<double> series(static_cast<std::size_t>(slots), 0.0);
        std::vector<double> errors(static_cast<std::size_t>(slots), 0.0);
        for (int t = first_; t <= work.period; ++t) {
            const double error = Output(t, lane) - Input(t, lane);
            series[t] = work.betaSearch ? SigmaFromMad(Output(t, lane)) : Output(t, lane);
            errors[t] = error * error;
        }
        FailOnNonFiniteCriterion(PeriodRow<const double>(series.data(), slots),
                                 PeriodRow<const double>(errors.data(), slots), work.salesPoint,
                                 first_, work.period,
                                 work.betaSearch ? "smoothed deviation" : "smoothed mean");
    }

    void FinishAlphaSearch(int lane, SalesPointProgress& work) {
        const int t = work.period;
        work.alphaResult = SearchesOf(lane).x[lane % kLaneCount];
        work.forecastLagged = Output(t - lag_, lane);
        if (t == last_) {  // the last alpha trial's series at P, where the plain path leaves it
            for (int period = first_; period <= t; ++period) {
                state_.mu(work.salesPoint, period) = Output(period, lane);
            }
        }
        // The beta search, in this lane, measures against the last alpha trial's series: the
        // column holds the demand the alpha search read, and takes |D - F| in its place.
        double* column = InputColumn(lane);
        const double* forecast = OutputColumn(lane);
        for (int period = t; period >= first_; --period) {  // the latest are still cached
            column[period * kLaneCount] =
                std::fabs(column[period * kLaneCount] - forecast[period * kLaneCount]);
        }
        work.betaSearch = true;
    }

    void FinishBetaSearch(int lane, SalesPointProgress& work) {
        const int sp = work.salesPoint;
        const int t = work.period;
        work.betaResult = SearchesOf(lane).x[lane % kLaneCount];
        const double madLagged = Output(t - lag_, lane);
        if (t == last_) {
            for (int period = first_; period <= t; ++period) {
                state_.mad(sp, period) = Output(period, lane);
            }
        }

        const double w = SmoothingWeight(t, work.alphaResult);
        const double forecast = SmoothedStep(w, work.forecastLagged, Demand(sp, t - lag_));
        if (!std::isfinite(forecast)) {
            FailAt(sp, t, kForecastOverflow);
        }
        const double forecastForMad = lag_ == 0 ? forecast : work.forecastLagged;
        const double wBeta = SmoothingWeight(t, work.betaResult);
        const double mad =
            SmoothedDeviation(wBeta, std::fabs(Demand(sp, t - lag_) - forecastForMad), madLagged);
        const double sigma = SigmaFromMad(mad);
        if (!std::isfinite(sigma)) {
            FailAt(sp, t, kDeviationOverflow);
        }

        work.previousAlpha = work.alphaResult;
        work.previousBeta = work.betaResult;
        state_.alphaUsed(sp, t) = work.alphaResult;
        state_.betaUsed(sp, t) = work.betaResult;
        if (t == last_) {
            work.forecastAtEnd = forecast;
            work.madAtEnd = mad;
            work.sigmaAtEnd = sigma;
            WriteSeries(work);
            work.finished = true;
            return;
        }
        work.period = t + 1;
        work.betaSearch = false;
    }

    // What the plain path leaves: the last trials' series over the window (mu and mad hold
    // them already), then the steps at P.
    void WriteSeries(const SalesPointProgress& work) {
        const int sp = work.salesPoint;
        for (int t = first_; t <= last_; ++t) {
            const double forecast = state_.mu(sp, t);
            const double mad = state_.mad(sp, t);
            state_.alpha(sp, t) = work.lastAlphaTrial;
            state_.beta(sp, t) = work.lastBetaTrial;
            state_.muSquaredError(sp, t) = SquaredForecastError(forecast, Demand(sp, t));
            state_.sigma(sp, t) = SigmaFromMad(mad);
            state_.madSquaredError(sp, t) = SquaredDeviationError(forecast, Demand(sp, t), mad);
        }
        state_.alpha(sp, last_) = work.alphaResult;
        state_.beta(sp, last_) = work.betaResult;
        state_.mu(sp, last_) = work.forecastAtEnd;
        state_.mad(sp, last_) = work.madAtEnd;
        state_.sigma(sp, last_) = work.sigmaAtEnd;
        state_.alphaCriterion[sp] = work.lastAlphaCriterion;
        state_.betaCriterion[sp] = work.lastBetaCriterion;
    }

    LaneRun& run_;
    SearchPool& pool_;
    const int thread_;
    std::vector<SalesPointProgress>& progress_;
    RunState& state_;
    const int first_;
    const int lag_;
    const int last_;
    const int groups_;
    const int lanes_;
    const std::size_t groupCells_;        // one group's column of periods 0..P, lanes side by side
    std::array<int, kMaxLanes> sales_{};  // index into progress_, -1 when idle
    long long searchesFinished_ = 0;      // not yet counted in run_
    double* const input_;  // the groups one after another, in the thread's lane buffer
    double* const output_;
    std::array<LaneSearches, kMaxLaneGroups> searches_{};
    std::array<double, kMaxLanes> evaluated_{};  // the trials of the last evaluation
    std::array<double, kMaxLanes> start_{};
    std::array<double, kMaxLanes> windowEnd_{};
    std::array<double, kMaxLanes> criterion_{};
    std::array<bool, kMaxLaneGroups> windowsChanged_{};       // a lane took a new search since
    std::array<long long, kMaxLaneGroups> groupDivisions_{};  // of one evaluation
};

std::vector<SalesPointProgress> StartStretches(const RunState& state, int firstRolling) {
    std::vector<SalesPointProgress> progress(state.salesPointCount);
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        SalesPointProgress& work = progress[sp - 1];
        work.salesPoint = sp;
        work.period = firstRolling;
        work.previousAlpha = state.alpha(sp, firstRolling - 1);
        work.previousBeta = state.beta(sp, firstRolling - 1);
    }
    return progress;
}

}  // namespace

void RollingForecastInLanes(RunState& state, RunObserver& observer,
                            const ForecastProgress& progress, const LaneOptions& options) {
    const int salesPoints = state.salesPointCount;
    const PeriodStretch rolling = RollingStretch(state);
    if (!rolling.Empty()) {
        const long long searches = 2LL * salesPoints * rolling.Length();
        const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        const int threads = options.threads > 0 ? options.threads : cores;
        LaneRun run(state, observer, progress, LaneKernels().Named(options.kernel), searches,
                    options.divisions);
        std::vector<SalesPointProgress> progressOfPoints = StartStretches(state, rolling.first);
        const int lanesPerSet = LaneGroupsFor(state.horizon) * kLaneCount;
        const int laneSetsNeeded = (salesPoints + lanesPerSet - 1) / lanesPerSet;
        const int workers = std::min(threads, laneSetsNeeded);
        SearchPool pool(progressOfPoints, workers);
        KeepLaneBuffers(state, workers);
        auto work = [&](int thread) {
            try {
                LaneSet(run, pool, thread, progressOfPoints).Run();
            } catch (...) {
                run.FailWith(std::current_exception());
            }
        };
        std::vector<std::jthread> helpers;
        try {
            for (int helper = 1; helper < workers; ++helper) {
                helpers.emplace_back(work, helper);
            }
        } catch (...) {
            // Typically a thread the system would not start (std::system_error): the run fails
            // with it, and the helpers already started stop at once.
            run.FailWith(std::current_exception());
        }
        work(0);
        helpers.clear();  // joins
        run.RethrowFirstFault();
    }
    progress(1.0);
    // The counters end as the plain loops leave them.
    state.salesPoint = static_cast<std::int16_t>(salesPoints + 1);
    state.period = static_cast<std::int16_t>(std::max(rolling.first, rolling.last + 1));
}

}  // namespace sf
