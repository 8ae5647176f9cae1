#pragma once

#include <QString>
#include <vector>

#include "results/run_results.h"
#include "ui/chart_content.h"
#include "ui/figures_table_model.h"

namespace sf::ui {

// The charts of complete runs, built from their results alone. caption names the run and its
// scenario in every title, so that a saved picture says what it shows.

struct SalesPointCharts {
    ChartContent demand;     // demand, forecast and delivery over the periods
    ChartContent constants;  // the smoothing constants each period used
};

// The series of a row of the figures table in the evaluation's forecasts: a sales point's own,
// or for the rows "sound" and "all" the sums over their sales points (of the constants, the
// mean). The vertical axis of a row whose forecasts diverged keeps to its demand.
SalesPointCharts ChartsOfRow(const RunResults& results, const RowSubject& row,
                             Evaluation evaluation, const QString& caption);

// The charts of one sales point from results that hold it at place at (a run of it alone holds
// it at 1), named as sales point salesPoint of its run.
SalesPointCharts ChartsOfSalesPoint(const RunResults& results, int at, int salesPoint,
                                    Evaluation evaluation, const QString& caption);

// The labels of periods 1..lastPeriod on the horizontal axis: the dates a sales history gave
// them, continued by their step past the last (a period without one keeps its number); none
// when the periods have no dates.
QStringList PeriodLabels(const RunSeries& series, int lastPeriod);

// A run whose trade-off the chart shows, by the name its curves carry where there are several.
struct TradeoffOfRun {
    QString name;
    const RunResults* results = nullptr;
};

// Fill rate and cycle service level over the taus of the trade-off of the evaluation, and with
// both, of the other too. For one run, its own tau, the target's answer and, where costs were
// given, the cost on a right-hand axis with the cheapest tau marked; for several, each run's
// curves under its name.
ChartContent TradeoffChart(const std::vector<TradeoffOfRun>& runs, Evaluation evaluation,
                           bool bothEvaluations, const QString& caption);

// An evaluation as the window names it: "as forecast".
QString EvaluationWords(Evaluation evaluation);

}  // namespace sf::ui
