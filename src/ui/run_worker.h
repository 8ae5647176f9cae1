#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "run/run_driver.h"
#include "state/run_observer.h"
#include "ui/completed_run.h"

namespace sf::ui {

// Runs one job at a time on a thread of its own, so that the window stays alive, and relays what
// the job tells its front end as signals to the GUI thread. The job may call the observer from
// any of its threads, one call at a time. A notice or the closing message holds the job until
// Acknowledge() or RequestStop().
class RunWorker : public QObject, private RunObserver {
    Q_OBJECT

  public:
    using Job = std::function<RunOutcome(RunObserver&)>;
    // What the window shows of a complete run, worked out on the run's thread after the job so
    // that the window has only to show it.
    using ResultsJob = std::function<std::shared_ptr<CompletedRun>(const RunOutcome&)>;

    ~RunWorker() override;  // stops a job still working and waits for it

    void Start(Job job, ResultsJob results = {});  // only while no job is running
    bool IsRunning() const { return thread_.joinable(); }
    void RequestStop();
    void Acknowledge();
    // From the job's threads, one call at a time: how many of its parts are done (a catalogue's
    // sales points), in place of a percentage.
    void ReportCount(int done, int total) { emit CountReported(done, total); }

  signals:
    void ProgressReported(int percent);
    void CountReported(int done, int total);
    void NoticeRaised(const QString& text);
    void ClosingMessageRaised(const QString& text);
    // Just before Finished, for a complete run of a job started with a ResultsJob.
    void ResultsReady(std::shared_ptr<CompletedRun> run);
    // The thread has ended when this arrives.
    void Finished(bool completed, const QString& message);

  private:
    void ReportProgress(int percent) override;
    void ShowNotice(std::string_view message) override;
    void ShowClosingMessage(std::string_view message) override;
    bool StopRequested() const override;
    void RelayAndWait(void (RunWorker::*signal)(const QString&), std::string_view message);

    std::thread thread_;
    std::atomic<bool> stopRequested_ = false;
    std::mutex mutex_;
    std::condition_variable released_;
    bool acknowledged_ = false;
};

}  // namespace sf::ui
