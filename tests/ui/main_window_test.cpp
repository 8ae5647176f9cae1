#include "ui/main_window.h"

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <memory>

#include "results/summary_columns.h"
#include "runtime/number_locale.h"
#include "scenario/scenario_format.h"
#include "ui/control_help.h"
#include "ui/form_layout.h"
#include "window_test_support.h"

using sf::ui::MainWindow;

namespace {

constexpr qsizetype kMaxBoxBytes = sf::kMaxBoxTextBytes;

const QStringList kSmallRun = Words(
    "--sales-points 3 --periods 24 --init-periods 4 --alpha-beta-periods 6 --warm-up 0 "
    "--horizon 1 --tau 0.5 --p2-low 1 --p2-up 3");

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // settings of their own, not the user's
        QApplication::setStyle(sf::ui::kFormStyle);
    }

    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(folder_->path()));
        // Settings of each test's own: what one test leaves is not the next one's start.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           folder_->filePath("settings"));
        OpenWindow();
    }

    void cleanup() {
        window_.reset();
        QDir::setCurrent(QDir::tempPath());
        folder_.reset();
    }

    void menusHoldTheirActions_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("new") << "&File"
                             << "newScenarioAction"
                             << "&New Scenario"
                             << "Ctrl+N";
        QTest::newRow("example") << "&File"
                                 << "loadExampleAction"
                                 << "Load E&xample"
                                 << "";
        QTest::newRow("report file") << "&File"
                                     << "reportFileAction"
                                     << "Re&port File..."
                                     << "";
        QTest::newRow("open") << "&File"
                              << "openScenarioAction"
                              << "&Open Scenario..."
                              << "Ctrl+O";
        QTest::newRow("save") << "&File"
                              << "saveScenarioAction"
                              << "&Save Scenario..."
                              << "Ctrl+S";
        QTest::newRow("history") << "&File"
                                 << "useSalesHistoryAction"
                                 << "Use Sales &History..."
                                 << "";
        QTest::newRow("simulated") << "&File"
                                   << "useSimulatedDemandAction"
                                   << "Use Si&mulated Demand"
                                   << "";
        QTest::newRow("export") << "&File"
                                << "exportResultsAction"
                                << "&Export Results..."
                                << "Ctrl+E";
        QTest::newRow("quit") << "&File"
                              << "quitAction"
                              << "&Quit"
                              << "Ctrl+Q";
        QTest::newRow("bounded") << "O&ptions"
                                 << "boundedConstantsAction"
                                 << "&Keep smoothing constants within 0 and 1"
                                 << "";
        QTest::newRow("season") << "O&ptions"
                                << "seasonLengthAction"
                                << "&Season length..."
                                << "";
        QTest::newRow("help") << "&Help"
                              << "helpAction"
                              << "Sales Forecast &Help"
                              << "F1";
        QTest::newRow("about") << "&Help"
                               << "aboutAction"
                               << "&About Sales Forecast"
                               << "";
    }

    void menusHoldTheirActions() {
        QFETCH(QString, menu);
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(QString, shortcut);
        QMenu* holder = nullptr;
        for (QAction* entry : window_->menuBar()->actions()) {
            if (entry->text() == menu) {
                holder = entry->menu();
            }
        }
        QVERIFY(holder != nullptr);
        QAction* found = Action(action);
        QVERIFY(holder->actions().contains(found));
        QCOMPARE(found->text(), text);
        QCOMPARE(found->shortcut().toString(), shortcut);
        QCOMPARE(found->isCheckable(), action == "boundedConstantsAction");
    }

    void theMenuBarSitsAboveTheUnchangedForm() {
        const int menuHeight = window_->menuBar()->height();
        QVERIFY(menuHeight > 0);
        QCOMPARE(window_->Form().geometry(), QRect(0, menuHeight, 646, 528));
        QCOMPARE(window_->size(), QSize(646, 528 + menuHeight + window_->statusBar()->height()));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QCOMPARE(window_->windowTitle(), QString("Sales Forecast"));
    }

    // The window writes, the window and the batch command read: the same form, the same report.
    void aScenarioSavedByTheWindowOpensToTheSameFormAndReport() {
        Enter(kSmallRun);
        Control<QRadioButton>("t_tplusn")->setChecked(true);
        Control<QLineEdit>("p3")->setText(" 5");
        Action("boundedConstantsAction")->setChecked(true);
        const std::string typed =
            sf::ScenarioText(window_->Form().TypedScenario(), window_->Form().Locale());
        const QString path = folder_->filePath("window.json");
        QVERIFY(window_->SaveScenario(path));

        OpenWindow();
        QVERIFY(window_->OpenScenario(path));
        QCOMPARE(sf::ScenarioText(window_->Form().TypedScenario(), window_->Form().Locale()),
                 typed);
        QVERIFY(Action("boundedConstantsAction")->isChecked());
        QVERIFY(!Control<QWidget>("p3")->isHidden());

        RunInWindow();
        QCOMPARE(ReadReport(), RunBatchCommand({"--scenario", path}).report);
        // The batch command keeps the same file it read.
        const QString again = folder_->filePath("again.json");
        RunBatchCommand({"--scenario", path, "--save-scenario", again});
        QCOMPARE(ReadFile(again), ReadFile(path));
    }

    // The season length is kept with the scenario like the other option, and a new scenario
    // has none.
    void theSeasonLengthIsKeptWithTheScenario() {
        window_->Form().SetSeasonLength(7);
        QVERIFY(Action("seasonLengthAction")->toolTip().contains("7 periods"));
        const QString path = folder_->filePath("season.json");
        QVERIFY(window_->SaveScenario(path));
        QVERIFY(ReadFile(path).contains("\"season\": 7"));
        window_->NewScenario();
        QCOMPARE(window_->Form().SeasonLength(), 0);
        QVERIFY(window_->OpenScenario(path));
        QCOMPARE(window_->Form().SeasonLength(), 7);
    }

    // The batch command writes, the window reads; the option reaches the window's runs.
    void aScenarioSavedByTheBatchCommandOpensInTheWindow() {
        const QString path = folder_->filePath("batch.json");
        const QStringList arguments = kSmallRun + Words("--model sqrot --bounded-constants");
        const BatchResult batch = RunBatchCommand(arguments + QStringList{"--save-scenario", path});
        QVERIFY(batch.report != RunBatchCommand(kSmallRun + Words("--model sqrot")).report);

        QVERIFY(window_->OpenScenario(path));
        QVERIFY(Control<QRadioButton>("sqrot")->isChecked());
        QCOMPARE(Control<QLineEdit>("p2up")->text(), QString("3"));
        QVERIFY(Action("boundedConstantsAction")->isChecked());
        QVERIFY(!Action("exportResultsAction")->isEnabled());  // nothing to export yet
        RunInWindow();
        QCOMPARE(ReadReport(), batch.report);
        QVERIFY(Action("exportResultsAction")->isEnabled());
    }

    // Saved where the decimal separator is a comma, a scenario opens where it is a point and
    // runs the batch command's report; saved there again, it is the same file. A box as long as
    // a box takes goes through too.
    void aScenarioOpensInTheLocaleOfWhoeverOpensIt() {
        const QString longest = QString(kMaxBoxBytes - 3, ' ') + "0,5";
        OpenWindow({",", "."});
        Enter(kSmallRun);
        Enter(Words("--tau 0,5 --p2-low 1,5 --p2-up 3"));
        Control<QLineEdit>("p3")->setText(longest);
        const QString path = folder_->filePath("comma.sfscenario");
        QVERIFY(window_->SaveScenario(path));
        const QByteArray saved = ReadFile(path);
        QVERIFY(saved.contains(R"("tau": "0.5")"));
        QVERIFY(saved.contains(R"("p2-low": "1.5")"));

        OpenWindow({".", ""});
        QVERIFY(window_->OpenScenario(path));
        QCOMPARE(Control<QLineEdit>("tau_tx")->text(), QString("0.5"));
        QCOMPARE(Control<QLineEdit>("p2low")->text(), QString("1.5"));
        QCOMPARE(Control<QLineEdit>("p3")->text(), QString(longest).replace(',', '.'));
        RunInWindow();
        QCOMPARE(ReadReport(), RunBatchCommand({"--scenario", path}).report);
        const QString again = folder_->filePath("point.sfscenario");
        QVERIFY(window_->SaveScenario(again));
        QCOMPARE(ReadFile(again), saved);

        OpenWindow({",", "."});
        QVERIFY(window_->OpenScenario(again));
        QCOMPARE(Control<QLineEdit>("tau_tx")->text(), QString("0,5"));
        QCOMPARE(Control<QLineEdit>("p3")->text(), longest);
    }

    // Opening a scenario offers to start the random sequence from its seed, unless the next run
    // draws from there anyway; the seed is saved again with the scenario.
    void aScenarioOffersToStartFromItsSeed_data() {
        QTest::addColumn<bool>("runFirst");
        QTest::addColumn<QString>("seed");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("drawnFrom");  // the seed the batch command draws the same from
        QTest::newRow("a new window, the default seed")
            << false << "5489" << true << false << "5489";
        QTest::newRow("another seed, taken") << false << "7" << true << true << "7";
        QTest::newRow("another seed, declined") << false << "7" << false << true << "5489";
        QTest::newRow("after a run, taken") << true << "5489" << true << true << "5489";
    }

    void aScenarioOffersToStartFromItsSeed() {
        QFETCH(bool, runFirst);
        QFETCH(QString, seed);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(QString, drawnFrom);
        const QString path = folder_->filePath("seeded.sfscenario");
        RunBatchCommand(kSmallRun + QStringList{"--seed", seed, "--save-scenario", path});
        if (runFirst) {
            Enter(kSmallRun);
            RunInWindow();
        }
        messages_->answer = answer;
        QVERIFY(window_->OpenScenario(path));
        QCOMPARE(messages_->questions.size(), asked ? 1 : 0);
        RunInWindow();
        QCOMPARE(ReadReport(), RunBatchCommand({"--scenario", path, "--seed", drawnFrom}).report);
        const QString again = folder_->filePath("again.sfscenario");
        QVERIFY(window_->SaveScenario(again));
        QCOMPARE(ReadFile(again), ReadFile(path));
    }

    // Load Example fills the form with the batch command's --example, and runs as it does.
    void loadExampleRunsAsTheBatchCommandsExample() {
        Enter(kSmallRun);
        Control<QRadioButton>("sqrot")->click();
        Action("loadExampleAction")->trigger();
        QVERIFY(Control<QRadioButton>("loga")->isChecked());
        RunInWindow();
        QCOMPARE(ReadReport(), RunBatchCommand({"--example"}).report);
    }

    // A sales history draws nothing: opening its scenario asks nothing about the seed.
    void aHistoryScenarioAsksNothingAboutTheSeed() {
        QString history = "week,north,south\n";
        for (int t = 1; t <= 24; ++t) {
            history += QString("%1,%2,%3\n").arg(t).arg(10 + t % 4).arg(20 - t % 3);
        }
        const QString file = folder_->filePath("sales.csv");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(history.toUtf8());
        out.close();
        const QString path = folder_->filePath("history.sfscenario");
        RunBatchCommand(Words("--init-periods 4 --alpha-beta-periods 6 --warm-up 0 --horizon 1 "
                              "--tau 0.5 --seed 7") +
                        QStringList{"--demand", file, "--save-scenario", path});
        messages_->answer = true;
        QVERIFY(window_->OpenScenario(path));
        QVERIFY2(messages_->questions.isEmpty(), qPrintable(messages_->questions.join('\n')));
    }

    void aBadScenarioIsRefusedAndTheFormStaysAsItWas_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not JSON") << QByteArray("{\"format\": 1,}")
                                  << "is not JSON: line 1, column 14: syntax error while parsing "
                                     "object key - unexpected '}'; expected string literal";
        QTest::newRow("wrong type") << QByteArray(R"({"format": 2, "boxes": {"periods": [24]}})")
                                    << "has \"boxes.periods\" as a list; it must be a text in "
                                       "quotes, as typed in the box, or a number";
        QTest::newRow("unknown model")
            << QByteArray(R"({"format": 1, "model": "random walk", "boxes": {"tau": "1"}})")
            << "names the unknown model \"random walk\"; the models are loga, sqrot, linear, "
               "t_tplusn, meanAR1, AR1, Normal";
    }

    void aBadScenarioIsRefusedAndTheFormStaysAsItWas() {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        Enter(kSmallRun);
        Control<QRadioButton>("Normal")->setChecked(true);
        const std::string before =
            sf::ScenarioText(window_->Form().TypedScenario(), window_->Form().Locale());
        const QString path = folder_->filePath("bad.json");
        WriteFile(path, content);
        QVERIFY(!window_->OpenScenario(path));
        QCOMPARE(messages_->errors, QStringList{"The scenario file \"" + path + "\" " + problem});
        QCOMPARE(sf::ScenarioText(window_->Form().TypedScenario(), window_->Form().Locale()),
                 before);
        QVERIFY(!Action("boundedConstantsAction")->isChecked());
    }

    void theFolderOfTheLastScenarioIsRemembered() {
        QVERIFY(QDir(folder_->path()).mkdir("kept"));
        QVERIFY(window_->SaveScenario(folder_->filePath("kept/s.json")));
        QSettings settings("sales-forecast", "sales-forecast");
        QCOMPARE(settings.value("scenarios/folder").toString(), folder_->filePath("kept"));
        QVERIFY(!window_->OpenScenario(folder_->filePath("missing.json")));
        QCOMPARE(settings.value("scenarios/folder").toString(), folder_->path());
    }

    // A scenario is never saved over the sales history in use, and a pipe without a writer is
    // refused at once instead of holding the window.
    void filesTheUserGaveAreNeverWrittenAndOnlyFilesAreRead() {
        WriteFile(folder_->filePath("sales.csv"), "North,South\n12,7\n15,9\n");
        QTest::mouseClick(Control<QWidget>("UseSalesHistory"), Qt::LeftButton);
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = window_->findChild<QFileDialog*>("SalesHistoryDialog")) != nullptr);
        dialog->selectFile(folder_->filePath("sales.csv"));
        static_cast<QDialog*>(dialog)->accept();
        QCOMPARE(AnswerHistoryPreview(*window_), QString());
        QVERIFY(!window_->SaveScenario(folder_->filePath("sales.csv")));
        QCOMPARE(messages_->errors.last(), "The scenario file \"" + folder_->filePath("sales.csv") +
                                               "\" would write over the sales history \"" +
                                               folder_->filePath("sales.csv") +
                                               "\", the same file");
        QCOMPARE(ReadFile(folder_->filePath("sales.csv")), "North,South\n12,7\n15,9\n");

        const QString pipe = folder_->filePath("pipe.json");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        QVERIFY(!window_->OpenScenario(pipe));
        QCOMPARE(messages_->errors.last(),
                 "The scenario file \"" + pipe + "\" is a pipe (FIFO), not a file");
    }

    // The boxes, the model, the option and the report file come back at the next start, and
    // runs write the report where it was chosen; New Scenario gives the described start state.
    void theFormAndTheReportFileAreRememberedUntilANewScenario() {
        const QString startState = ScenarioText();
        Enter(kSmallRun);
        Control<QRadioButton>("Normal")->setChecked(true);
        Action("boundedConstantsAction")->setChecked(true);
        QVERIFY(QDir(folder_->path()).mkdir("reports"));
        window_->SetReportFile(folder_->filePath("reports/r.txt"));
        const QString typed = ScenarioText();
        QVERIFY(window_->close());
        OpenWindow();
        QCOMPARE(ScenarioText(), typed);
        QVERIFY(Control<QRadioButton>("Normal")->isChecked());
        QVERIFY(Action("boundedConstantsAction")->isChecked());
        QCOMPARE(window_->ReportFile(), folder_->filePath("reports/r.txt"));
        QVERIFY(window_->findChild<QLabel*>("ReportFile")->text().endsWith("reports/r.txt"));
        Control<QRadioButton>("loga")->setChecked(true);  // Normal takes no c
        RunInWindow();
        QVERIFY(QFile::exists(folder_->filePath("reports/r.txt")));
        QVERIFY(!QFile::exists(folder_->filePath("out.txt")));

        // From a box: the window's shortcut, not the box's own use of the key.
        window_->findChild<QWidget*>("Results")->close();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        Control<QLineEdit>("Endpointnumber")->setFocus();
        QTest::keyClick(Control<QLineEdit>("Endpointnumber"), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(ScenarioText(), startState);
        QVERIFY(!Action("boundedConstantsAction")->isChecked());
        QCOMPARE(window_->ReportFile(), folder_->filePath("out.txt"));
        QVERIFY(window_->close());
        OpenWindow();
        QCOMPARE(ScenarioText(), startState);
        QCOMPARE(window_->ReportFile(), folder_->filePath("out.txt"));
    }

    // The form comes back with the sales history it was left with, read as it was read then,
    // and runs on it; a history gone since falls back to simulated demand, the boxes kept.
    void theSalesHistoryComesBackAfterARestart_data() {
        QTest::addColumn<QByteArray>("since");  // the file's content at the next start
        QTest::addColumn<QString>("said");      // in the status line
        QTest::newRow("as it was") << QByteArray("same") << QString();
        QTest::newRow("gone") << QByteArray() << QString("sales.csv");
        QTest::newRow("no longer reads")
            << QByteArray("week,north\n1,5\n2,x\n") << QString("row 3");
    }

    void theSalesHistoryComesBackAfterARestart() {
        QFETCH(QByteArray, since);
        QFETCH(QString, said);
        // A long table short of one row: it reads only with the choice that missing rows are
        // zero, so a run on it shows that the choices came back with the file.
        QByteArray history = "store,week,units\n";
        for (int t = 1; t <= 24; ++t) {
            history += QString("north,%1,%2\n").arg(t).arg(10 + t % 4).toUtf8();
            if (t != 7) {
                history += QString("south,%1,%2\n").arg(t).arg(20 - t % 3).toUtf8();
            }
        }
        const QString file = folder_->filePath("sales.csv");
        WriteFile(file, history);
        sf::HistoryChoices choices;
        choices.missing = sf::MissingRows::zero;
        QSettings settings = sf::ui::WindowSettings();
        sf::ui::RememberHistoryChoices(settings, file, choices);
        const QStringList boxes =
            Words("--init-periods 4 --alpha-beta-periods 6 --warm-up 0 --horizon 1 --tau 0.5");
        Enter(boxes);
        QVERIFY(window_->Form().SalesHistory().UseFile(file));
        const QString left = ScenarioText();
        QVERIFY(window_->close());
        if (since.isEmpty()) {
            QVERIFY(QFile::remove(file));
        } else if (since != "same") {
            WriteFile(file, since);
        }
        OpenWindow();
        const auto& restored = window_->Form().SalesHistory().History();
        QCOMPARE(restored.has_value(), said.isEmpty());
        QCOMPARE(Control<QLineEdit>("Endpointnumber")->isEnabled(), !said.isEmpty());
        QCOMPARE(Control<QLineEdit>("Periodnumber")->text(), QString("24"));
        QCOMPARE(Control<QLineEdit>("tau_tx")->text(), QString("0.5"));
        QVERIFY(messages_->errors.isEmpty());
        const QString status = window_->statusBar()->currentMessage();
        if (!said.isEmpty()) {
            QVERIFY2(status.contains(said) && status.contains("simulated demand"),
                     qPrintable(status));
            return;
        }
        QVERIFY2(status.isEmpty(), qPrintable(status));
        QCOMPARE(ScenarioText(), left);
        RunInWindow();
        QCOMPARE(ReadReport(),
                 RunBatchCommand(boxes + QStringList{"--demand", file, "--history-missing", "zero"})
                     .report);
    }

    void theReportGoesHomeWhereTheStartFolderCannotBeWritten_data() {
        QTest::addColumn<bool>("removed");  // else read-only
        QTest::newRow("read-only folder") << false;
        QTest::newRow("removed folder") << true;
    }

    void theReportGoesHomeWhereTheStartFolderCannotBeWritten() {
        QFETCH(bool, removed);
        window_.reset();
        const QString home = folder_->filePath("home");
        const QString start = folder_->filePath("start");
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(start));
        QVERIFY(QDir::setCurrent(start));
        if (removed) {
            QVERIFY(QDir(start).removeRecursively());
        } else {
            QVERIFY(QFile::setPermissions(start, QFile::ReadOwner | QFile::ExeOwner));
            if (QFileInfo(start).isWritable()) {
                QSKIP("whoever runs this writes into a read-only folder");
            }
        }
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home));
        OpenWindow();
        qputenv("HOME", oldHome);
        QCOMPARE(window_->ReportFile(), home + "/out.txt");
        QVERIFY2(window_->statusBar()->currentMessage().contains("cannot be written"),
                 qPrintable(window_->statusBar()->currentMessage()));
        QVERIFY(QDir::setCurrent(folder_->path()));
    }

    void recentFilesAreOfferedLatestFirst() {
        Enter(kSmallRun);
        QVERIFY(window_->SaveScenario(folder_->filePath("a.sfscenario")));
        QVERIFY(window_->SaveScenario(folder_->filePath("b.sfscenario")));
        QVERIFY(window_->OpenScenario(folder_->filePath("a.sfscenario")));
        WriteFile(folder_->filePath("sales.csv"), "North,South\n12,7\n15,9\n");
        QVERIFY(window_->Form().SalesHistory().UseFile(folder_->filePath("sales.csv")));
        OpenWindow();  // kept across starts
        QCOMPARE(RecentEntries("recentScenariosMenu"),
                 (QStringList{"&1 a.sfscenario", "&2 b.sfscenario"}));
        QCOMPARE(RecentEntries("recentSalesHistoriesMenu"), QStringList{"&1 sales.csv"});
        window_->findChild<QMenu*>("recentSalesHistoriesMenu")->actions()[0]->trigger();
        QVERIFY(window_->Form().SalesHistory().History().has_value());
        Enter(Words("--tau 0.75"));
        window_->findChild<QMenu*>("recentScenariosMenu")->actions()[1]->trigger();
        QCOMPARE(Control<QLineEdit>("tau_tx")->text(), QString("0.5"));
    }

    void closingDuringARunStopsTheRunFirst() {
        Enter(
            Words("--sales-points 100 --periods 600 --init-periods 4 --alpha-beta-periods 6 "
                  "--warm-up 0 --horizon 1 --tau 0.5 --p2-low 1 --p2-up 3"));
        QTest::mouseClick(Control<QWidget>("Run"), Qt::LeftButton);
        QVERIFY(!Action("openScenarioAction")->isEnabled());
        QVERIFY(!Action("boundedConstantsAction")->isEnabled());
        Action("quitAction")->trigger();
        QVERIFY(window_->isVisible());  // until the run has stopped
        QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 30000);
        QVERIFY(messages_->errors.isEmpty());
    }

    void everyBoxAndLabelSaysWhatItMeans() {
        for (const sf::ui::FormControl& control : sf::ui::FormControls()) {
            const QString name = QString::fromUtf8(control.name);
            QVERIFY2(!Control<QWidget>(name)->toolTip().isEmpty(), qPrintable(name));
        }
        for (const char* unused : {"warmuptx", "Label15", "randomwalk"}) {
            QVERIFY2(Control<QWidget>(unused)->toolTip().contains("changes nothing in a run"),
                     unused);
        }
        Action("helpAction")->trigger();
        auto* page = window_->findChild<QWidget*>("HelpPage");
        QVERIFY(page != nullptr && page->isVisible());
        const QString help = page->findChild<QTextBrowser*>()->toPlainText();
        for (const sf::ui::ControlHelp& entry : sf::ui::FormHelp()) {
            QVERIFY2(help.contains(QString::fromUtf8(entry.title)), entry.title.data());
        }
        // Beyond the form: what a user meets after a run, and how to feed and keep one.
        QStringList topics{"The Results window",
                           "Two evaluations",
                           "Warnings and notes",
                           "Sales history files",
                           "Scenario files",
                           "Options",
                           "Keys"};
        for (const sf::SummaryColumn& column : sf::kSummaryColumns) {
            topics << QString::fromUtf8(column.label);
        }
        for (const QString& topic : topics) {
            QVERIFY2(help.contains(topic), qPrintable(topic));
        }
        // Tooltips are rich text, which wraps.
        QVERIFY(Control<QWidget>("tau_tx")->toolTip().startsWith("<p>"));
    }

  private:
    void OpenWindow(sf::NumberLocale locale = sf::ReadUserNumberLocale()) {
        window_.reset();
        auto messages = std::make_unique<RecordingMessages>();
        messages_ = messages.get();
        window_ = std::make_unique<MainWindow>(std::move(locale), std::move(messages));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    template <typename T>
    T* Control(const QString& name) const {
        T* control = window_->Form().findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return control;
    }

    QAction* Action(const QString& name) const {
        QAction* action = window_->findChild<QAction*>(name);
        if (action == nullptr) {
            qFatal("no action %s", qPrintable(name));
        }
        return action;
    }

    // Types the texts of the batch command's options into their boxes.
    QString ScenarioText() const {
        return QString::fromStdString(
            sf::ScenarioText(window_->Form().TypedScenario(), window_->Form().Locale()));
    }

    QStringList RecentEntries(const char* menuName) const {
        auto* menu = window_->findChild<QMenu*>(menuName);
        emit menu->aboutToShow();
        QStringList entries;
        for (const QAction* entry : menu->actions()) {
            entries << entry->text();
        }
        return entries;
    }

    void Enter(const QStringList& arguments) {
        for (qsizetype at = 0; at + 1 < arguments.size(); at += 2) {
            Control<QLineEdit>(BoxOfOption(arguments[at]))->setText(arguments[at + 1]);
        }
    }

    void RunInWindow() {
        QTest::mouseClick(Control<QWidget>("Run"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
    }

    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static void WriteFile(const QString& path, const QByteArray& content) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<MainWindow> window_;
    RecordingMessages* messages_ = nullptr;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
