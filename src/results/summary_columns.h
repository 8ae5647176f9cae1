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
    error,     // a forecast error in units
    constant,  // a smoothing constant
    count,     // how many
    flag,      // 1 or 0 for a sales point; for all, how many are 1
};

struct SummaryColumn {
    std::string_view name;         // in summary.csv
    std::string_view label;        // in words, for a table's heading
    std::string_view description;  // what the column holds, for the heading's tooltip
    FigureKind kind;
    std::optional<double> (*value)(const Figures&);
};

// The columns of summary.csv after sales_point, in their order; the Results window's table
// shows the same.
inline constexpr std::array<SummaryColumn, 15> kSummaryColumns = {{
    {"demand", "Demand", "Demand summed over the outcome window S..P", FigureKind::sum,
     [](const Figures& f) -> std::optional<double> { return f.demand; }},
    {"sales", "Sales", "Sales summed over the outcome window, as in the report", FigureKind::sum,
     [](const Figures& f) -> std::optional<double> { return f.sales; }},
    {"lost_sales", "Lost sales", "Lost sales summed over the outcome window, as in the report",
     FigureKind::sum, [](const Figures& f) -> std::optional<double> { return f.lostSales; }},
    {"returns", "Returns", "Returns summed over the outcome window, as in the report",
     FigureKind::sum, [](const Figures& f) -> std::optional<double> { return f.returns; }},
    {"deliveries", "Deliveries", "Deliveries summed over the outcome window", FigureKind::sum,
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
    {"alpha_mean", "Mean α", "The mean of the alphas the periods of the rolling forecast used",
     FigureKind::constant, [](const Figures& f) { return f.alphaMean; }},
    {"beta_mean", "Mean β", "The mean of the betas the periods of the rolling forecast used",
     FigureKind::constant, [](const Figures& f) { return f.betaMean; }},
    {"unstable", "Unstable",
     "A smoothing constant left 0..1 or sigma fell below 0; for all, how many", FigureKind::flag,
     [](const Figures& f) -> std::optional<double> { return f.unstable; }},
    {"negative_deliveries", "Negative deliveries", "How many deliveries were below 0",
     FigureKind::count,
     [](const Figures& f) -> std::optional<double> { return f.negativeDeliveries; }},
}};

}  // namespace sf
