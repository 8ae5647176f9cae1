#include "ui/run_worker.h"

#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

#include "refused_thread_starts.h"

using sf::RunObserver;
using sf::RunOutcome;
using sf::ui::RunWorker;

class RunWorkerTest : public QObject {
    Q_OBJECT

  private slots:
    void noticeHoldsTheJobUntilAcknowledged() {
        RunWorker worker;
        std::atomic<bool> jobWentOn = false;
        bool wentOnBeforeAcknowledged = true;
        QStringList notices;
        connect(&worker, &RunWorker::NoticeRaised, this, [&](const QString& text) {
            notices << text;
            QTest::qWait(50);  // time for the job to run on, were it not waiting
            wentOnBeforeAcknowledged = jobWentOn;
            worker.Acknowledge();
        });
        QSignalSpy progress(&worker, &RunWorker::ProgressReported);
        QSignalSpy finished(&worker, &RunWorker::Finished);

        worker.Start([&](RunObserver& observer) {
            observer.ShowNotice("Pause in routine BRENT - too many iterations");
            jobWentOn = true;
            observer.ReportProgress(50);
            return RunOutcome{true, "done", {}};
        });
        QVERIFY(worker.IsRunning());
        QVERIFY(finished.wait(5000));

        QCOMPARE(notices, QStringList{"Pause in routine BRENT - too many iterations"});
        QVERIFY(!wentOnBeforeAcknowledged);
        QCOMPARE(progress.size(), 1);
        QCOMPARE(progress[0][0].toInt(), 50);
        QCOMPARE(finished[0][0].toBool(), true);
        QCOMPARE(finished[0][1].toString(), QString("done"));
        QVERIFY(!worker.IsRunning());
    }

    void stopReleasesAWaitingMessageAndTheNextRunStartsAfresh() {
        RunWorker worker;
        connect(&worker, &RunWorker::ClosingMessageRaised, &worker, &RunWorker::RequestStop);
        QSignalSpy finished(&worker, &RunWorker::Finished);
        const auto job = [](RunObserver& observer) {
            const bool stoppedBefore = observer.StopRequested();
            observer.ShowClosingMessage("End of forecast. Please see the output file");
            return RunOutcome{!stoppedBefore && observer.StopRequested(), "", {}};
        };

        worker.Start(job);
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished[0][0].toBool(), true);

        worker.Start(job);
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished[1][0].toBool(), true);
    }

    void aJobThatThrowsOrCannotStartEndsAsAFailedRun() {
        RunWorker worker;
        QSignalSpy finished(&worker, &RunWorker::Finished);
        worker.Start(
            [](RunObserver&) -> RunOutcome { throw std::logic_error("a broken promise"); });
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished[0][0].toBool(), false);
        QCOMPARE(finished[0][1].toString(),
                 QString("The run stopped on an internal fault: a broken promise"));

        {
            const RefusedThreadStarts refused;
            worker.Start([](RunObserver&) { return RunOutcome{true, "done", {}}; });
        }
        QVERIFY(!worker.IsRunning());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished[1][0].toBool(), false);
        QVERIFY(finished[1][1].toString().contains("Resource temporarily unavailable"));
    }

    // The results are worked out on the run's thread, and only for a complete run; the window
    // has them before it learns that the run has finished.
    void resultsOfACompleteRunArriveJustBeforeFinished() {
        RunWorker worker;
        QStringList arrived;
        connect(&worker, &RunWorker::ResultsReady, this,
                [&](std::shared_ptr<sf::ui::CompletedRun> run) {
                    arrived << "results run " + QString::number(run->record.run);
                });
        connect(&worker, &RunWorker::Finished, this,
                [&](bool completed) { arrived << (completed ? "complete" : "failed"); });
        std::thread::id resultsThread;
        const auto results = [&](const RunOutcome&) {
            resultsThread = std::this_thread::get_id();
            auto run = std::make_shared<sf::ui::CompletedRun>();
            run->record.run = 7;
            return run;
        };
        for (const bool completed : {true, false}) {
            QSignalSpy finished(&worker, &RunWorker::Finished);
            worker.Start([=](RunObserver&) { return RunOutcome{completed, "", {}}; }, results);
            QVERIFY(finished.wait(5000));
        }
        QCOMPARE(arrived, (QStringList{"results run 7", "complete", "failed"}));
        QVERIFY(resultsThread != std::this_thread::get_id());
    }

    void destroyingTheWorkerStopsItsJob() {
        auto worker = std::make_unique<RunWorker>();
        std::atomic<bool> sawStop = false;
        worker->Start([&](RunObserver& observer) {
            while (!observer.StopRequested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            sawStop = true;
            return RunOutcome{false, "stopped", {}};
        });
        worker.reset();
        QVERIFY(sawStop);
    }
};

QTEST_GUILESS_MAIN(RunWorkerTest)
#include "run_worker_test.moc"
