#include "ui/forecast_window.h"
#include "ui/results_window.h"

#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "runtime/number_locale.h"
#include "ui/form_layout.h"
#include "window_test_support.h"

using sf::ui::ForecastWindow;

namespace {

const QStringList kTextBoxes = Words(
    "Endpointnumber Periodnumber periodsforinitialization periodsforalphabeta warmuptx "
    "horizontx tau_tx p1low p1up p2low p2up p3");
const QStringList kModels = Words("loga sqrot linear t_tplusn meanAR1 AR1 Normal");
const QStringList kModelControls =
    Words("a_label c_label mu_label phi_label n_label sigma_label p3 sigma_label2");

const QStringList kSmallRun = Words(
    "--sales-points 3 --periods 24 --init-periods 4 --alpha-beta-periods 6 --warm-up 0 "
    "--horizon 1 --tau 0.5 --p2-low 1 --p2-up 3");
// Long enough to be stopped part-way.
const QStringList kFullSizeRun = Words(
    "--sales-points 100 --periods 600 --init-periods 4 --alpha-beta-periods 6 --warm-up 0 "
    "--horizon 1 --tau 0.5 --p2-low 1 --p2-up 3");

QString Caption(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return button->text();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) {
        return frame->title();
    }
    return {};
}

}  // namespace

class ForecastWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setStyle(sf::ui::kFormStyle); }

    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(folder_->path()));
        window_ = OpenForm(messages_);
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup() {
        window_.reset();
        QDir::setCurrent(QDir::tempPath());
        folder_.reset();
    }

    void startsWithTheTrendModelAndItsDefaultLimits() {
        QCOMPARE(window_->objectName(), QString("Forecast"));
        QCOMPARE(window_->windowTitle(), QString("Sales Forecast"));
        QCOMPARE(window_->size(), QSize(646, 528));
        for (const QString& name : kTextBoxes) {
            const QString expected = name == "p1low" ? "10" : name == "p1up" ? "30" : "";
            QCOMPARE(Control<QLineEdit>(name)->text(), expected);
        }
        QCOMPARE(ShownModelControls(), QString("xx------"));
        QVERIFY(Control<QRadioButton>("loga")->isChecked());
        QVERIFY(!Control<QRadioButton>("randomwalk")->isChecked());
        QCOMPARE(Control<QLabel>("Label5")->text(), QString("τ"));
        QCOMPARE(Control<QLabel>("sigma_label")->text(), QString("σ"));
        QCOMPARE(Control<QLabel>("mu_label")->text(), QString("μ"));
        QCOMPARE(Control<QLabel>("phi_label")->text(), QString("ψ"));
        QVERIFY(Control<QProgressBar>("RunProgress")->isHidden());
    }

    void eachOptionShowsItsParameterControls_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("shown");  // x shown, - hidden, in the order of kModelControls
        const QStringList shown = {"xx------", "xx------", "xx------", "xx--x-x-",
                                   "--xx----", "--xx-xx-", "--x----x"};
        for (const QString& before : kModels) {
            for (qsizetype at = 0; at < kModels.size(); ++at) {
                QTest::addRow("%s then %s", qPrintable(before), qPrintable(kModels[at]))
                    << before << kModels[at] << shown[at];
            }
        }
    }

    void eachOptionShowsItsParameterControls() {
        QFETCH(QString, before);
        QFETCH(QString, selected);
        QFETCH(QString, shown);
        Select(before);
        Select(selected);
        QVERIFY(Control<QRadioButton>(selected)->isChecked());
        QCOMPARE(ShownModelControls(), shown);
        for (const char* box : {"p1low", "p1up", "p2low", "p2up"}) {
            QVERIFY(!Control<QWidget>(box)->isHidden());
        }
    }

    void tabVisitsTheControlsInTheirOrder_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("order");
        QStringList afterOptions = {
            "p1low",         "p1up",     "p2low",      "p2up",
            "Run",           "tau_tx",   "horizontx",  "periodsforinitialization",
            "Periodnumber",  "warmuptx", "randomwalk", "periodsforalphabeta",
            "Endpointnumber"};
        afterOptions.insert(4, "UseSalesHistory");  // "Use simulated demand" is disabled
        QStringList withP3 = QStringList{"t_tplusn"} + afterOptions + QStringList{"t_tplusn"};
        withP3.insert(5, "p3");
        QTest::newRow("p3 hidden")
            << "loga" << QStringList{"loga"} + afterOptions + QStringList{"loga"};
        QTest::newRow("p3 shown") << "t_tplusn" << withP3;
    }

    void tabVisitsTheControlsInTheirOrder() {
        QFETCH(QString, selected);
        QFETCH(QStringList, order);
        Select(selected);
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        Control<QWidget>("Endpointnumber")->setFocus();
        QStringList visited;
        for (qsizetype step = 0; step < order.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, order);
    }

    void controlsSitWhereTheFormPlacesThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");  // pixels, relative to the container
        QTest::newRow("Endpointnumber") << "Endpointnumber" << QRect(216, 16, 33, 19);
        QTest::newRow("horizontx") << "horizontx" << QRect(232, 176, 17, 19);
        QTest::newRow("loga") << "loga" << QRect(48, 280, 305, 21);
        QTest::newRow("Normal") << "Normal" << QRect(48, 424, 289, 17);
        QTest::newRow("Frame1") << "Frame1" << QRect(40, 264, 345, 209);
        QTest::newRow("randomwalk") << "randomwalk" << QRect(8, 184, 137, 17);
        QTest::newRow("Label13") << "Label13" << QRect(472, 264, 33, 25);
        QTest::newRow("p1up") << "p1up" << QRect(528, 295, 33, 19);
        QTest::newRow("Run") << "Run" << QRect(480, 448, 89, 33);
        QTest::newRow("UseSalesHistory") << "UseSalesHistory" << QRect(440, 381, 129, 25);
        QTest::newRow("DemandSource") << "DemandSource" << QRect(40, 474, 345, 17);
    }

    void controlsSitWhereTheFormPlacesThem() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QCOMPARE(Control<QWidget>(name)->geometry(), geometry);
    }

    void optionsLieOverTheFrameAndTheRunsOwnControlsOverNothing() {
        for (const QString& name : kModels) {
            const QWidget* option = Control<QWidget>(name);
            QCOMPARE(option->parentWidget(), window_.get());
            QCOMPARE(window_->childAt(option->geometry().center()), option);
        }
        QCOMPARE(Control<QWidget>("randomwalk")->parentWidget(), Control<QWidget>("Frame1"));
        for (const char* name : {"RunProgress", "Stop"}) {
            const QRect area = Control<QWidget>(name)->geometry();
            QVERIFY(window_->rect().contains(area));
            for (const QWidget* control :
                 window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (control->objectName() != name) {
                    QVERIFY2(!control->geometry().intersects(area),
                             qPrintable(control->objectName()));
                }
            }
        }
    }

    void everyCaptionFitsItsBox() {
        const int windowPixelSize = sf::ui::WindowFont().pixelSize();
        for (QWidget* control : window_->findChildren<QWidget*>()) {
            const QString text = Caption(*control);
            if (text.isEmpty()) {
                continue;
            }
            const QFontMetrics metrics(control->font());
            const QSize box = control->size();
            const QByteArray name = control->objectName().toUtf8();
            // Only the Greek letters have a font of their own.
            if (text.front().script() != QChar::Script_Greek) {
                QVERIFY2(control->font().pixelSize() == windowPixelSize, name.constData());
            }
            if (qobject_cast<QRadioButton*>(control) != nullptr) {
                QVERIFY2(control->sizeHint().width() <= box.width(), name.constData());
                QVERIFY2(metrics.height() <= box.height(), name.constData());
            } else if (qobject_cast<QGroupBox*>(control) != nullptr) {
                QVERIFY2(metrics.horizontalAdvance(text) < box.width(), name.constData());
            } else {
                const QRect needed = metrics.boundingRect(QRect(QPoint(), box),
                                                          Qt::TextWordWrap | Qt::AlignCenter, text);
                QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
                         name.constData());
            }
        }
    }

    void runWithTheStartUpTextsReportsTheFirstEmptyBox() {
        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(messages_->errors.size(), 1, 10000);
        QCOMPARE(messages_->errors[0],
                 QString("# of periods used for estimating initial alpha and beta: the box is "
                         "empty"));
        QVERIFY(messages_->closings.isEmpty());
        QVERIFY(QDir().entryList(QDir::Files).isEmpty());
        VerifyInputsEnabled(true);
        QCOMPARE(QApplication::focusWidget(), Control<QWidget>("periodsforalphabeta"));
        QCOMPARE(Control<QLineEdit>("p1low")->text(), QString("10"));
        QVERIFY(Control<QRadioButton>("loga")->isChecked());
    }

    // The window names the box by its label, the batch command by its option.
    void aRefusedBoxTakesTheFocusWithItsTextSelected_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("option");
        QTest::newRow("not a number") << Words("--sales-points 3x") << "Endpointnumber"
                                      << "3x"
                                      << "Number of Sales Points"
                                      << "--sales-points";
        QTest::newRow("other separator") << Words("--tau 0,5") << "tau_tx"
                                         << "0,5"
                                         << "Tau (τ)"
                                         << "--tau";
        QTest::newRow("out of range") << Words("--horizon -1") << "horizontx"
                                      << "-1"
                                      << "Forecasting horizon"
                                      << "--horizon";
        QTest::newRow("limit") << Words("--p2-up x") << "p2up"
                               << "x"
                               << "Upper Limit of c"
                               << "--p2-up";
        QTest::newRow("too many together")
            << Words("--init-periods 300 --alpha-beta-periods 300 --horizon 1")
            << "periodsforinitialization"
            << "300"
            << "The periods for initial mu and sigma, the periods for initial alpha and beta and "
               "the forecasting horizon"
            << "--init-periods, --alpha-beta-periods and --horizon";
    }

    void aRefusedBoxTakesTheFocusWithItsTextSelected() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, box);
        QFETCH(QString, selected);
        QFETCH(QString, label);
        QFETCH(QString, option);
        Enter(kSmallRun + arguments);
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(messages_->errors.size(), 1, 10000);
        QVERIFY2(messages_->errors[0].startsWith(label), qPrintable(messages_->errors[0]));
        QCOMPARE("sales-forecast-cli: " + option + messages_->errors[0].mid(label.size()),
                 RunBatchCommand(kSmallRun + arguments).errors);
        QCOMPARE(QApplication::focusWidget(), Control<QWidget>(box));
        QCOMPARE(Control<QLineEdit>(box)->selectedText(), selected);
    }

    void aRunWritesTheBatchCommandsReport_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("loga") << kSmallRun + Words("--model loga");
        QTest::newRow("t_tplusn") << kSmallRun +
                                         Words("--p2-low 5 --p2-up 20 --p3 5 --model t_tplusn");
        QTest::newRow("AR1") << kSmallRun + Words("--p2-low 0.3 --p2-up 0.7 --p3 3 --model AR1");
        QTest::newRow("Normal") << kSmallRun + Words("--p2-up 5 --model Normal");
        QTest::newRow("bounded") << kSmallRun + Words("--model sqrot --bounded-constants");
        QTest::newRow("no rolling forecast")
            << kSmallRun + Words("--periods 11 --bounded-constants");
        QTest::newRow("fault")
            << kSmallRun + Words("--p1-low 800 --p1-up 800 --p2-low 0 --p2-up 0 --model linear");
    }

    void aRunWritesTheBatchCommandsReport() {
        QFETCH(QStringList, arguments);
        WriteLastReport();
        Enter(arguments);
        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        VerifyInputsEnabled(false);
        QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
        VerifyInputsEnabled(true);

        const BatchResult batch = RunBatchCommand(arguments);
        QCOMPARE(ReadReport("out.txt"), batch.report);
        QCOMPARE(ReadReport("out.txt.incomplete"), batch.incomplete);
        if (batch.output.isEmpty()) {
            QCOMPARE(InAnyFolder(messages_->errors.join('\n'), folder_->path()), batch.errors);
            QCOMPARE(messages_->errors.size(), 1);
            QVERIFY(messages_->closings.isEmpty());
        } else {
            QCOMPARE(messages_->closings, QStringList{batch.output});
            QCOMPARE(messages_->notices.join('\n'), batch.errors);
            QVERIFY(messages_->errors.isEmpty());
        }
        // The warnings, naming the option as each front end does.
        QString warnings = batch.warnings;
        warnings.replace("--bounded-constants",
                         QString("\"%1\"").arg(sf::ui::kBoundedConstantsOption));
        QCOMPARE(messages_->warnings.join('\n'), warnings);
        if (!warnings.isEmpty()) {
            QCOMPARE(messages_->order, QStringList({"closing", "warning"}));
        }
    }

    void aSecondRunContinuesTheRandomSequence() {
        const QStringList arguments = kSmallRun + Words("--model sqrot");
        Enter(arguments);
        QByteArray reports[2];
        for (QByteArray& report : reports) {
            QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
            report = ReadReport("out.txt");
        }
        QVERIFY(reports[0] != reports[1]);
        QCOMPARE(reports[1], RunBatchCommand(arguments + Words("--runs 2")).report);
    }

    void enterOrReturnOnTheFocusedRunButtonRuns_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }

    void enterOrReturnOnTheFocusedRunButtonRuns() {
        QFETCH(int, key);
        Enter(kSmallRun);
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        Control<QWidget>("Run")->setFocus();
        QTest::keyClick(Control<QWidget>("Run"), Qt::Key(key));
        QTRY_COMPARE_WITH_TIMEOUT(messages_->closings.size(), 1, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
        QCOMPARE(ReadReport("out.txt"), RunBatchCommand(kSmallRun).report);
    }

    void stopEndsTheRunAndKeepsTheLastReport() {
        WriteLastReport();
        Enter(kFullSizeRun);
        QVERIFY(Control<QWidget>("Stop")->isHidden());
        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        QVERIFY(Control<QWidget>("Stop")->isEnabled());
        QTest::mouseClick(Control<QPushButton>("Stop"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
        VerifyInputsEnabled(true);
        QVERIFY(window_->isVisible());
        QCOMPARE(InAnyFolder(messages_->closings.join('\n'), folder_->path()),
                 QString("The run was stopped before it finished.\nThe report "
                         "\"<folder>/out.txt\" was left as it was; the lines written are in "
                         "\"<folder>/out.txt.incomplete\"."));
        QVERIFY(messages_->errors.isEmpty());
        QVERIFY(messages_->warnings.isEmpty());
        VerifyStoppedPartWay();

        // The next run is not stopped.
        Enter(kSmallRun);
        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
        QCOMPARE(messages_->closings.last(),
                 QString("End of forecast. Please see the output file"));
        QVERIFY(!QFile::exists("out.txt.incomplete"));
    }

    void closingDuringARunStopsItWithoutAMessageAndKeepsTheLastReport() {
        WriteLastReport();
        Enter(kFullSizeRun);
        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        window_->close();
        QVERIFY(window_->isVisible());  // until the run has stopped
        QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 30000);
        QVERIFY(messages_->notices.isEmpty());
        QVERIFY(messages_->closings.isEmpty());
        QVERIFY(messages_->errors.isEmpty());
        VerifyStoppedPartWay();
    }

    void aSalesHistoryLocksTheCountsAndTheModelAndARunReadsItsDemand() {
        TypeHistoryRun();
        WriteFile("sales.csv", kHistory);
        QCOMPARE(LoadSalesHistory("sales.csv"), QString());
        VerifyHistoryLock(true, "2", "6");
        QCOMPARE(Control<QLabel>("DemandSource")->text(),
                 QString("Demand read from sales.csv (42 bytes)"));

        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        QVERIFY(!Control<QWidget>("UseSalesHistory")->isEnabled());
        QVERIFY(!Control<QWidget>("UseSimulatedDemand")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
        QVERIFY(messages_->errors.isEmpty());
        VerifyHistoryLock(true, "2", "6");  // a run leaves the lock as it found it
        const QList<QByteArray> lines = ReadReport("out.txt").split('\n');
        QCOMPARE(lines[1], QByteArray("Demand read from sales.csv\r"));
        QCOMPARE(lines[4], QByteArray("12 07\r"));
        QCOMPARE(lines[9], QByteArray("16 09\r"));
        // The results describe the file, not a model, limits and seed that drew nothing.
        const auto* results = window_->findChild<sf::ui::ResultsWindow*>();
        QVERIFY(results != nullptr);
        QCOMPARE(results->findChild<QLabel*>("Sales history")->text(),
                 QString("sales.csv (2 sales points, 6 periods)"));
        for (const char* drawn : {"Model", "Random sequence", "Limits"}) {
            QVERIFY2(results->findChild<QLabel*>(drawn) == nullptr, drawn);
        }
    }

    // A history beyond 100 sales points runs as a catalogue: the bar counts sales points, no
    // report is written, the results list every sales point; a stop leaves every file as it was.
    void aCatalogueCountsSalesPointsAndWritesNoFile() {
        TypeHistoryRun();
        QString catalogue = "article 1";
        for (int sp = 2; sp <= 150; ++sp) {
            catalogue += QString(",article %1").arg(sp);
        }
        for (int t = 1; t <= 40; ++t) {
            catalogue += '\n';
            for (int sp = 1; sp <= 150; ++sp) {
                catalogue += QString(sp == 1 ? "%1" : ",%1").arg((t * 7 + sp * 3) % 11);
            }
        }
        WriteFile("catalogue.csv", catalogue.toUtf8().constData());
        QCOMPARE(LoadSalesHistory("catalogue.csv"), QString());
        WriteLastReport();
        const QSignalSpy counted(Control<QProgressBar>("RunProgress"), &QProgressBar::valueChanged);
        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        QCOMPARE(Control<QProgressBar>("RunProgress")->maximum(), 150);
        QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
        QVERIFY2(messages_->errors.isEmpty(), qPrintable(messages_->errors.join('\n')));
        QCOMPARE(messages_->closings, QStringList{"End of forecast."});
        // Every sales point counted, not 100 %.
        QVERIFY(std::ranges::any_of(
            counted, [](const QList<QVariant>& value) { return value.front().toInt() == 150; }));
        const auto* results = window_->findChild<sf::ui::ResultsWindow*>();
        QVERIFY(results != nullptr);
        QCOMPARE(results->findChild<QTableView*>("SalesPointsTable")->model()->rowCount(), 150);
        // The coming rows of every sales point, kept as the run made them.
        const QAbstractItemModel& next =
            *results->findChild<QTableView*>("NextDeliveriesTable")->model();
        QSet<QString> coming;
        for (int row = 0; row < next.rowCount(); ++row) {
            coming.insert(next.index(row, 0).data().toString());
        }
        QCOMPARE(coming.size(), 150);
        QVERIFY(coming.contains("article 150"));
        // No series are kept, so nothing is asked of it again.
        for (const char* box : {"TargetFillRate", "LostSaleCost", "TargetServiceLevel"}) {
            QVERIFY2(!results->findChild<QLineEdit*>(box)->isEnabled(), box);
        }
        const QStringList files = QStringList{"catalogue.csv", "out.txt"};
        QCOMPARE(QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden), files);
        QCOMPARE(ReadReport("out.txt"), kLastReport);

        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>("Stop"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Control<QWidget>("Run")->isEnabled(), 30000);
        QCOMPARE(messages_->closings.last(), QString("The run was stopped before it finished."));
        QCOMPARE(QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden), files);
        QCOMPARE(ReadReport("out.txt"), kLastReport);
    }

    void simulatedDemandBringsBackTheTypedCounts() {
        TypeHistoryRun();
        WriteFile("sales.csv", kHistory);
        QCOMPARE(LoadSalesHistory("sales.csv"), QString());
        // A second file does not take the typed counts' place.
        QCOMPARE(LoadSalesHistory("sales.csv"), QString());
        QTest::mouseClick(Control<QPushButton>("UseSimulatedDemand"), Qt::LeftButton);
        VerifyHistoryLock(false, "5", "40");
    }

    // A file dropped on the form is used as if chosen; the scenario to save names it.
    void aFileDroppedOnTheFormIsItsSalesHistory() {
        TypeHistoryRun();
        WriteFile("sales.csv", kHistory);
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(folder_->filePath("sales.csv"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &drop);
        QCOMPARE(AnswerHistoryPreview(*window_), QString());
        VerifyHistoryLock(true, "2", "6");
        const sf::Scenario saved = window_->TypedScenario();
        QVERIFY(saved.history);
        QCOMPARE(QString::fromStdString(saved.history->path.string()),
                 QFileInfo(folder_->filePath("sales.csv")).absoluteFilePath());
    }

    void aBadSalesHistoryShowsTheEnginesMessageAndChangesNothing() {
        TypeHistoryRun();
        WriteFile("bad.csv", "1,2\n3\n");
        QCOMPARE(LoadSalesHistory("bad.csv"), "The sales history \"" +
                                                  folder_->filePath("bad.csv") +
                                                  "\": row 2 has 1 cell where row 1 has 2");
        QVERIFY(messages_->errors.isEmpty());
        VerifyHistoryLock(false, "5", "40");

        WriteFile("sales.csv", kHistory);
        QCOMPARE(LoadSalesHistory("sales.csv"), QString());
        QVERIFY(!LoadSalesHistory("bad.csv").isEmpty());
        VerifyHistoryLock(true, "2", "6");

        // A pipe without a writer is refused at once instead of holding the window.
        QVERIFY(::mkfifo(QFile::encodeName(folder_->filePath("pipe.csv")).constData(), 0600) == 0);
        QCOMPARE(LoadSalesHistory("pipe.csv"), "The sales history \"" +
                                                   folder_->filePath("pipe.csv") +
                                                   "\" is a pipe (FIFO), not a file");
        VerifyHistoryLock(true, "2", "6");
    }

    // The report would take the place of the file its demand was read from: refused before the
    // run, the file as it was.
    void aRunNeverWritesItsReportOverItsSalesHistory() {
        TypeHistoryRun();
        WriteFile("out.txt", kHistory);
        QCOMPARE(LoadSalesHistory("out.txt"), QString());
        QTest::mouseClick(Control<QPushButton>("Run"), Qt::LeftButton);
        QCOMPARE(messages_->errors,
                 QStringList{"The report \"out.txt\" would write over the sales history \"" +
                             folder_->filePath("out.txt") + "\", the same file"});
        QVERIFY(Control<QWidget>("Run")->isEnabled());
        QCOMPARE(ReadReport("out.txt"), QByteArray(kHistory));
    }

  private:
    template <typename T>
    T* Control(const QString& name) const {
        T* control = window_->findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return control;
    }

    QString ShownModelControls() const {
        QString shown;
        for (const QString& name : kModelControls) {
            shown += Control<QWidget>(name)->isHidden() ? '-' : 'x';
        }
        return shown;
    }

    // Clicks the option's indicator: beside a short caption the box takes no clicks.
    void Select(const QString& option) {
        QRadioButton* button = Control<QRadioButton>(option);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
    }

    // Types the texts of the batch command's options into their boxes and sets its option.
    void Enter(const QStringList& arguments) {
        for (qsizetype at = 0; at < arguments.size(); ++at) {
            if (arguments[at] == "--bounded-constants") {
                window_->SetBoundedConstants(true);
            } else if (arguments[at] == "--model") {
                Select(arguments[++at]);
            } else {
                Control<QLineEdit>(BoxOfOption(arguments[at]))->setText(arguments[at + 1]);
                ++at;
            }
        }
    }

    // The last report as it was, and beside it the lines written until the stop, of the report
    // the full-size run would have written.
    void VerifyStoppedPartWay() const {
        // No temporary file is left beside them.
        QCOMPARE(QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"out.txt", "out.txt.incomplete"}));
        QCOMPARE(ReadReport("out.txt"), kLastReport);
        const QByteArray stopped = ReadReport("out.txt.incomplete");
        const QByteArray complete = RunBatchCommand(kFullSizeRun).report;
        QVERIFY(stopped.size() < complete.size());
        QVERIFY(complete.startsWith(stopped));
    }

    void VerifyInputsEnabled(bool enabled) const {
        for (const QString& name : kTextBoxes + kModels + QStringList{"randomwalk", "Run"}) {
            QVERIFY2(Control<QWidget>(name)->isEnabled() == enabled, qPrintable(name));
        }
        QCOMPARE(Control<QWidget>("RunProgress")->isHidden(), enabled);
        QCOMPARE(Control<QWidget>("Stop")->isHidden(), enabled);
    }

    // Two sales points over six periods.
    static constexpr char kHistory[] = "North,South\n12,7\n15,9\n11,6\n14,8\n13,7\n16,9\n";

    void TypeHistoryRun() {
        Enter(
            Words("--sales-points 5 --periods 40 --init-periods 2 --alpha-beta-periods 2 "
                  "--warm-up 0 --horizon 1 --tau 0.5 --p2-low 1 --p2-up 3"));
    }

    void WriteFile(const QString& name, const char* content) {
        QFile file(folder_->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    // Through the button, its file dialog and the preview, as a user would; the preview's
    // refusal, empty when the file is in use.
    QString LoadSalesHistory(const QString& name) {
        QTest::mouseClick(Control<QPushButton>("UseSalesHistory"), Qt::LeftButton);
        QFileDialog* dialog = nullptr;
        if (!QTest::qWaitFor([&] {
                return (dialog = window_->findChild<QFileDialog*>("SalesHistoryDialog")) != nullptr;
            })) {
            return QStringLiteral("no file dialog opened");
        }
        dialog->selectFile(folder_->filePath(name));
        static_cast<QDialog*>(dialog)->accept();  // as its Open button does
        return AnswerHistoryPreview(*window_);
    }

    // The count boxes, and with them the model's options and limits, take no input while a
    // sales history is in use.
    void VerifyHistoryLock(bool locked, const QString& salesPoints, const QString& periods) const {
        QCOMPARE(Control<QLineEdit>("Endpointnumber")->text(), salesPoints);
        QCOMPARE(Control<QLineEdit>("Periodnumber")->text(), periods);
        const QStringList lockedInputs = kModels + Words(
                                                       "randomwalk p1low p1up p2low p2up p3 "
                                                       "Endpointnumber Periodnumber");
        for (const QString& name : lockedInputs) {
            QVERIFY2(Control<QWidget>(name)->isEnabled() == !locked, qPrintable(name));
        }
        QVERIFY(Control<QWidget>("UseSalesHistory")->isEnabled());
        QCOMPARE(Control<QWidget>("UseSimulatedDemand")->isEnabled(), locked);
        QCOMPARE(Control<QWidget>("DemandSource")->isVisible(), locked);
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<ForecastWindow> window_;
    RecordingMessages* messages_ = nullptr;
};

QTEST_MAIN(ForecastWindowTest)
#include "forecast_window_test.moc"
