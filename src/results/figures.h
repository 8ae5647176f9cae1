#pragma once

#include <array>
#include <optional>
#include <vector>

#include "results/evaluation.h"
#include "results/export_form.h"
#include "results/run_series.h"
#include "state/period_stretches.h"

namespace sf {

// How one evaluation's forecasts and deliveries served demand, for one sales point or for a
// row of them. The sums run over the evaluation's stretch, the constants' means over the
// rolling stretch. A rate or mean whose denominator is 0 has no value.
struct Figures {
    double demand = 0.0;
    double sales = 0.0;      // as_reported: the report's salesSum (totalSales for all)
    double lostSales = 0.0;  // lostSaleSum (totalLostSale)
    double returns = 0.0;    // returnedSum (totalReturn)
    double deliveries = 0.0;
    std::optional<double> fillRate;           // sales / demand
    std::optional<double> cycleServiceLevel;  // share of periods without a lost sale
    std::optional<double> returnRate;         // returns / deliveries
    std::optional<double> bias;               // mean of forecast - demand
    std::optional<double> mae;                // mean of |forecast - demand|
    std::optional<double> rmse;               // root of the mean of (forecast - demand)^2
    // mae / the mae of the naive forecast D(t - max(H, 1)), both over the periods where that
    // forecast exists: below 1 where the method beats repeating a known demand.
    std::optional<double> maeToNaive;
    std::optional<double> alphaMean;  // of the constants the periods used
    std::optional<double> betaMean;
    // For a sales point 1 or 0; for a row of them, how many.
    int diverged = 0;
    int constantsLeft01 = 0;  // a constant a period used lay outside 0..1
    int negativeSigmaPeriods = 0;
    int negativeDeliveries = 0;
};

struct EvaluationFigures {
    Evaluation evaluation = Evaluation::asForecast;
    PeriodStretch stretch;             // empty: the evaluation has no periods
    std::vector<Figures> salesPoints;  // sales point sp at sp - 1
    // The sums of the sales points added in their order, the rates from those sums over every
    // period of them: the sound sales points, then all. all has no rates or means where a
    // sales point in it diverged: a run-away forecast makes them meaningless.
    Figures sound;
    Figures all;
};

struct RunFigures {
    // Sales point sp at sp - 1: its forecasts diverged in neither evaluation.
    std::vector<bool> sound;
    std::array<EvaluationFigures, kEvaluations.size()> evaluations;  // in kEvaluations' order

    const EvaluationFigures& Of(Evaluation evaluation) const {
        return evaluations[IndexOf(evaluation)];
    }
    int SoundCount() const;
};

RunFigures ComputeFigures(const RunSeries& series, ExportForm form = ExportForm::current);

// The row of the sales points chosen (sales point sp at sp - 1; beyond chosen's end none), added
// in their order as a run's rows are: chosen as the run's sound ones gives its row "sound".
Figures FiguresOver(const RunSeries& series, Evaluation evaluation,
                    const std::vector<bool>& chosen);

}  // namespace sf
