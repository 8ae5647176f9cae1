// The results window's files: its export against the batch command's, results folders read
// back, and the report opened.
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <map>
#include <string>

#include "csv_reading.h"
#include "results_window_fixture.h"

using sf::ui::ResultsWindow;

class ResultsFilesTest : public QObject, private ResultsWindowFixture {
    Q_OBJECT

  private slots:
    void initTestCase() { ResultsWindowFixture::StartSuite(); }
    void init() { Open(); }
    void cleanup() { Close(); }

    void exportWritesTheBatchCommandsFiles() {
        ResultsWindow& results = RunInForm(kSmallRun);
        Child<QLineEdit>(results, "TargetFillRate").setText("0.95");
        Child<QLineEdit>(results, "LostSaleCost").setText("5");
        Child<QLineEdit>(results, "ReturnCost").setText("1");
        QVERIFY(results.ExportTo("window-export"));

        QProcess batch;
        batch.start(SALES_FORECAST_CLI,
                    BatchArguments(kSmallRun) +
                        QStringList{"--target-fill-rate", "0.95", "--lost-sale-cost", "5",
                                    "--return-cost", "1", "--export", "batch-export"});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        for (const char* file : {"summary.csv", "series.csv", "tradeoff.csv"}) {
            QCOMPARE(FileBytes(QString("window-export/") + file),
                     FileBytes(QString("batch-export/") + file));
        }
        // The warnings name the option that bounds the constants as each front end shows it.
        QByteArray json = FileBytes("window-export/run.json");
        json.replace(QByteArray("\\\"") + sf::ui::kBoundedConstantsOption + "\\\"",
                     "--bounded-constants");
        QCOMPARE(json, FileBytes("batch-export/run.json"));
        QVERIFY(messages_->errors.isEmpty());

        // A file in the folder's place is named, and nothing is written.
        QFile blocker("blocked");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!results.ExportTo("blocked"));
        QCOMPARE(messages_->errors.size(), 1);
        QVERIFY2(messages_->errors[0].contains("\"blocked\""), qPrintable(messages_->errors[0]));
    }

    // The batch command leaves the counts' boxes of a sales history empty: an export of it
    // opens with the history's counts.
    void aBatchExportOfASalesHistoryOpensWithItsCounts() {
        QFile history("sales.csv");
        QVERIFY(history.open(QIODevice::WriteOnly));
        history.write("week,north,south,east\n");
        for (int t = 1; t <= 24; ++t) {
            history.write(
                QString("%1,%2,%3,%4\n").arg(t).arg(10 + t % 4).arg(20 - t % 3).arg(t).toUtf8());
        }
        history.close();
        QProcess batch;
        batch.start(SALES_FORECAST_CLI,
                    {"--demand", "sales.csv", "--init-periods", "4", "--alpha-beta-periods", "6",
                     "--warm-up", "0", "--horizon", "1", "--tau", "0.5", "--export", "exported"});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        ResultsWindow& results = RunInForm(kSmallRun);
        QSignalSpy opened(&results, &ResultsWindow::ResultsFolderOpened);
        results.OpenResultsFolder("exported");
        QVERIFY(opened.wait(10000));
        QVERIFY2(messages_->errors.isEmpty(), qPrintable(messages_->errors.join('\n')));
        const QString line = Child<QListWidget>(results, "RunsList").item(1)->text();
        QVERIFY2(line.startsWith("#2  sales.csv, 4 × 24, S 4"), qPrintable(line));
        QCOMPARE(Child<QLabel>(results, "Sales points").text(), QString("4"));
        QCOMPARE(Child<QLabel>(results, "Periods (P)").text(), QString("24"));
    }

    // A dated history names its coming periods by their dates, continued month end by month
    // end, in the window's export as in the batch command's --next; a folder whose coming rows
    // have no date, as exports were written before, still opens.
    void theComingPeriodsOfADatedHistoryAreDated() {
        QFile history("sales.csv");
        QVERIFY(history.open(QIODevice::WriteOnly));
        history.write("date,north,south\n");
        for (int t = 1; t <= 24; ++t) {
            const QDate monthEnd = QDate(2023, 1, 1).addMonths(t).addDays(-1);
            history.write(QString("%1,%2,%3\n")
                              .arg(monthEnd.toString(Qt::ISODate))
                              .arg(10 + t % 4)
                              .arg(20 - t % 3)
                              .toUtf8());
        }
        history.close();
        QVERIFY(form_->SalesHistory().UseFile("sales.csv"));
        const QStringList boxes = {
            "--init-periods", "4",  "--alpha-beta-periods", "6", "--warm-up", "0", "--horizon", "2",
            "--tau",          "0.5"};
        for (qsizetype at = 0; at < boxes.size(); at += 2) {
            Child<QLineEdit>(*form_, BoxOfOption(boxes[at])).setText(boxes[at + 1]);
        }
        Child<QPushButton>(*form_, "Run").click();
        QTRY_VERIFY_WITH_TIMEOUT(Child<QWidget>(*form_, "Run").isEnabled(), 30000);
        ResultsWindow& results = *form_->findChild<ResultsWindow*>();
        QVERIFY(results.ExportTo("dated"));

        const std::map<std::string, std::string> coming = {{"25", "2025-01-31"},
                                                           {"26", "2025-02-28"}};
        const auto next = CsvRows(FileBytes("dated/next.csv").toStdString());
        QCOMPARE(next.size(), std::size_t{1 + 2 * 2});
        for (std::size_t row = 1; row < next.size(); ++row) {
            QCOMPARE(next[row][3], coming.at(next[row][2]));
        }
        int comingRows = 0;
        for (const auto& row : CsvRows(FileBytes("dated/series.csv").toStdString())) {
            if (coming.contains(row[2])) {
                QCOMPARE(row[3], coming.at(row[2]));
                ++comingRows;
            }
        }
        QCOMPARE(comingRows, 4);
        QProcess batch;
        batch.start(SALES_FORECAST_CLI, boxes + QStringList{"--demand", "sales.csv", "--next"});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.readAllStandardOutput(), FileBytes("dated/next.csv"));

        // As written before: the coming rows' dates empty in both files.
        QVERIFY(QDir().mkdir("before"));
        for (const QString& name : QDir("dated").entryList(QDir::Files | QDir::Hidden)) {
            QByteArray bytes = FileBytes("dated/" + name);
            for (const auto& [period, date] : coming) {
                bytes.replace(QByteArray::fromStdString("," + period + "," + date + ","),
                              QByteArray::fromStdString("," + period + ",,"));
            }
            QFile copy("before/" + name);
            QVERIFY(copy.open(QIODevice::WriteOnly));
            copy.write(bytes);
        }
        QVERIFY(FileBytes("before/next.csv") != FileBytes("dated/next.csv"));
        QSignalSpy opened(&results, &ResultsWindow::ResultsFolderOpened);
        for (const char* folder : {"dated", "before"}) {
            results.OpenResultsFolder(folder);
            QVERIFY(opened.wait(10000));
            QVERIFY2(messages_->errors.isEmpty(), qPrintable(messages_->errors.join('\n')));
        }
    }

    // Export results... takes the name of a folder not there yet, and the export creates it.
    void theExportTakesANewFolderName() {
        ResultsWindow& results = RunInForm(kSmallRun);
        QTimer::singleShot(300, [] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog->setDirectory(QDir::currentPath());
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(QStringLiteral("new-export"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        results.ChooseExportFolder();
        QVERIFY2(messages_->errors.isEmpty(), qPrintable(messages_->errors.join('\n')));
        QVERIFY(QFile::exists("new-export/run.json"));
        QVERIFY(Child<QLabel>(results, "Status").text().contains("new-export"));
    }

    void aMissingReportIsNamedRatherThanOpened() {
        ResultsWindow& results = RunInForm(kSmallRun);
        QVERIFY(QFile::remove("out.txt"));
        results.OpenReport();
        QCOMPARE(messages_->errors.size(), 1);
        QVERIFY(messages_->errors[0].contains(QDir::current().absoluteFilePath("out.txt")));
    }

    // The desktop's opener is watched: where it finds no viewer, that is said, naming the
    // report, rather than nothing happening.
    void openReportSaysWhenNoViewerTakesIt_data() {
        QTest::addColumn<int>("status");  // of xdg-open
        QTest::addColumn<QString>("said");
        QTest::newRow("a viewer took it") << 0 << QString();
        QTest::newRow("no viewer") << 3 << QString("the desktop has no viewer for it");
    }

    void openReportSaysWhenNoViewerTakesIt() {
        QFETCH(int, status);
        QFETCH(QString, said);
        ResultsWindow& results = RunInForm(kSmallRun);
        QVERIFY(QDir().mkdir("bin"));
        QFile opener("bin/xdg-open");
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write(QString("#!/bin/sh\necho \"$1\" > opening\nmv opening opened\nexit %1\n")
                         .arg(status)
                         .toUtf8());
        opener.close();
        QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(QDir::current().absoluteFilePath("bin")) + ':' + path);
        results.OpenReport();
        qputenv("PATH", path);
        QTRY_VERIFY(QFile::exists("opened"));
        const QString report = QDir::current().absoluteFilePath("out.txt");
        QCOMPARE(FileBytes("opened").trimmed(), QFile::encodeName(report));
        if (said.isEmpty()) {
            QTest::qWait(200);
            QVERIFY2(messages_->errors.isEmpty(), qPrintable(messages_->errors.join('\n')));
            return;
        }
        QTRY_COMPARE(messages_->errors.size(), 1);
        QVERIFY2(messages_->errors[0].contains(report) && messages_->errors[0].contains(said),
                 qPrintable(messages_->errors[0]));
    }
};

QTEST_MAIN(ResultsFilesTest)
#include "results_files_test.moc"
