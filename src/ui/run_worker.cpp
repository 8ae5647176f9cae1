#include "ui/run_worker.h"

#include <utility>

namespace sf::ui {

RunWorker::~RunWorker() {
    RequestStop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void RunWorker::Start(Job job, ResultsJob results) {
    stopRequested_ = false;
    thread_ = std::thread([this, job = std::move(job), results = std::move(results)] {
        const RunOutcome outcome = job(*this);
        std::shared_ptr<CompletedRun> run =
            outcome.completed && results ? results(outcome) : nullptr;
        QMetaObject::invokeMethod(
            this,
            [this, completed = outcome.completed, message = QString::fromStdString(outcome.message),
             run = std::move(run)] {
                thread_.join();
                if (run) {
                    emit ResultsReady(run);
                }
                emit Finished(completed, message);
            },
            Qt::QueuedConnection);
    });
}

void RunWorker::RequestStop() {
    const std::lock_guard lock(mutex_);
    stopRequested_ = true;
    released_.notify_all();
}

void RunWorker::Acknowledge() {
    const std::lock_guard lock(mutex_);
    acknowledged_ = true;
    released_.notify_all();
}

void RunWorker::ReportProgress(int percent) {
    emit ProgressReported(percent);
}

void RunWorker::ShowNotice(std::string_view message) {
    RelayAndWait(&RunWorker::NoticeRaised, message);
}

void RunWorker::ShowClosingMessage(std::string_view message) {
    RelayAndWait(&RunWorker::ClosingMessageRaised, message);
}

bool RunWorker::StopRequested() const {
    return stopRequested_;
}

void RunWorker::RelayAndWait(void (RunWorker::*signal)(const QString&), std::string_view message) {
    {
        const std::lock_guard lock(mutex_);
        acknowledged_ = false;
    }
    emit(this->*signal)(QString::fromUtf8(message));
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return acknowledged_ || stopRequested_; });
}

}  // namespace sf::ui
