#include "ui/run_worker.h"

#include <exception>
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
    try {
        thread_ = std::thread([this, job = std::move(job), results = std::move(results)] {
            RunOutcome outcome;
            try {
                outcome = job(*this);
            } catch (...) {  // never std::terminate: a fault ends the run, not the program
                outcome = OutcomeOfFault(std::current_exception());
            }
            std::shared_ptr<CompletedRun> run;
            try {
                run = outcome.completed && results ? results(outcome) : nullptr;
            } catch (...) {  // the report is complete all the same; only its figures are missing
            }
            QMetaObject::invokeMethod(
                this,
                [this, completed = outcome.completed,
                 message = QString::fromStdString(outcome.message), run = std::move(run)] {
                    thread_.join();
                    if (run) {
                        emit ResultsReady(run);
                    }
                    emit Finished(completed, message);
                },
                Qt::QueuedConnection);
        });
    } catch (...) {
        // No thread to run on: the run fails at once, and says so as a finished run would.
        QMetaObject::invokeMethod(
            this,
            [this,
             message = QString::fromStdString(OutcomeOfFault(std::current_exception()).message)] {
                emit Finished(false, message);
            },
            Qt::QueuedConnection);
    }
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
