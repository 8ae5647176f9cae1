#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "results/figures.h"

namespace sf {

// What a figure measures, which decides how a front end shows it.
enum class FigureKind {
    sum,       // units summed over the periods
    rate,      // a share of 0..1
    ratio,     // one quantity over another of its kind, near 1
    error,     // a forecast error in units
    constant,  // a smoothing constant
    count,     // how many
    flag,      // 1 or 0 for a sales point; for a row of them, how many are 1
};

struct SummaryColumn {
    std::string_view name;         // in summary.csv
    std::string_view label;        // in words, for a table's heading
    std::string_view description;  // what the column holds, for the heading's tooltip
    FigureKind kind;
    std::optional<double> (*value)(const Figures&);
};

// The columns of summary.csv after its keys (seed, source, run, evaluation, sales_point, name,
// first_period, last_period), in their order; the Results window's table shows the same.
inline constexpr std::array<SummaryColumn, 18> kSummaryColumns = {{
    {"demand", "Demand", "Demand summed over the evaluation's periods", FigureKind::sum,
     [](const Figures& f) -> std::optional<double> { return f.demand; }},
    {"sales", "Sales", "Sales summed over the evaluation's periods (as reported: the report's)",
     FigureKind::sum, [](const Figures& f) -> std::optional<double> { return f.sales; }},
    {"lost_sales", "Lost sales",
     "Lost sales summed over the evaluation's periods (as reported: the report's)", FigureKind::sum,
     [](const Figures& f) -> std::optional<double> { return f.lostSales; }},
    {"returns", "Returns",
     "Returns summed over the evaluation's periods (as reported: the report's)", FigureKind::sum,
     [](const Figures& f) -> std::optional<double> { return f.returns; }},
    {"deliveries", "Deliveries", "Deliveries summed over the evaluation's periods", FigureKind::sum,
     [](const Figures& f) -> std::optional<double> { return f.deliveries; }},
    {"fill_rate", "Fill rate", "Sales / demand", FigureKind::rate,
     [](const Figures& f) { return f.fillRate; }},
    {"cycle_service_level", "Cycle service level", "The share of periods without a lost sale",
     FigureKind::rate, [](const Figures& f) { return f.cycleServiceLevel; }},
    {"return_rate", "Return rate", "Returns / deliveries", FigureKind::rate,
     [](const Figures& f) { return f.returnRate; }},
    {"bias", "Bias", "The mean of forecast - demand", FigureKind::error,
     [](const Figures& f) { return f.bias; }},
    {"mae", "MAE", "The mean of |forecast - demand|", FigureKind::error,
     [](const Figures& f) { return f.mae; }},
    {"rmse", "RMSE", "The root of the mean of (forecast - demand)²", FigureKind::error,
     [](const Figures& f) { return f.rmse; }},
    {"mae_to_naive", "MAE to naive",
     "The MAE over the MAE of repeating the demand known at the decision; below 1 beats it",
     FigureKind::ratio, [](const Figures& f) { return f.maeToNaive; }},
    {"alpha_mean", "Mean α", "The mean of the alphas the periods of the rolling forecast used",
     FigureKind::constant, [](const Figures& f) { return f.alphaMean; }},
    {"beta_mean", "Mean β", "The mean of the betas the periods of the rolling forecast used",
     FigureKind::constant, [](const Figures& f) { return f.betaMean; }},
    {"diverged", "Diverged",
     "The forecasts ran far outside the demand; for a row of sales points, how many",
     FigureKind::flag, [](const Figures& f) -> std::optional<double> { return f.diverged; }},
    {"constants_left_0_1", "Constants left 0..1",
     "A smoothing constant a period used lay outside 0..1; for a row, how many", FigureKind::flag,
     [](const Figures& f) -> std::optional<double> { return f.constantsLeft01; }},
    {"negative_sigma_periods", "Negative σ periods",
     "How many periods had a sigma below 0 by more than rounding", FigureKind::count,
     [](const Figures& f) -> std::optional<double> { return f.negativeSigmaPeriods; }},
    {"negative_deliveries", "Negative deliveries", "How many deliveries were below 0",
     FigureKind::count,
     [](const Figures& f) -> std::optional<double> { return f.negativeDeliveries; }},
}};

}  // namespace sf
