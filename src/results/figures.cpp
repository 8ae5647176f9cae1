#include "results/figures.h"

#include <algorithm>
#include <cmath>

#include "results/divergence.h"
#include "results/ratio.h"
#include "state/period_stretches.h"

namespace sf {
namespace {

// The values of periods first..last; the series holds all of them.
std::span<const double> Over(const PeriodSeries& series, const PeriodStretch& stretch) {
    if (stretch.Empty()) {
        return {};
    }
    return std::span<const double>(series.values)
        .subspan(static_cast<std::size_t>(stretch.first - series.first),
                 static_cast<std::size_t>(stretch.Length()));
}

PeriodStretch AllPeriods(const RunSeries& series) {
    return {1, series.periodNumber};
}

// The constants the periods S + 1..P used.
bool ConstantsLeft01(const SalesPointSeries& point) {
    const PeriodStretch constants{point.alpha.first, point.alpha.Last()};
    return LeftZeroToOne(Over(point.alpha, constants), Over(point.beta, constants));
}

bool DivergedIn(const RunSeries& series, const SalesPointSeries& point, Evaluation evaluation) {
    const PeriodStretch stretch = series.Stretch(evaluation);
    const EvaluatedSeries& evaluated = point.Of(evaluation);
    return Diverged(BandOfDemand(Over(point.demand, AllPeriods(series))),
                    Over(evaluated.forecast, stretch), Over(evaluated.sigma, stretch));
}

FigureSums SalesPointSums(const RunSeries& series, const SalesPointSeries& point,
                          Evaluation evaluation, bool diverged) {
    const PeriodStretch stretch = series.Stretch(evaluation);
    const EvaluatedSeries& evaluated = point.Of(evaluation);
    const std::span<const double> demand = Over(point.demand, AllPeriods(series));
    const std::span<const double> forecast = Over(evaluated.forecast, stretch);
    const std::span<const double> delivery = Over(evaluated.delivery, stretch);
    const std::span<const double> lostSale = Over(evaluated.lostSale, stretch);
    const std::span<const double> returned = Over(evaluated.returned, stretch);
    const std::span<const double> sales = Over(evaluated.sales, stretch);
    // The naive forecast repeats the demand known when the delivery was decided.
    const int naiveLag = DecisionLag(series.horizon);
    FigureSums sums;
    for (std::size_t at = 0; at < forecast.size(); ++at) {
        const int t = stretch.first + static_cast<int>(at);
        const double periodDemand = demand[static_cast<std::size_t>(t - 1)];
        const double error = forecast[at] - periodDemand;
        sums.demand = sums.demand + periodDemand;
        sums.sales = sums.sales + sales[at];
        sums.lostSales = sums.lostSales + lostSale[at];
        sums.returns = sums.returns + returned[at];
        sums.deliveries = sums.deliveries + delivery[at];
        sums.error = sums.error + error;
        sums.absoluteError = sums.absoluteError + std::fabs(error);
        sums.squaredError = sums.squaredError + error * error;
        sums.periods += 1.0;
        sums.periodsWithoutLostSale += lostSale[at] == 0.0 ? 1.0 : 0.0;
        sums.negativeDeliveries += delivery[at] < 0.0 ? 1 : 0;
        if (t - naiveLag >= 1) {
            const double naive = demand[static_cast<std::size_t>(t - naiveLag - 1)];
            sums.comparedAbsoluteError = sums.comparedAbsoluteError + std::fabs(error);
            sums.naiveAbsoluteError = sums.naiveAbsoluteError + std::fabs(naive - periodDemand);
            sums.comparedPeriods += 1.0;
        }
    }
    for (int t = series.rollingStretch.first; t <= series.rollingStretch.last; ++t) {
        sums.alpha = sums.alpha + *point.alpha.At(t);
        sums.beta = sums.beta + *point.beta.At(t);
        sums.rollingPeriods += 1.0;
    }
    sums.diverged = diverged ? 1 : 0;
    sums.constantsLeft01 = ConstantsLeft01(point) ? 1 : 0;
    sums.negativeSigmaPeriods =
        NegativeSigmaPeriods(BandOfDemand(demand), Over(evaluated.sigma, stretch));
    return sums;
}

void Add(FigureSums& total, const FigureSums& sums) {
    total.demand = total.demand + sums.demand;
    total.sales = total.sales + sums.sales;
    total.lostSales = total.lostSales + sums.lostSales;
    total.returns = total.returns + sums.returns;
    total.deliveries = total.deliveries + sums.deliveries;
    total.error = total.error + sums.error;
    total.absoluteError = total.absoluteError + sums.absoluteError;
    total.squaredError = total.squaredError + sums.squaredError;
    total.periods += sums.periods;
    total.periodsWithoutLostSale += sums.periodsWithoutLostSale;
    total.comparedAbsoluteError = total.comparedAbsoluteError + sums.comparedAbsoluteError;
    total.naiveAbsoluteError = total.naiveAbsoluteError + sums.naiveAbsoluteError;
    total.comparedPeriods += sums.comparedPeriods;
    total.alpha = total.alpha + sums.alpha;
    total.beta = total.beta + sums.beta;
    total.rollingPeriods += sums.rollingPeriods;
    total.diverged += sums.diverged;
    total.constantsLeft01 += sums.constantsLeft01;
    total.negativeSigmaPeriods += sums.negativeSigmaPeriods;
    total.negativeDeliveries += sums.negativeDeliveries;
}

// A block's sums into the pooled ones: the first block's are the pool, later ones are added.
void Pool(FigureSums& total, const FigureSums& block, bool firstBlock) {
    if (firstBlock) {
        total = block;
    } else {
        Add(total, block);
    }
}

// The sums and counts alone: what a row with a diverged sales point in it can tell.
Figures WithoutRates(Figures figures) {
    for (std::optional<double>* rate :
         {&figures.fillRate, &figures.cycleServiceLevel, &figures.returnRate, &figures.bias,
          &figures.mae, &figures.rmse, &figures.maeToNaive, &figures.alphaMean,
          &figures.betaMean}) {
        rate->reset();
    }
    return figures;
}

Figures FromSums(const FigureSums& sums) {
    Figures figures;
    figures.demand = sums.demand;
    figures.sales = sums.sales;
    figures.lostSales = sums.lostSales;
    figures.returns = sums.returns;
    figures.deliveries = sums.deliveries;
    figures.fillRate = Ratio(sums.sales, sums.demand);
    figures.cycleServiceLevel = Ratio(sums.periodsWithoutLostSale, sums.periods);
    figures.returnRate = Ratio(sums.returns, sums.deliveries);
    figures.bias = Ratio(sums.error, sums.periods);
    figures.mae = Ratio(sums.absoluteError, sums.periods);
    if (const std::optional<double> meanSquare = Ratio(sums.squaredError, sums.periods)) {
        figures.rmse = std::sqrt(*meanSquare);
    }
    const std::optional<double> comparedMae =
        Ratio(sums.comparedAbsoluteError, sums.comparedPeriods);
    const std::optional<double> naiveMae = Ratio(sums.naiveAbsoluteError, sums.comparedPeriods);
    if (comparedMae && naiveMae) {
        figures.maeToNaive = Ratio(*comparedMae, *naiveMae);
    }
    figures.alphaMean = Ratio(sums.alpha, sums.rollingPeriods);
    figures.betaMean = Ratio(sums.beta, sums.rollingPeriods);
    figures.diverged = sums.diverged;
    figures.constantsLeft01 = sums.constantsLeft01;
    figures.negativeSigmaPeriods = sums.negativeSigmaPeriods;
    figures.negativeDeliveries = sums.negativeDeliveries;
    return figures;
}

// The figures of the sales points begin..end of the series, a block of their own.
RunFigures BlockFigures(const RunSeries& series, std::size_t begin, std::size_t end) {
    RunFigures figures;
    std::array<std::vector<bool>, kEvaluations.size()> diverged;
    for (const Evaluation evaluation : kEvaluations) {
        for (std::size_t at = begin; at < end; ++at) {
            diverged[IndexOf(evaluation)].push_back(
                DivergedIn(series, series.salesPoints[at], evaluation));
        }
    }
    for (std::size_t k = 0; k < end - begin; ++k) {
        figures.sound.push_back(std::ranges::none_of(
            diverged, [k](const std::vector<bool>& flags) { return flags[k]; }));
    }
    for (const Evaluation evaluation : kEvaluations) {
        EvaluationFigures& evaluated = figures.evaluations[IndexOf(evaluation)];
        evaluated.evaluation = evaluation;
        evaluated.stretch = series.Stretch(evaluation);
        for (std::size_t k = 0; k < end - begin; ++k) {
            const FigureSums sums = SalesPointSums(series, series.salesPoints[begin + k],
                                                   evaluation, diverged[IndexOf(evaluation)][k]);
            evaluated.salesPoints.push_back(FromSums(sums));
            if (figures.sound[k]) {
                Add(evaluated.soundSums, sums);
            }
            Add(evaluated.allSums, sums);
        }
    }
    return figures;
}

}  // namespace

int RunFigures::SoundCount() const {
    return static_cast<int>(std::ranges::count(sound, true));
}

RunFigures ComputeFigures(const RunSeries& series, ExportForm form) {
    RunFigures figures;
    std::size_t begin = 0;
    for (const std::size_t end : BlockEnds(series)) {
        PoolFigures(figures, BlockFigures(series, begin, end), begin == 0);
        begin = end;
    }
    FinishPooledFigures(figures, form);
    return figures;
}

void PoolFigures(RunFigures& pooled, const RunFigures& block, bool firstBlock) {
    pooled.sound.insert(pooled.sound.end(), block.sound.begin(), block.sound.end());
    for (const Evaluation evaluation : kEvaluations) {
        EvaluationFigures& into = pooled.evaluations[IndexOf(evaluation)];
        const EvaluationFigures& from = block.Of(evaluation);
        into.evaluation = evaluation;
        into.stretch = from.stretch;
        into.salesPoints.insert(into.salesPoints.end(), from.salesPoints.begin(),
                                from.salesPoints.end());
        Pool(into.soundSums, from.soundSums, firstBlock);
        Pool(into.allSums, from.allSums, firstBlock);
    }
}

void FinishPooledFigures(RunFigures& pooled, ExportForm form) {
    for (EvaluationFigures& evaluated : pooled.evaluations) {
        evaluated.sound = FromSums(evaluated.soundSums);
        evaluated.all = FromSums(evaluated.allSums);
        if (form == ExportForm::current && evaluated.allSums.diverged > 0) {
            evaluated.all = WithoutRates(evaluated.all);
        }
    }
}

Figures FiguresOver(const RunSeries& series, Evaluation evaluation,
                    const std::vector<bool>& chosen) {
    FigureSums total;
    const std::size_t count = std::min(chosen.size(), series.salesPoints.size());
    std::size_t begin = 0;
    for (const std::size_t end : BlockEnds(series)) {
        FigureSums block;
        for (std::size_t at = begin; at < std::min(end, count); ++at) {
            if (chosen[at]) {
                const SalesPointSeries& point = series.salesPoints[at];
                Add(block, SalesPointSums(series, point, evaluation,
                                          DivergedIn(series, point, evaluation)));
            }
        }
        Pool(total, block, begin == 0);
        begin = end;
    }
    return FromSums(total);
}

}  // namespace sf
