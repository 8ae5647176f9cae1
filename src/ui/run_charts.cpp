#include "ui/run_charts.h"

#include <QLocale>
#include <algorithm>
#include <functional>

#include "results/divergence.h"
#include "runtime/period_dates.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

// Room above and below the curves, as a share of their height.
constexpr double kYMargin = 0.05;

// Per period, the values of the chosen sales points folded together, over the periods the
// first of them has; the sales points of a run share their periods.
QList<QPointF> FoldedPoints(const std::vector<const SalesPointSeries*>& chosen,
                            const std::function<const PeriodSeries&(const SalesPointSeries&)>& of,
                            bool mean) {
    QList<QPointF> points;
    if (chosen.empty()) {
        return points;
    }
    const PeriodSeries& first = of(*chosen.front());
    for (int t = first.first; t <= first.Last(); ++t) {
        double sum = 0.0;
        for (const SalesPointSeries* point : chosen) {
            sum += of(*point).At(t).value_or(0.0);
        }
        points.append(QPointF(t, mean ? sum / static_cast<double>(chosen.size()) : sum));
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

// Forecasts that ran away would squash the demand into a line: the axis keeps to the band
// around the demand that divergence is judged by.
std::pair<double, double> WithinDemandBand(const std::pair<double, double>& range,
                                           const QList<QPointF>& demand) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(demand.size()));
    for (const QPointF& point : demand) {
        values.push_back(point.y());
    }
    const DemandBand band = BandOfDemand(values);
    return {std::max(range.first, band.low), std::min(range.second, band.high)};
}

QString Titled(const QString& what, const QString& caption) {
    return caption.isEmpty() ? what : what + QStringLiteral(" — ") + caption;
}

// "the 3 sound sales points", "the 1 sales point".
QString SalesPointsWords(int count, const QString& which) {
    QStringList words{QStringLiteral("the"), QString::number(count)};
    if (!which.isEmpty()) {
        words << which;
    }
    words << (count == 1 ? QStringLiteral("sales point") : QStringLiteral("sales points"));
    return words.join(' ');
}

// Every row's charts span the same periods, the coming ones too, so that a new selection keeps
// the axis.
// The share of the periods' span the axis runs on past the last coming period.
constexpr double kComingMargin = 0.02;

ChartAxis PeriodAxis(const RunSeries& series) {
    const int lastPeriod =
        series.comingPeriods.Empty() ? series.periodNumber : series.comingPeriods.last;
    const int axisEnd = std::max(lastPeriod, 2);
    const QStringList dates = PeriodLabels(series, axisEnd);
    // Room past the last coming period, so that its markers show whole at the right edge.
    const double margin =
        series.comingPeriods.Empty() ? 0.0 : std::max(0.5, (axisEnd - 1) * kComingMargin);
    return {dates.isEmpty() ? QStringLiteral("Period") : QStringLiteral("Date"), 0,
            std::pair(1.0, axisEnd + margin), dates};
}

// The sales points a row of the figures table stands for, how its charts name them, and
// whether a diverged one is among them.
struct ChosenSalesPoints {
    std::vector<const SalesPointSeries*> series;
    QString subject;
    bool diverged = false;
};

// named: the number the row's sales point has in its run, where the results hold it elsewhere.
ChosenSalesPoints ChooseSalesPoints(const RunResults& results, const RowSubject& row, int named) {
    const RunSeries& series = results.series;
    ChosenSalesPoints chosen;
    const int count = static_cast<int>(series.salesPoints.size());
    if (row.kind == RowSubject::Kind::salesPoint && row.number >= 1 && row.number <= count) {
        chosen.series.push_back(&series.salesPoints[static_cast<std::size_t>(row.number - 1)]);
        const QString name = QString::fromStdString(series.Name(row.number));
        chosen.subject = name == QString::number(row.number)
                             ? QStringLiteral("Sales point %1").arg(named)
                             : QStringLiteral("%1 (sales point %2)").arg(name).arg(named);
        chosen.diverged = !results.figures.sound[static_cast<std::size_t>(row.number - 1)];
    } else if (row.kind == RowSubject::Kind::sound || row.kind == RowSubject::Kind::all) {
        const bool soundOnly = row.kind == RowSubject::Kind::sound;
        for (int at = 0; at < count; ++at) {
            const bool sound = results.figures.sound[static_cast<std::size_t>(at)];
            if (sound || !soundOnly) {
                chosen.series.push_back(&series.salesPoints[static_cast<std::size_t>(at)]);
            }
            chosen.diverged = chosen.diverged || !sound;
        }
        chosen.diverged = chosen.diverged && !soundOnly;
        chosen.subject = SalesPointsWords(static_cast<int>(chosen.series.size()),
                                          soundOnly ? QStringLiteral("sound") : QString());
        chosen.subject[0] = chosen.subject[0].toUpper();
    }
    return chosen;
}

// Demand, forecast and delivery summed over the sales points chosen, and beyond the last
// period, as markers, the coming forecasts and deliveries, with no demand yet.
std::vector<ChartCurve> DemandCurves(const std::vector<const SalesPointSeries*>& chosen,
                                     Evaluation evaluation, const RunSeries& series) {
    const auto forecast = [evaluation](const SalesPointSeries& s) -> const PeriodSeries& {
        return s.Of(evaluation).forecast;
    };
    const auto delivery = [evaluation](const SalesPointSeries& s) -> const PeriodSeries& {
        return s.Of(evaluation).delivery;
    };
    const auto demand = [](const SalesPointSeries& s) -> const PeriodSeries& { return s.demand; };
    std::vector<ChartCurve> curves = {
        {QStringLiteral("Demand"), FoldedPoints(chosen, demand, false)},
        {QStringLiteral("Forecast"), FoldedPoints(chosen, forecast, false)},
        {QStringLiteral("Delivery"), FoldedPoints(chosen, delivery, false)}};
    if (!series.comingPeriods.Empty()) {
        const auto comingForecast = [](const SalesPointSeries& s) -> const PeriodSeries& {
            return s.coming.forecast;
        };
        const auto comingDelivery = [](const SalesPointSeries& s) -> const PeriodSeries& {
            return s.coming.delivery;
        };
        curves.push_back(
            {QStringLiteral("Coming forecast"), FoldedPoints(chosen, comingForecast, false), true});
        curves.push_back(
            {QStringLiteral("Coming delivery"), FoldedPoints(chosen, comingDelivery, false), true});
    }
    return curves;
}

// The smoothing constants each period used; of several sales points, their mean.
std::vector<ChartCurve> ConstantCurves(const std::vector<const SalesPointSeries*>& chosen,
                                       bool mean) {
    const auto alpha = [](const SalesPointSeries& s) -> const PeriodSeries& { return s.alpha; };
    const auto beta = [](const SalesPointSeries& s) -> const PeriodSeries& { return s.beta; };
    return {{QStringLiteral("α (mean)"), FoldedPoints(chosen, alpha, mean)},
            {QStringLiteral("β (mean absolute deviation)"), FoldedPoints(chosen, beta, mean)}};
}

// Fill rate and cycle service level over the taus of a trade-off, their names ending in suffix.
void AddRateCurves(ChartContent& content, const std::vector<TradeoffRow>& tradeoff,
                   const QString& suffix) {
    ChartCurve fillRate{QStringLiteral("Fill rate") + suffix, {}};
    ChartCurve serviceLevel{QStringLiteral("Cycle service level") + suffix, {}};
    for (const TradeoffRow& row : tradeoff) {
        if (row.fillRate) {
            fillRate.points.append(QPointF(row.tau, *row.fillRate));
        }
        if (row.cycleServiceLevel) {
            serviceLevel.points.append(QPointF(row.tau, *row.cycleServiceLevel));
        }
    }
    content.curves.push_back(fillRate);
    content.curves.push_back(serviceLevel);
}

// One run's own tau at its rates, the target's answer and, where costs were given, the cost
// on a right-hand axis with the cheapest tau.
void AddAnswerMarks(ChartContent& content, const EvaluationAnswers& answers) {
    ChartCurve runTau{{}, {}, true};
    ChartCurve cost{QStringLiteral("Cost of lost sales and returns"), {}, false, true};
    for (const TradeoffRow& row : answers.tradeoff) {
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
    content.curves.push_back(runTau);
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
}

// The charts of the sales points chosen for a row.
SalesPointCharts ChartsOfChosen(const RunResults& results, const RowSubject& row,
                                const ChosenSalesPoints& chosen, Evaluation evaluation,
                                const QString& caption) {
    const ChartAxis periods = PeriodAxis(results.series);
    SalesPointCharts charts{{{}, periods, {QStringLiteral("Units"), 0}, {}, {}},
                            {{}, periods, {QStringLiteral("Smoothing constant"), 2}, {}, {}}};
    if (chosen.series.empty()) {
        const QString nothing = chosen.subject.isEmpty()
                                    ? QStringLiteral("Select a row of the table to see its series")
                                    : chosen.subject + QStringLiteral(": none to show");
        charts.demand.title = charts.constants.title = Titled(nothing, caption);
    } else {
        const bool one = chosen.series.size() == 1 && row.kind == RowSubject::Kind::salesPoint;
        charts.demand.title = Titled(
            chosen.subject + (one ? QString() : QStringLiteral(" summed")) +
                QStringLiteral(": demand, forecast and delivery %1")
                    .arg(EvaluationWords(evaluation)) +
                (chosen.diverged ? QStringLiteral(" (forecasts that diverged leave the chart)")
                                 : QString()),
            caption);
        charts.demand.curves = DemandCurves(chosen.series, evaluation, results.series);
        charts.constants.title = Titled(
            chosen.subject + (one ? QStringLiteral(": the smoothing constants each period used")
                                  : QStringLiteral(": the mean of the smoothing constants each "
                                                   "period used")),
            caption);
        charts.constants.curves = ConstantCurves(chosen.series, !one);
    }
    for (ChartContent* chart : {&charts.demand, &charts.constants}) {
        chart->y.range = VerticalRange(chart->curves, false);
    }
    if (chosen.diverged && !charts.demand.curves.empty()) {
        charts.demand.y.range =
            WithinDemandBand(charts.demand.y.range, charts.demand.curves.front().points);
    }
    return charts;
}

}  // namespace

QString EvaluationWords(Evaluation evaluation) {
    return QString::fromLatin1(EvaluationName(evaluation)).replace('_', ' ');
}

QStringList PeriodLabels(const RunSeries& series, int lastPeriod) {
    QStringList labels;
    if (series.dates.empty()) {
        return labels;
    }
    int period = 0;
    // The run continued the history's dates over its coming periods; a folder written before
    // holds the history's alone, and an axis may run on past them: continued the same way.
    for (const std::string& date : ContinuedDates(series.dates, lastPeriod)) {
        ++period;
        labels << (date.empty() ? QString::number(period) : QString::fromStdString(date));
    }
    return labels;
}

SalesPointCharts ChartsOfRow(const RunResults& results, const RowSubject& row,
                             Evaluation evaluation, const QString& caption) {
    return ChartsOfChosen(results, row, ChooseSalesPoints(results, row, row.number), evaluation,
                          caption);
}

SalesPointCharts ChartsOfSalesPoint(const RunResults& results, int at, int salesPoint,
                                    Evaluation evaluation, const QString& caption) {
    const RowSubject row{RowSubject::Kind::salesPoint, at};
    return ChartsOfChosen(results, row, ChooseSalesPoints(results, row, salesPoint), evaluation,
                          caption);
}

ChartContent TradeoffChart(const std::vector<TradeoffOfRun>& runs, Evaluation evaluation,
                           bool bothEvaluations, const QString& caption) {
    const bool several = runs.size() > 1;
    const int soundCount = runs.empty() ? 0 : runs.front().results->figures.SoundCount();
    const QString over = several ? QStringLiteral("the sound sales points of each run")
                                 : SalesPointsWords(soundCount, QStringLiteral("sound"));
    ChartContent content{
        Titled(QStringLiteral("What another τ would have given %1, %2")
                   .arg(over, bothEvaluations ? QStringLiteral("as forecast and as reported")
                                              : EvaluationWords(evaluation)),
               caption),
        {QStringLiteral("τ (safety factor)"), 1},
        {QStringLiteral("Fill rate, service level"), 2},
        {},
        {}};
    std::vector<Evaluation> shown = {evaluation};
    if (bothEvaluations) {
        shown = {kEvaluations.begin(), kEvaluations.end()};
    }
    for (const TradeoffOfRun& run : runs) {
        for (const Evaluation each : shown) {
            // Named by what tells them apart: the run, the evaluation, both or neither.
            QStringList apart;
            if (several) {
                apart << run.name;
            }
            if (bothEvaluations) {
                apart << EvaluationWords(each);
            }
            AddRateCurves(content, run.results->Answers(each).tradeoff,
                          apart.isEmpty()
                              ? QString()
                              : QStringLiteral(" (%1)").arg(apart.join(QStringLiteral(", "))));
        }
    }
    if (runs.size() == 1) {
        AddAnswerMarks(content, runs.front().results->Answers(evaluation));
    }
    content.x.range = Span(content.curves, &QPointF::x, [](const ChartCurve&) { return true; });
    content.y.range = VerticalRange(content.curves, false);
    if (content.rightY) {
        content.rightY->range = VerticalRange(content.curves, true);
    }
    return content;
}

}  // namespace sf::ui
