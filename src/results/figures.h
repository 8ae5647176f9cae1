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

// What the figures are made of; a row of sales points adds these in sales-point order.
struct FigureSums {
    double demand = 0.0;
    double sales = 0.0;
    double lostSales = 0.0;
    double returns = 0.0;
    double deliveries = 0.0;
    double error = 0.0;
    double absoluteError = 0.0;
    double squaredError = 0.0;
    double periods = 0.0;
    double periodsWithoutLostSale = 0.0;
    double comparedAbsoluteError = 0.0;  // over the periods with a naive forecast
    double naiveAbsoluteError = 0.0;
    double comparedPeriods = 0.0;
    double alpha = 0.0;
    double beta = 0.0;
    double rollingPeriods = 0.0;
    int diverged = 0;
    int constantsLeft01 = 0;
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
    // The sums those two rows come from, which a catalogue pools block by block.
    FigureSums soundSums;
    FigureSums allSums;
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

// A block's figures after those of the blocks before it: its sales points' rows after theirs, its
// sums added to theirs (the first block's are the pool). The rows sound and all follow from
// the pooled sums with FinishPooledFigures, as ComputeFigures gives them over the blocks.
void PoolFigures(RunFigures& pooled, const RunFigures& block, bool firstBlock);
void FinishPooledFigures(RunFigures& pooled, ExportForm form = ExportForm::current);

// The row of the sales points chosen (sales point sp at sp - 1; beyond chosen's end none), added
// in their order as a run's rows are: chosen as the run's sound ones gives its row "sound".
Figures FiguresOver(const RunSeries& series, Evaluation evaluation,
                    const std::vector<bool>& chosen);

}  // namespace sf
