#include "ui/run_charts.h"

#include <QTest>

using sf::ui::ChartContent;
using sf::ui::ChartCurve;

namespace {

// Three taus, the run's own in the middle; fill rates 0.8..0.95, service levels 0.5..0.9 and,
// with costs, costs 4..10, the cheapest at the run's tau: the answers of the evaluation the
// chart shows.
sf::RunResults TradeoffResults(bool target, bool reached, bool costs) {
    sf::RunResults results;
    sf::EvaluationAnswers& answers = results.answers[sf::IndexOf(results.Headline())];
    answers.tradeoff = {
        {0.0, 0.8, 0.5, 20, 1, 81, 80, std::nullopt, false},
        {0.5, 0.9, 0.7, 10, 2, 92, 90, std::nullopt, true},
        {1.0, 0.95, 0.9, 5, 6, 101, 95, std::nullopt, false},
    };
    if (costs) {
        for (const auto& [row, cost] : {std::pair(0, 10.0), {1, 4.0}, {2, 6.0}}) {
            answers.tradeoff[std::size_t(row)].cost = cost;
        }
        answers.cheapest = sf::CostAnswer{0.5, 4.0, ""};
    }
    if (target) {
        answers.target = sf::TargetAnswer{0.9, std::nullopt, std::nullopt, "not reached"};
        if (reached) {
            answers.target->tau = 0.5;
            answers.target->rate = 0.9;
        }
    }
    return results;
}

const ChartCurve* CurveNamed(const ChartContent& chart, const QString& name) {
    for (const ChartCurve& curve : chart.curves) {
        if (curve.name == name) {
            return &curve;
        }
    }
    return nullptr;
}

QStringList CurveNames(const ChartContent& chart) {
    QStringList names;
    for (const ChartCurve& curve : chart.curves) {
        names << curve.name;
    }
    return names;
}

void CompareRange(const std::pair<double, double>& range, double low, double high) {
    QCOMPARE(range.first, low);
    QCOMPARE(range.second, high);
}

}  // namespace

class RunChartsTest : public QObject {
    Q_OBJECT

  private slots:
    void theTradeoffChartMarksTheRunsTauTheTargetAndTheCheapestTau_data() {
        QTest::addColumn<bool>("target");
        QTest::addColumn<bool>("reached");
        QTest::addColumn<bool>("costs");
        QTest::addColumn<QStringList>("marks");  // after the two curves of rates
        QTest::newRow("nothing asked")
            << false << false << false << QStringList{"This run: τ = 0.5"};
        QTest::newRow("target reached")
            << true << true << false << QStringList{"This run: τ = 0.5", "Target 0.9: τ = 0.5"};
        QTest::newRow("target not reached")
            << true << false << false << QStringList{"This run: τ = 0.5"};
        QTest::newRow("costs") << false << false << true
                               << QStringList{"This run: τ = 0.5", "Cost of lost sales and returns",
                                              "Cheapest: τ = 0.5"};
    }

    void theTradeoffChartMarksTheRunsTauTheTargetAndTheCheapestTau() {
        QFETCH(bool, target);
        QFETCH(bool, reached);
        QFETCH(bool, costs);
        QFETCH(QStringList, marks);
        const sf::RunResults results = TradeoffResults(target, reached, costs);
        const ChartContent chart =
            sf::ui::TradeoffChart({{"run 1", &results}}, results.Headline(), false, "run 1");
        QCOMPARE(CurveNames(chart), QStringList({"Fill rate", "Cycle service level"}) + marks);
        QCOMPARE(CurveNamed(chart, "Fill rate")->points,
                 (QList<QPointF>{{0, 0.8}, {0.5, 0.9}, {1, 0.95}}));
        QCOMPARE(CurveNamed(chart, "This run: τ = 0.5")->points,
                 (QList<QPointF>{{0.5, 0.9}, {0.5, 0.7}}));
        if (const ChartCurve* mark = CurveNamed(chart, "Target 0.9: τ = 0.5")) {
            QCOMPARE(mark->points, QList<QPointF>{QPointF(0.5, 0.9)});
        }
        // The horizontal axis spans the taus; the rates' axis leaves 5% of their span above and
        // below and does not reach out to the costs, which have an axis of their own.
        CompareRange(chart.x.range, 0.0, 1.0);
        CompareRange(chart.y.range, 0.4775, 0.9725);
        QCOMPARE(chart.rightY.has_value(), costs);
        if (costs) {
            CompareRange(chart.rightY->range, 3.7, 10.3);
            const ChartCurve& cheapest = *CurveNamed(chart, "Cheapest: τ = 0.5");
            QVERIFY(cheapest.marker && cheapest.rightAxis);
            QCOMPARE(cheapest.points, QList<QPointF>{QPointF(0.5, 4.0)});
        }
    }

    void severalRunsAndBothEvaluationsNameEachCurveByWhatTellsThemApart() {
        sf::RunResults first = TradeoffResults(false, false, true);
        first.answers[sf::IndexOf(sf::Evaluation::asForecast)].tradeoff = {
            {0.0, 0.6, 0.4, 30, 1, 71, 70, std::nullopt, true}};
        const sf::RunResults second = TradeoffResults(false, false, false);

        const ChartContent both =
            sf::ui::TradeoffChart({{"run 1", &first}}, sf::Evaluation::asForecast, true, "run 1");
        QCOMPARE(CurveNamed(both, "Fill rate (as forecast)")->points,
                 QList<QPointF>{QPointF(0, 0.6)});
        QCOMPARE(CurveNamed(both, "Fill rate (as reported)")->points,
                 (QList<QPointF>{{0, 0.8}, {0.5, 0.9}, {1, 0.95}}));
        // One run keeps its marks, in the evaluation shown.
        QVERIFY(CurveNamed(both, "This run: τ = 0") != nullptr);

        // Several runs overlay their curves only: each run's marks would say nothing apart.
        const ChartContent runs = sf::ui::TradeoffChart({{"run 1", &first}, {"run 2", &second}},
                                                        sf::Evaluation::asReported, false, "");
        QCOMPARE(CurveNames(runs),
                 (QStringList{"Fill rate (run 1)", "Cycle service level (run 1)",
                              "Fill rate (run 2)", "Cycle service level (run 2)"}));
        QVERIFY(!runs.rightY);
    }

    void periodsAreLabelledByTheirDatesContinuedByTheirStep_data() {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<int>("lastPeriod");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("no dates: the numbers serve") << QStringList{} << 3 << QStringList{};
        QTest::newRow("days over the new year")
            << QStringList{"2023-12-30", "2023-12-31"} << 4
            << QStringList{"2023-12-30", "2023-12-31", "2024-01-01", "2024-01-02"};
        QTest::newRow("weeks over a leap day")
            << QStringList{"2024-02-19", "2024-02-26"} << 3
            << QStringList{"2024-02-19", "2024-02-26", "2024-03-04"};
        QTest::newRow("months keep their day")
            << QStringList{"2023-11-15", "2023-12-15"} << 4
            << QStringList{"2023-11-15", "2023-12-15", "2024-01-15", "2024-02-15"};
        QTest::newRow("a 28th after February stays the 28th")
            << QStringList{"2023-01-28", "2023-02-28"} << 3
            << QStringList{"2023-01-28", "2023-02-28", "2023-03-28"};
        QTest::newRow("month ends stay month ends")
            << QStringList{"2023-12-31", "2024-01-31"} << 5
            << QStringList{"2023-12-31", "2024-01-31", "2024-02-29", "2024-03-31", "2024-04-30"};
        QTest::newRow("fewer periods than dates")
            << QStringList{"2023-01-02", "2023-01-03", "2023-01-04"} << 2
            << QStringList{"2023-01-02", "2023-01-03"};
        QTest::newRow("one date has no step")
            << QStringList{"2023-01-02"} << 3 << QStringList{"2023-01-02", "2", "3"};
    }

    void periodsAreLabelledByTheirDatesContinuedByTheirStep() {
        QFETCH(QStringList, dates);
        QFETCH(int, lastPeriod);
        QFETCH(QStringList, labels);
        sf::RunSeries series;
        for (const QString& date : dates) {
            series.dates.push_back(date.toStdString());
        }
        QCOMPARE(sf::ui::PeriodLabels(series, lastPeriod), labels);
    }

    void aRowsChartsShowItsSeriesOrTheSumsOfItsSalesPoints_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<QPointF>>("forecast");
        QTest::addColumn<QList<QPointF>>("alpha");
        QTest::addColumn<bool>("coming");  // a coming period after the last
        using Kind = sf::ui::RowSubject::Kind;
        QTest::newRow("a sales point by its name")
            << int(Kind::salesPoint) << 1
            << "North (sales point 1): demand, forecast and delivery as reported — run 2"
            << QList<QPointF>{{2, 5.5}, {3, 6.0}} << QList<QPointF>{QPointF(3, 0.2)} << false;
        QTest::newRow("a sales point and its coming period")
            << int(Kind::salesPoint) << 1
            << "North (sales point 1): demand, forecast and delivery as reported — run 2"
            << QList<QPointF>{{2, 5.5}, {3, 6.0}} << QList<QPointF>{QPointF(3, 0.2)} << true;
        QTest::newRow("sound leaves the diverged out")
            << int(Kind::sound) << 0
            << "The 1 sound sales point summed: demand, forecast and delivery as reported — run 2"
            << QList<QPointF>{{2, 5.5}, {3, 6.0}} << QList<QPointF>{QPointF(3, 0.2)} << false;
        QTest::newRow("all sums every one, constants their mean")
            << int(Kind::all) << 0
            << "The 2 sales points summed: demand, forecast and delivery as reported (forecasts "
               "that diverged leave the chart) — run 2"
            << QList<QPointF>{{2, 5.5 + 1e30}, {3, 6.0 + 2e30}} << QList<QPointF>{QPointF(3, 0.6)}
            << false;
        QTest::newRow("no row") << int(Kind::run) << 1
                                << "Select a row of the table to see its series — run 2"
                                << QList<QPointF>{} << QList<QPointF>{} << false;
    }

    void aRowsChartsShowItsSeriesOrTheSumsOfItsSalesPoints() {
        QFETCH(int, kind);
        QFETCH(int, number);
        QFETCH(QString, title);
        QFETCH(QList<QPointF>, forecast);
        QFETCH(QList<QPointF>, alpha);
        sf::RunResults results;
        sf::RunSeries& series = results.series;
        QFETCH(bool, coming);
        series.periodNumber = 3;
        series.names = {"North", "South"};
        sf::SalesPointSeries point;
        point.demand = {1, {5.0, 6.0, 7.0}};
        point.asReported.forecast = {2, {5.5, 6.0}};
        point.asReported.delivery = {2, {6.0, 7.0}};
        point.alpha = {3, {0.2}};
        point.beta = {3, {0.1}};
        sf::SalesPointSeries runaway = point;
        runaway.demand = {1, {0.0, 0.0, 0.0}};
        runaway.asReported.forecast = {2, {1e30, 2e30}};
        runaway.alpha = {3, {1.0}};
        series.salesPoints = {point, runaway};
        results.figures.sound = {true, false};
        if (coming) {
            series.comingPeriods = {4, 4};
            point.coming.forecast = {4, {6.5}};
            point.coming.delivery = {4, {7.0}};
            series.salesPoints.front() = point;
            series.dates = {"2023-01-02", "2023-01-09", "2023-01-16"};
        }

        const sf::ui::SalesPointCharts charts = sf::ui::ChartsOfRow(
            results, {sf::ui::RowSubject::Kind(kind), number}, sf::Evaluation::asReported, "run 2");
        QCOMPARE(charts.demand.title, title);
        // Dated periods name the axis by their dates, the coming one's too.
        const QStringList dates =
            coming ? QStringList{"2023-01-02", "2023-01-09", "2023-01-16", "2023-01-23"}
                   : QStringList{};
        for (const ChartContent* chart : {&charts.demand, &charts.constants}) {
            // Half a period past the coming one, whose markers show whole.
            CompareRange(chart->x.range, 1.0, coming ? 4.5 : 3.0);
            QCOMPARE(chart->x.labels, dates);
            QCOMPARE(chart->x.title, coming ? QString("Date") : QString("Period"));
        }
        if (forecast.isEmpty()) {
            QVERIFY(charts.demand.curves.empty() && charts.constants.curves.empty());
            return;
        }
        QStringList names{"Demand", "Forecast", "Delivery"};
        if (coming) {
            names << "Coming forecast"
                  << "Coming delivery";
            QVERIFY(CurveNamed(charts.demand, "Coming delivery")->marker);
            QCOMPARE(CurveNamed(charts.demand, "Coming delivery")->points,
                     QList<QPointF>{QPointF(4, 7.0)});
        }
        QCOMPARE(CurveNames(charts.demand), names);
        QCOMPARE(CurveNamed(charts.demand, "Forecast")->points, forecast);
        QCOMPARE(CurveNamed(charts.constants, "α (mean)")->points, alpha);
        // Diverged forecasts do not squash the demand: the axis keeps near it.
        QVERIFY(charts.demand.y.range.second < 100.0);
    }
};

QTEST_GUILESS_MAIN(RunChartsTest)
#include "run_charts_test.moc"
