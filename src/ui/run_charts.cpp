#include "ui/run_charts.h"

#include <QLocale>
#include <algorithm>

#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

// Room above and below the curves, as a share of their height.
constexpr double kYMargin = 0.05;

QList<QPointF> SeriesPoints(const PeriodSeries& series) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(series.values.size()));
    for (int t = series.first; t <= series.Last(); ++t) {
        points.append(QPointF(t, *series.At(t)));
    }
    return points;
}

// The smallest and largest coordinate over the curves chosen; a single value gets room on
// either side, no value a unit range.
template <typename Chosen>
std::pair<double, double> Span(const std::vector<ChartCurve>& curves,
                               qreal (QPointF::*coordinate)() const, Chosen chosen) {
    std::optional<std::pair<double, double>> extent;
    for (const ChartCurve& curve : curves) {
        if (!chosen(curve)) {
            continue;
        }
        for (const QPointF& point : curve.points) {
            const double value = (point.*coordinate)();
            extent =
                extent ? std::pair(std::min(extent->first, value), std::max(extent->second, value))
                       : std::pair(value, value);
        }
    }
    if (!extent) {
        return {0.0, 1.0};
    }
    if (extent->first == extent->second) {
        return {extent->first - 1.0, extent->second + 1.0};
    }
    return *extent;
}

// The vertical span of the curves on one side, with a margin above and below.
std::pair<double, double> VerticalRange(const std::vector<ChartCurve>& curves, bool rightAxis) {
    const auto [low, high] = Span(curves, &QPointF::y, [rightAxis](const ChartCurve& curve) {
        return curve.rightAxis == rightAxis;
    });
    const double margin = (high - low) * kYMargin;
    return {low - margin, high + margin};
}

}  // namespace

SalesPointCharts ChartsOfSalesPoint(const RunSeries& series, int salesPoint) {
    // Every sales point over the same periods, the coming ones too, so that a new selection
    // keeps the axis.
    const int lastPeriod =
        series.comingPeriods.Empty() ? series.periodNumber : series.comingPeriods.last;
    const ChartAxis periods{QStringLiteral("Period"), 0,
                            std::pair(1.0, std::max(lastPeriod, 2) * 1.0)};
    SalesPointCharts charts{{{}, periods, {QStringLiteral("Units"), 0}, {}, {}},
                            {{}, periods, {QStringLiteral("Smoothing constant"), 2}, {}, {}}};
    if (salesPoint < 1 || salesPoint > static_cast<int>(series.salesPoints.size())) {
        charts.demand.title = charts.constants.title =
            QStringLiteral("Select a sales point in the table to see its series");
    } else {
        const SalesPointSeries& point =
            series.salesPoints[static_cast<std::size_t>(salesPoint - 1)];
        const QString name = QStringLiteral("Sales point %1").arg(QLocale().toString(salesPoint));
        charts.demand.title = name + QStringLiteral(": demand, forecast and delivery");
        charts.demand.curves = {
            {QStringLiteral("Demand"), SeriesPoints(point.demand)},
            {QStringLiteral("Forecast"), SeriesPoints(point.asReported.forecast)},
            {QStringLiteral("Delivery"), SeriesPoints(point.asReported.delivery)}};
        if (!series.comingPeriods.Empty()) {
            // Beyond the last period, as markers: forecasts, with no demand yet.
            charts.demand.curves.push_back(
                {QStringLiteral("Coming forecast"), SeriesPoints(point.coming.forecast), true});
            charts.demand.curves.push_back(
                {QStringLiteral("Coming delivery"), SeriesPoints(point.coming.delivery), true});
        }
        charts.constants.title =
            name + QStringLiteral(": the smoothing constants each period used");
        charts.constants.curves = {
            {QStringLiteral("α (mean)"), SeriesPoints(point.alpha)},
            {QStringLiteral("β (mean absolute deviation)"), SeriesPoints(point.beta)}};
    }
    for (ChartContent* chart : {&charts.demand, &charts.constants}) {
        chart->y.range = VerticalRange(chart->curves, false);
    }
    return charts;
}

ChartContent TradeoffChart(const RunResults& results) {
    ChartContent content{
        QStringLiteral("What another τ would have given with this run's forecasts"),
        {QStringLiteral("τ (safety factor)"), 1},
        {QStringLiteral("Fill rate, service level"), 2},
        {},
        {}};
    ChartCurve fillRate{QStringLiteral("Fill rate"), {}};
    ChartCurve serviceLevel{QStringLiteral("Cycle service level"), {}};
    ChartCurve cost{QStringLiteral("Cost of lost sales and returns"), {}, false, true};
    ChartCurve runTau{{}, {}, true};
    const EvaluationAnswers& answers = results.Answers(results.Headline());
    for (const TradeoffRow& row : answers.tradeoff) {
        if (row.fillRate) {
            fillRate.points.append(QPointF(row.tau, *row.fillRate));
        }
        if (row.cycleServiceLevel) {
            serviceLevel.points.append(QPointF(row.tau, *row.cycleServiceLevel));
        }
        if (row.cost) {
            cost.points.append(QPointF(row.tau, *row.cost));
        }
        if (row.runTau) {
            runTau.name = QStringLiteral("This run: τ = %1").arg(ScreenTau(row.tau));
            for (const std::optional<double>& rate : {row.fillRate, row.cycleServiceLevel}) {
                if (rate) {
                    runTau.points.append(QPointF(row.tau, *rate));
                }
            }
        }
    }
    content.curves = {fillRate, serviceLevel, runTau};
    if (answers.target && answers.target->tau && answers.target->rate) {
        content.curves.push_back({QStringLiteral("Target %1: τ = %2")
                                      .arg(ScreenShort(answers.target->target, kRateDecimals),
                                           ScreenTau(*answers.target->tau)),
                                  {QPointF(*answers.target->tau, *answers.target->rate)},
                                  true});
    }
    if (answers.cheapest) {
        content.rightY = ChartAxis{QStringLiteral("Cost"), 0};
        content.curves.push_back(cost);
        content.curves.push_back(
            {QStringLiteral("Cheapest: τ = %1").arg(ScreenTau(answers.cheapest->tau)),
             {QPointF(answers.cheapest->tau, answers.cheapest->cost)},
             true,
             true});
    }
    content.x.range = Span(content.curves, &QPointF::x, [](const ChartCurve&) { return true; });
    content.y.range = VerticalRange(content.curves, false);
    if (content.rightY) {
        content.rightY->range = VerticalRange(content.curves, true);
    }
    return content;
}

}  // namespace sf::ui
