#include "ui/chart_builder.h"

#include <QApplication>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "results_pages_test.h"
#include "run_scenarios.h"
#include "ui/run_charts.h"

using sf::ui::ChartPanel;

namespace {

class ChartPanelTest : public PageSuite {
    Q_OBJECT

  private slots:
    // Dated ticks step as a calendar counts: months by 1, 2, 3, 6 or 12, never 10; weeks by
    // quarters of a year; numbered periods by 1, 2 or 5 times a power of ten.
    void datedTicksStepAsACalendarCounts() {
        const QStringList months{"1979-01-31", "1979-02-28"};
        const QStringList weeks{"2023-01-02", "2023-01-09"};
        const QStringList days{"2023-01-02", "2023-01-03"};
        const QStringList numbers{"1", "2"};
        const struct {
            const QStringList* labels;
            double span;
            double step;
        } cases[] = {
            {&months, 72.0, 12.0}, {&months, 40.0, 6.0},     {&months, 20.0, 3.0},
            {&months, 8.0, 1.0},   {&months, 2000.0, 360.0}, {&weeks, 100.0, 13.0},
            {&weeks, 400.0, 52.0}, {&days, 50.0, 7.0},       {&numbers, 72.0, 10.0},
        };
        for (const auto& c : cases) {
            QCOMPARE(sf::ui::LabelStep(*c.labels, c.span), c.step);
        }
    }

    // Dated periods name the ticks and the period under the pointer by their dates, in the
    // saved picture too; zooming in names more of them; numbered periods keep their numbers.
    void aDatedAxisNamesItsTicksAndThePeriodUnderThePointer() {
        sf::RunSeries series;
        series.dates = {"2023-01-02", "2023-01-09"};
        const QStringList weeks = sf::ui::PeriodLabels(series, 30);
        QList<QPointF> demand;
        for (int t = 1; t <= 30; ++t) {
            demand << QPointF(t, t % 7);
        }
        const sf::ui::ChartContent dated{"Weekly",
                                         {"Date", 0, {1.0, 30.0}, weeks},
                                         {"Units", 0, {0.0, 7.0}},
                                         {},
                                         {{"Demand", demand}}};
        sf::ui::ChartContent numbered = dated;
        numbered.x = {"Period", 0, {1.0, 30.0}};
        ChartPanel panel;
        panel.resize(900, 500);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        auto* view = panel.findChild<QGraphicsView*>();
        const QRegularExpression datedReading(
            R"(^Date (\d{4}-\d\d-\d\d) \(period (\d+)\): Demand \d$)");
        const QRegularExpression numberedReading(R"(^Period (\d+): Demand \d$)");
        for (const sf::ui::ChartContent* content :
             std::initializer_list<const sf::ui::ChartContent*>{&dated, &numbered, &dated}) {
            panel.Draw(*content);
            QCoreApplication::processEvents();
            const QPointF centre = view->viewport()->rect().center();
            QMouseEvent move(QEvent::MouseMove, centre, view->viewport()->mapToGlobal(centre),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &move);
            const QString reading = panel.Readout();
            if (content == &numbered) {
                QVERIFY2(numberedReading.match(reading).hasMatch(), qPrintable(reading));
                continue;
            }
            const QRegularExpressionMatch match = datedReading.match(reading);
            QVERIFY2(match.hasMatch(), qPrintable(reading));
            QCOMPARE(match.captured(1), weeks[match.captured(2).toInt() - 1]);
        }
        // Ticks every 4 weeks over the whole chart, every period zoomed in about period 15.
        QVERIFY(!panel.SaveAs("whole.svg"));
        const QByteArray whole = FileBytes("whole.svg");
        QVERIFY(whole.contains(weeks[3].toUtf8()) && whole.contains(weeks[27].toUtf8()));
        QVERIFY(!whole.contains(weeks[4].toUtf8()));
        QVERIFY(!whole.contains(weeks[13].toUtf8()));
        for (int step = 0; step < 6; ++step) {
            QWheelEvent wheel(view->viewport()->rect().center(),
                              view->viewport()->mapToGlobal(view->viewport()->rect().center()), {},
                              {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &wheel);
        }
        QVERIFY(!panel.SaveAs("zoomed.svg"));
        const QByteArray zoomed = FileBytes("zoomed.svg");
        const auto [low, high] = panel.HorizontalRange();
        QVERIFY(high - low < 10.0);
        for (int period = int(std::ceil(low)); period <= int(high); ++period) {
            QVERIFY2(zoomed.contains(weeks[period - 1].toUtf8()), qPrintable(weeks[period - 1]));
        }
    }
};

}  // namespace

std::unique_ptr<QObject> ChartPanelTests() {
    return std::make_unique<ChartPanelTest>();
}

#include "chart_builder_test.moc"
