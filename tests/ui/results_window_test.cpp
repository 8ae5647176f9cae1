#include "ui/results_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "csv_reading.h"
#include "results/export_tables.h"
#include "results/next_deliveries.h"
#include "results/run_health.h"
#include "results/unseen_check.h"
#include "results_window_fixture.h"
#include "run_scenarios.h"
#include "ui/forecast_window.h"
#include "ui/form_layout.h"
#include "ui/run_charts.h"
#include "ui/screen_numbers.h"
#include "window_test_support.h"

using sf::ui::ChartPanel;
using sf::ui::ForecastWindow;
using sf::ui::ResultsWindow;

class ResultsWindowTest : public QObject, private ResultsWindowFixture {
    Q_OBJECT

  private slots:
    void initTestCase() { ResultsWindowFixture::StartSuite(); }
    void init() { Open(); }
    void cleanup() { Close(); }

    // The band shows the warnings as the form gave them; the switch shows the other evaluation
    // in the totals, the table and the trade-off.
    void theWarningsAreShownAndTheSwitchShowsTheOtherEvaluation() {
        ResultsWindow& results = RunInForm(DivergingRun());
        reference_->Run(DivergingRun());
        const sf::RunHealth health = sf::AssessRunHealth(*reference_->state);
        QVERIFY(!health.divergedSalesPoints.empty());  // the scenario is meant to have some
        const QLabel& warning = Child<QLabel>(results, "Warnings");
        QVERIFY(warning.isVisible());
        QVERIFY(warning.text().contains(sf::ui::LinesText(sf::HealthWarnings(
            health, std::string("\"") + sf::ui::kBoundedConstantsOption + "\""))));

        QCOMPARE(results.ShownEvaluation(), sf::Evaluation::asForecast);
        Child<QRadioButton>(results, "AsReported").click();
        QCOMPARE(results.ShownEvaluation(), sf::Evaluation::asReported);
        const sf::RunResults reference = ResultsOf(*reference_->state);
        const sf::EvaluationFigures& figures = reference.figures.Of(sf::Evaluation::asReported);
        QVERIFY(Child<QLabel>(results, "TotalsDescription")
                    .text()
                    .startsWith("as reported", Qt::CaseInsensitive));
        QCOMPARE(Child<QLabel>(results, "Fill rate").text(),
                 sf::ui::ScreenNumber(figures.sound.fillRate, sf::ui::kRateDecimals));
        const QAbstractItemModel& table = *Child<QTableView>(results, "FiguresTable").model();
        QCOMPARE(table.index(table.rowCount() - 1, 1).data(sf::ui::kValueRole).toDouble(),
                 figures.all.demand);
        const double tau = reference_->state->tau;
        QCOMPARE(Child<ChartPanel>(results, "TradeoffChart").Points("This run: τ = 0.5"),
                 (QList<QPointF>{{tau, *figures.sound.fillRate},
                                 {tau, *figures.sound.cycleServiceLevel}}));
    }

    // The band's offer runs again on the run's own demand with bounded constants; the random
    // sequence of this start carries on as if that run had not been made.
    void theBandRunsAgainBoundedOnTheSameDemand() {
        ResultsWindow& results = RunInForm(DivergingRun());
        QTableView& view = Child<QTableView>(results, "FiguresTable");
        const auto demandColumn = [&view] {
            QList<double> demand;
            // The row "sound" changes with the constants; every sales point's demand may not.
            for (int row = 0; row < view.model()->rowCount(); ++row) {
                if (view.model()->index(row, 0).data().toString() != "sound") {
                    demand << view.model()->index(row, 1).data(sf::ui::kValueRole).toDouble();
                }
            }
            return demand;
        };
        const QList<double> firstDemand = demandColumn();
        QPushButton& rerun = Child<QPushButton>(results, "BoundedRerun");
        QVERIFY(rerun.isVisible());
        rerun.click();
        QTRY_VERIFY_WITH_TIMEOUT(Child<QWidget>(*form_, "Run").isEnabled(), 30000);
        QCOMPARE(demandColumn(), firstDemand);
        QCOMPARE(Child<QLabel>(results, "Smoothing constants").text(),
                 QString("held within 0 and 1"));
        QVERIFY(Child<QLabel>(results, "Random sequence").text().contains("draw 1"));
        QVERIFY(!rerun.isVisible());  // bounded already

        // Side by side, both runs total the same sales points, so the same demand.
        Child<QListWidget>(results, "RunsList").selectAll();
        QCOMPARE(view.model()->rowCount(), 2);
        QCOMPARE(view.model()->index(0, 1).data(sf::ui::kValueRole).toDouble(),
                 view.model()->index(1, 1).data(sf::ui::kValueRole).toDouble());
        QVERIFY(!Child<QLabel>(results, "FiguresCaption").text().contains("the same 0 of"));
        Child<QListWidget>(results, "RunsList")
            .setCurrentRow(1, QItemSelectionModel::ClearAndSelect);

        RunInForm(DivergingRun());
        reference_->Run(DivergingRun());
        sf::RunOptions bounded;
        bounded.boundedConstants = true;
        const sf::RunOutcome second = sf::ExecuteRun(
            *reference_->state, reference_->source, InputsOf(DivergingRun()),
            sf::ReadUserNumberLocale(), "reference-out.txt", reference_->observer, bounded);
        QVERIFY(second.completed);
        QCOMPARE(view.model()
                     ->index(view.model()->rowCount() - 1, 1)
                     .data(sf::ui::kValueRole)
                     .toDouble(),
                 ResultsOf(*reference_->state).figures.Of(results.ShownEvaluation()).all.demand);
        QVERIFY(Child<QLabel>(results, "Random sequence").text().contains("draw 2"));
    }

    // The runs of this start are listed; two selected show side by side, and "Same demand as"
    // repeats one on its demand with the boxes as they stand, where the demand's boxes match.
    void runsAreListedComparedAndRepeatedOnTheSameDemand() {
        ResultsWindow& results = RunInForm(kSmallRun);
        QListWidget& list = Child<QListWidget>(results, "RunsList");
        QVERIFY(list.isHidden());  // a list of one
        Scenario second = kSmallRun;
        second["tau_tx"] = "1.5";
        second["horizontx"] = "2";
        RunInForm(second);
        QVERIFY(!list.isHidden());
        QCOMPARE(list.count(), 2);
        QVERIFY2(list.item(1)->text().startsWith("#2  loga, 4 × 30, S 6, A 8, H 2, τ 1.5"),
                 qPrintable(list.item(1)->text()));
        QVERIFY(list.item(1)->text().endsWith("demand: seed 5489, draw 2"));

        reference_->Run(kSmallRun);
        const sf::RunResults first = ResultsOf(*reference_->state);
        reference_->Run(second);
        const sf::RunResults secondResults = ResultsOf(*reference_->state);
        list.selectAll();
        const QAbstractItemModel& table = *Child<QTableView>(results, "FiguresTable").model();
        QCOMPARE(table.rowCount(), 2);
        // Both rows total the sales points sound in both runs, and the caption says how many.
        std::vector<bool> common = first.figures.sound;
        for (std::size_t sp = 0; sp < common.size(); ++sp) {
            common[sp] = common[sp] && secondResults.figures.sound[sp];
        }
        for (const auto& [row, reference] : {std::pair(0, &first), std::pair(1, &secondResults)}) {
            QCOMPARE(table.index(row, 0).data().toString(), QString("#%1").arg(row + 1));
            QCOMPARE(table.index(row, 1).data(sf::ui::kValueRole).toDouble(),
                     sf::FiguresOver(reference->series, sf::Evaluation::asForecast, common).demand);
        }
        const QString commonCount =
            QString("the same %1 of 4 sales points, those sound in every run shown")
                .arg(std::ranges::count(common, true));
        QVERIFY2(Child<QLabel>(results, "FiguresCaption").text().remove('&').contains(commonCount),
                 qPrintable(commonCount));
        const ChartPanel& tradeoff = Child<ChartPanel>(results, "TradeoffChart");
        QVERIFY(!tradeoff.Points("Fill rate (#1)").isEmpty());
        QVERIFY(!tradeoff.Points("Fill rate (#2)").isEmpty());

        // Run 1's demand with the second's τ and horizon: the same demand, run by run.
        list.setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        results.ShowEvaluation(sf::Evaluation::asReported);  // over the same periods
        const auto salesPointDemand = [&table] {
            QList<double> demand;
            for (int row = 0; row + 2 < table.rowCount(); ++row) {
                demand << table.index(row, 1).data(sf::ui::kValueRole).toDouble();
            }
            return demand;
        };
        const QList<double> firstDemand = salesPointDemand();
        Child<QPushButton>(results, "SameDemand").click();
        QTRY_VERIFY_WITH_TIMEOUT(Child<QWidget>(*form_, "Run").isEnabled(), 30000);
        QCOMPARE(list.count(), 3);
        QVERIFY(list.item(2)->text().contains("H 2, τ 1.5"));
        QVERIFY(list.item(2)->text().endsWith("demand: seed 5489, draw 1"));
        QCOMPARE(salesPointDemand(), firstDemand);
        // One number for the run everywhere: the list's, the chart's title, the scenario's.
        QVERIFY(list.item(2)->text().startsWith("#3  "));
        QVERIFY2(Child<ChartPanel>(results, "SalesPointChart").Title().contains("#3: "),
                 qPrintable(Child<ChartPanel>(results, "SalesPointChart").Title()));
        QCOMPARE(Child<QLabel>(results, "Run").text(), QString("#3"));

        // Other periods draw other demand: the button says why not, and nothing runs.
        Child<QLineEdit>(*form_, "Periodnumber").setText("31");
        list.setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        QPushButton& sameDemand = Child<QPushButton>(results, "SameDemand");
        QVERIFY(!sameDemand.isEnabled());
        QVERIFY2(sameDemand.toolTip().contains("the periods (31 here, 30 in that run)"),
                 qPrintable(sameDemand.toolTip()));
        sameDemand.click();
        QVERIFY(Child<QWidget>(*form_, "Run").isEnabled());
        QCOMPARE(list.count(), 3);
        Child<QLineEdit>(*form_, "Periodnumber").setText("30");
        list.setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        QVERIFY(sameDemand.isEnabled());
    }

    void aResultsFolderIsListedBesideAFreshRunAndARefusedOneChangesNothing() {
        ResultsWindow& results = RunInForm(kSmallRun);
        QListWidget& list = Child<QListWidget>(results, "RunsList");
        const QString golden = QStringLiteral(SF_GOLDEN_EXPORTS_DIR "/01-loga_base");
        QSignalSpy opened(&results, &ResultsWindow::ResultsFolderOpened);
        results.OpenResultsFolder(golden);
        QVERIFY(opened.wait(10000));
        QVERIFY(messages_->errors.isEmpty());
        QCOMPARE(list.count(), 2);
        QVERIFY2(list.item(1)->text().startsWith("#2  loga, 3 × 24, S 4"),
                 qPrintable(list.item(1)->text()));
        QVERIFY2(
            list.item(1)->text().endsWith("demand: seed 5489, draw 1, from folder 01-loga_base"),
            qPrintable(list.item(1)->text()));
        QPushButton& sameDemand = Child<QPushButton>(results, "SameDemand");
        QVERIFY(!sameDemand.isEnabled());
        QVERIFY(sameDemand.toolTip().contains("read from the results folder"));

        // Side by side with the fresh run: the folder's figures are its summary's.
        list.selectAll();
        const QAbstractItemModel& table = *Child<QTableView>(results, "FiguresTable").model();
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.index(1, 0).data().toString(), QString("#2"));
        double soundDemand = -1.0;
        for (const auto& row : CsvRows(FileBytes(golden + "/summary.csv").toStdString())) {
            if (row[3] == "as_forecast" && row[4] == "sound") {
                soundDemand = std::stod(row[8]);
            }
        }
        QCOMPARE(table.index(1, 1).data(sf::ui::kValueRole).toDouble(), soundDemand);
        const ChartPanel& tradeoff = Child<ChartPanel>(results, "TradeoffChart");
        QVERIFY(!tradeoff.Points("Fill rate (#1)").isEmpty());
        QVERIFY(!tradeoff.Points("Fill rate (#2)").isEmpty());

        // A folder whose summary was changed: refused naming the file, the list as it was.
        QTemporaryDir damaged;
        for (const QString& name : QDir(golden).entryList(QDir::Files | QDir::Hidden)) {
            QVERIFY(QFile::copy(golden + "/" + name, damaged.filePath(name)));
        }
        QFile file(damaged.filePath("summary.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        text.replace(",460,445,", ",461,445,");
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        results.OpenResultsFolder(damaged.path());
        QVERIFY(opened.wait(10000));
        QCOMPARE(messages_->errors.size(), 1);
        QVERIFY2(messages_->errors[0].contains("summary.csv, row 2, column demand"),
                 qPrintable(messages_->errors[0]));
        QCOMPARE(list.count(), 2);
    }

    void theSelectedSalesPointsSeriesAreTheRunStates() {
        ResultsWindow& results = RunInForm(kSmallRun);
        reference_->Run(kSmallRun);
        const sf::RunState& state = *reference_->state;
        // The report's own series, as reported.
        results.ShowEvaluation(sf::Evaluation::asReported);
        QTableView& table = Child<QTableView>(results, "FiguresTable");
        table.setFocus();
        for (int salesPoint = 1; salesPoint <= state.salesPointCount; ++salesPoint) {
            QCOMPARE(table.currentIndex().data(sf::ui::kValueRole).toInt(), salesPoint);
            QList<QPointF> demand, forecast, delivery, alpha;
            for (int t = 1; t <= state.periodNumber; ++t) {
                demand << QPointF(t, state.actualDemand(salesPoint, t));
                if (t >= state.initPeriods) {
                    forecast << QPointF(t, state.mu(salesPoint, t));
                    delivery << QPointF(t, state.delivery(salesPoint, t));
                }
                if (t > state.initPeriods) {
                    alpha << QPointF(t, state.alphaUsed(salesPoint, t));
                }
            }
            const ChartPanel& chart = Child<ChartPanel>(results, "SalesPointChart");
            QCOMPARE(chart.Points("Demand"), demand);
            QCOMPARE(chart.Points("Forecast"), forecast);
            QCOMPARE(chart.Points("Delivery"), delivery);
            QCOMPARE(Child<ChartPanel>(results, "ConstantsChart").Points("α (mean)"), alpha);
            QTest::keyClick(&table, Qt::Key_Down);  // the keyboard moves the selection
        }
        // The row "sound" shows the sums of its sales points.
        QCOMPARE(table.currentIndex().data().toString(), QString("sound"));
        QList<QPointF> summed;
        for (int t = 1; t <= state.periodNumber; ++t) {
            double sum = 0.0;
            for (int salesPoint = 1; salesPoint <= state.salesPointCount; ++salesPoint) {
                sum += state.actualDemand(salesPoint, t);
            }
            summed << QPointF(t, sum);
        }
        QCOMPARE(Child<ChartPanel>(results, "SalesPointChart").Points("Demand"), summed);
    }

    void theCheckOnUnseenPeriodsShowsTheEnginesRows() {
        ResultsWindow& results = RunInForm(kSmallRun);
        reference_->Run(kSmallRun);
        const sf::RunResults reference = ResultsOf(*reference_->state);
        QTest::keyClicks(&Child<QLineEdit>(results, "TargetFillRate"), "0.9");
        QTest::keyClicks(&Child<QLineEdit>(results, "LostSaleCost"), "5");
        QTest::keyClicks(&Child<QLineEdit>(results, "ReturnCost"), "1");
        QVERIFY(Child<QLabel>(results, "CostAnswer").text().contains("Cost τ"));

        // The engine's rows for the period typed, none before.
        QSpinBox& from = Child<QSpinBox>(results, "CheckFrom");
        const QAbstractItemModel& check = *Child<QTableView>(results, "CheckTable").model();
        QCOMPARE(check.rowCount(), 0);
        from.setValue(20);
        sf::ResultsRequest request;
        request.targetFillRate = 0.9;
        request.costs = sf::OutcomeCosts{5, 1};
        const sf::UnseenCheck expected = sf::CheckOnUnseenPeriods(reference, request, 20);
        QCOMPARE(check.rowCount(), static_cast<int>(expected.rows.size()));
        for (int row = 0; row < check.rowCount(); ++row) {
            const sf::CheckRow& engine = expected.rows[static_cast<std::size_t>(row)];
            QCOMPARE(check.index(row, 1).data(sf::ui::kValueRole).toDouble(), engine.tau);
            QCOMPARE(check.index(row, 4).data(sf::ui::kValueRole).toDouble(),
                     *engine.figures.cycleServiceLevel);
        }
    }

    // A run that keeps no series (a catalogue's) shows the coming rows it kept, asks nothing
    // anew, sends its charts to the Sales points tab, compares by its own row "sound" and
    // exports its kept rows without series.csv.
    void aRunWithoutSeriesShowsWhatItKept() {
        ResultsWindow& results = RunInForm(kSmallRun);
        reference_->Run(kSmallRun);
        auto kept = std::make_shared<sf::ui::CompletedRun>(reference_->Completed());
        kept->record.inputs = InputsOf(kSmallRun);
        kept->record.seriesLeftOut = true;
        const std::vector<sf::NextDelivery> next = sf::NextDeliveries(kept->results);
        kept->next = next;
        kept->results.series.salesPoints.clear();
        results.ShowRun(kept, {});
        QVERIFY(!Child<QLineEdit>(results, "TargetFillRate").isEnabled());
        QVERIFY(!Child<QLineEdit>(results, "TargetServiceLevel").isEnabled());
        QVERIFY(!Child<QSpinBox>(results, "CheckFrom").isEnabled());
        const QAbstractItemModel& coming =
            *Child<QTableView>(results, "NextDeliveriesTable").model();
        QCOMPARE(coming.rowCount(), static_cast<int>(next.size()));
        QCOMPARE(coming.index(0, 5).data(sf::ui::kValueRole).toDouble(), next[0].delivery.run);
        QVERIFY(Child<ChartPanel>(results, "SalesPointChart").Title().contains("Sales points tab"));

        QVERIFY(results.ExportTo(folder_->filePath("kept")));
        QVERIFY(!QFile::exists(folder_->filePath("kept/series.csv")));
        QCOMPARE(FileBytes(folder_->filePath("kept/next.csv")),
                 QByteArray::fromStdString(sf::NextCsv(kept->results, next)));

        Child<QListWidget>(results, "RunsList").selectAll();
        const QAbstractItemModel& table = *Child<QTableView>(results, "FiguresTable").model();
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.index(1, 0).data().toString(), QString("#2"));
        QCOMPARE(table.index(1, 1).data(sf::ui::kValueRole).toDouble(),
                 kept->results.figures.Of(sf::Evaluation::asForecast).sound.demand);
    }

    void aSecondRunRefreshesTheSameWindow() {
        ResultsWindow& first = RunInForm(kSmallRun);
        QTableView& table = Child<QTableView>(first, "FiguresTable");
        table.selectRow(2);
        Scenario second = kSmallRun;
        second["tau_tx"] = "1.5";
        ResultsWindow& refreshed = RunInForm(second);
        QCOMPARE(&refreshed, &first);
        QCOMPARE(form_->findChildren<ResultsWindow*>().size(), 1);

        reference_->Run(kSmallRun);
        reference_->Run(second);  // the random sequence carries on, as in the form
        const sf::RunResults reference = ResultsOf(*reference_->state);
        const auto& model = *table.model();
        QCOMPARE(model.index(model.rowCount() - 1, 1).data(sf::ui::kValueRole).toDouble(),
                 reference.figures.Of(reference.Headline()).all.demand);
        QCOMPARE(Child<QLabel>(refreshed, "τ").text(), QString("1.5"));
        QVERIFY(Child<QLabel>(refreshed, "Random sequence").text().contains("draw 2"));
        QCOMPARE(table.currentIndex().data(sf::ui::kValueRole).toInt(), 3);  // still selected
        QVERIFY(
            !Child<ChartPanel>(refreshed, "TradeoffChart").Points("This run: τ = 1.5").isEmpty());
    }

    // Runs with nothing or little to show still show it, without a fault.
    void runsWithEmptyStretchesAreShown_data() {
        QTest::addColumn<QStringList>("boxes");  // sales points, periods, S
        QTest::newRow("no periods") << QStringList{"2", "0", "6"};
        QTest::newRow("windows cover every period") << QStringList{"2", "12", "6"};
        QTest::newRow("one sales point, one period") << QStringList{"1", "1", "1"};
    }

    void runsWithEmptyStretchesAreShown() {
        QFETCH(QStringList, boxes);
        Scenario scenario = kSmallRun;
        scenario["Endpointnumber"] = boxes[0];
        scenario["Periodnumber"] = boxes[1];
        scenario["periodsforinitialization"] = boxes[2];
        ResultsWindow& results = RunInForm(scenario);
        QVERIFY(messages_->errors.isEmpty());
        const QAbstractItemModel& table = *Child<QTableView>(results, "FiguresTable").model();
        QCOMPARE(table.rowCount(), boxes[0].toInt() + 2);
        // Nothing was forecast on a rolling basis: the window leads with the report's own.
        QCOMPARE(results.ShownEvaluation(), sf::Evaluation::asReported);
        Child<QLineEdit>(results, "TargetFillRate").setText("0.9");
        for (int tab = 0; tab < 3; ++tab) {
            Child<QTabWidget>(results, "ChartTabs").setCurrentIndex(tab);
            QVERIFY(results.SaveChartTo(QString("chart%1.png").arg(tab)));
        }
        QVERIFY(results.ExportTo("export"));
    }

    void theKeyboardSwitchesChartsAndReachesEveryBox() {
        ResultsWindow& results = RunInForm(kSmallRun);
        results.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&results));
        QTest::keyClick(&results, Qt::Key_T, Qt::AltModifier);
        QCOMPARE(Child<QTabWidget>(results, "ChartTabs").currentIndex(), TradeoffTab(results));
        QTest::keyClick(&results, Qt::Key_F, Qt::AltModifier);
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int step = 0; step < 3; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited,
                 (QStringList{"TargetFillRate", "LostSaleCost", "ReturnCost", "BothEvaluations"}));
    }

    // The window's keys work wherever the cursor is, the boxes included, and the window fits
    // a small screen (1,024 x 700 logical pixels) with its header in at most a third of it.
    void shortcutsWorkFromEveryBoxAndTheWindowFitsASmallScreen() {
        ResultsWindow& results = RunInForm(DivergingRun());
        results.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&results));
        for (const char* name : {"TargetFillRate", "LostSaleCost", "ReturnCost"}) {
            QLineEdit& box = Child<QLineEdit>(results, name);
            Child<QTabWidget>(results, "ChartTabs").setCurrentIndex(TradeoffTab(results));
            box.setFocus();
            bool asked = false;
            QTimer::singleShot(200, [&asked] {
                if (QWidget* dialog = QApplication::activeModalWidget()) {
                    asked = true;
                    dialog->close();
                }
            });
            QTest::keyClick(&box, Qt::Key_E, Qt::ControlModifier);  // Export results...
            QVERIFY2(asked, name);
            QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
            results.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&results));
        }

        const QSize small(1024, 700);
        QVERIFY2(results.minimumSizeHint().width() <= small.width() &&
                     results.minimumSizeHint().height() <= small.height(),
                 qPrintable(QString("%1 x %2")
                                .arg(results.minimumSizeHint().width())
                                .arg(results.minimumSizeHint().height())));
        results.resize(small);
        QTRY_COMPARE(results.size(), small);
        QVERIFY(Child<QWidget>(results, "Header").height() <= small.height() / 3);
        ExpectEveryTabReadable(results, small);
    }

    // At 1,024 x 700 the table takes a tab of its own, and every tab shows it or its chart at
    // least kLeastChartHeight high with the table's rows; taller, the table is back above the
    // tabs. Closed, the window keeps its size and place for the next start.
    void everyTabIsReadableOnASmallScreenAndThePlaceIsKept() {
        ResultsWindow& results = RunInForm(DivergingRun());
        const QSize small(1024, 700);
        results.resize(small);
        QTRY_COMPARE(results.size(), small);
        QTabWidget& tabs = Child<QTabWidget>(results, "ChartTabs");
        QCOMPARE(tabs.count(), 8);
        QCOMPARE(tabs.tabText(0), QString("Fi&gures"));
        // A run without a season says so on the Season page, in place of its chart.
        QVERIFY(Child<QLabel>(results, "SeasonNote").text().contains("no season"));
        // Every tab's name shows without scrolling the bar: short, the full one in its tooltip.
        QVERIFY2(tabs.tabBar()->sizeHint().width() <= tabs.width(),
                 qPrintable(QString("%1 px").arg(tabs.tabBar()->sizeHint().width())));
        QCOMPARE(tabs.tabToolTip(3), QString("Trade-off over τ"));
        ExpectEveryTabReadable(results, small);

        results.resize(1400, 900);
        QTRY_COMPARE(tabs.count(), 7);
        QCOMPARE(tabs.tabText(2), QString("&Trade-off over τ"));
        QTableView& table = Child<QTableView>(results, "FiguresTable");
        QVERIFY(table.isVisible());
        QVERIFY(table.height() > 10 * table.verticalHeader()->defaultSectionSize());

        results.setGeometry(40, 30, 1100, 760);
        const QRect left = results.geometry();
        results.close();
        form_.reset();
        form_ = OpenForm(messages_);
        ResultsWindow& again = RunInForm(kSmallRun);
        QCOMPARE(again.geometry(), left);
    }

    // The trade-off's tab: the third of the charts, after the table's where it has one.
    static int TradeoffTab(const ResultsWindow& results) {
        const QTabWidget& tabs = Child<QTabWidget>(results, "ChartTabs");
        const ChartPanel& chart = Child<ChartPanel>(results, "TradeoffChart");
        for (int tab = 0; tab < tabs.count(); ++tab) {
            if (tabs.widget(tab)->isAncestorOf(&chart)) {
                return tab;
            }
        }
        return -1;
    }

    static void ExpectEveryTabReadable(ResultsWindow& results, const QSize& size) {
        QTabWidget& tabs = Child<QTabWidget>(results, "ChartTabs");
        for (int tab = 0; tab < tabs.count(); ++tab) {
            tabs.setCurrentIndex(tab);
            QApplication::processEvents();
            const QString name = tabs.tabText(tab);
            QVERIFY2(results.size() == size, qPrintable(name));
            QVERIFY2(tabs.currentWidget()->geometry().bottom() < size.height(), qPrintable(name));
            auto* chart = qobject_cast<ChartPanel*>(tabs.currentWidget());
            if (chart == nullptr) {
                chart = tabs.currentWidget()->findChild<ChartPanel*>();
            }
            if (chart != nullptr && chart->isVisible()) {
                const QWidget& view = *chart->findChild<QGraphicsView*>();
                QVERIFY2(view.height() >= sf::ui::kLeastChartHeight,
                         qPrintable(QString("%1: %2 px").arg(name).arg(view.height())));
            }
            // The check on unseen periods takes only the room the user drags open for it.
            auto* table = tabs.currentWidget()->findChild<QTableView*>();
            if (table != nullptr && table->objectName() != QStringLiteral("CheckTable")) {
                QVERIFY2(table->height() > 6 * table->verticalHeader()->defaultSectionSize(),
                         qPrintable(QString("%1: %2 px").arg(name).arg(table->height())));
            }
        }
    }

    // What the pages' boxes ask is asked of the run shown and answered on each page; the
    // Copy table button copies the figures and says so.
    void theBoxesAreAskedOfTheRunShownAndTheTableIsCopied() {
        ResultsWindow& results = RunInForm(kSmallRun);
        reference_->Run(kSmallRun);
        sf::ResultsRequest request;
        request.targetFillRate = 0.9;
        request.targetServiceLevel = 0.8;
        const sf::RunResults reference = sf::ComputeResults(*reference_->state, request);
        const std::vector<sf::NextDelivery> next = sf::NextDeliveries(reference);
        QVERIFY(!next.empty());
        const QAbstractItemModel& deliveries =
            *Child<QTableView>(results, "NextDeliveriesTable").model();
        QVERIFY(!deliveries.index(0, 7).data(sf::ui::kValueRole).isValid());
        Child<QLineEdit>(results, "TargetServiceLevel").setText("0.8");
        Child<QLineEdit>(results, "TargetFillRate").setText("0.9");
        QCOMPARE(deliveries.index(0, 7).data(sf::ui::kValueRole).toDouble(),
                 *next[0].delivery.serviceLevel);
        const std::optional<sf::TargetAnswer>& target =
            reference.Answers(reference.Headline()).target;
        QVERIFY(target && target->tau);
        QVERIFY(Child<QLabel>(results, "TargetAnswer")
                    .text()
                    .startsWith("τ = " + sf::ui::ScreenShort(*target->tau, sf::ui::kTauDecimals)));

        QTest::mouseClick(&Child<QPushButton>(results, "CopyTable"), Qt::LeftButton);
        const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), Child<QTableView>(results, "FiguresTable").model()->rowCount() + 1);
        QVERIFY(lines[0].startsWith("Sales point\tDemand\t"));
        QCOMPARE(Child<QLabel>(results, "Status").text(),
                 QString("The table was copied as tab-separated text."));
    }

    void theVisibleChartIsSavedAsPngOrSvg() {
        ResultsWindow& results = RunInForm(kSmallRun);
        QVERIFY(results.SaveChartTo("chart.png"));
        QVERIFY(FileBytes("chart.png").startsWith("\x89PNG"));
        Child<QTabWidget>(results, "ChartTabs").setCurrentIndex(TradeoffTab(results));
        QVERIFY(results.SaveChartTo("tradeoff.svg"));
        const QByteArray svg = FileBytes("tradeoff.svg");
        QVERIFY(svg.contains("<svg"));
        QVERIFY(svg.contains("What another"));  // the trade-off's title, not the first chart's
        QVERIFY(messages_->errors.isEmpty());

        QVERIFY(!results.SaveChartTo("no-such-folder/chart.png"));
        QCOMPARE(messages_->errors.size(), 1);
        QVERIFY(messages_->errors[0].contains("no-such-folder/chart.png"));
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "results_window_test.moc"
