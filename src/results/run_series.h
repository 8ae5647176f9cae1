#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "results/evaluation.h"
#include "state/period_stretches.h"
#include "state/run_state.h"

namespace sf {

// One series of one sales point as the run left it: the values of the periods the run wrote,
// first..last. A period outside them was not written by the run and has no value.
struct PeriodSeries {
    int first = 1;
    std::vector<double> values;  // periods first, first + 1, ...

    int Last() const { return first + static_cast<int>(values.size()) - 1; }
    std::optional<double> At(int period) const {
        if (period < first || period > Last()) {
            return std::nullopt;
        }
        return values[static_cast<std::size_t>(period - first)];
    }
};

// What one evaluation's forecasts gave a sales point over the evaluation's stretch: the
// forecast and sigma each delivery was set from, and the outcome of each period.
struct EvaluatedSeries {
    PeriodSeries forecast;
    PeriodSeries sigma;
    PeriodSeries delivery;
    PeriodSeries lostSale;
    PeriodSeries returned;
    PeriodSeries sales;
};

// What is known now of the coming periods after P (ComingPeriods): the forecast and sigma as
// known at their decision periods, the delivery at the run's tau, and the decision periods.
struct ComingSeries {
    PeriodSeries forecast;
    PeriodSeries sigma;
    PeriodSeries delivery;
    PeriodSeries decidedAt;
};

// Every series of one sales point over the periods 1..P, and the coming periods after them.
// alpha and beta are the constants each period's own step used, not the last trials the run
// state keeps under those names.
struct SalesPointSeries {
    PeriodSeries demandMean;
    PeriodSeries demand;
    PeriodSeries mad;
    PeriodSeries alpha;
    PeriodSeries beta;
    EvaluatedSeries asReported;  // the report's own, over the outcome window S..P
    EvaluatedSeries asForecast;  // as known at each decision period, over the rolling stretch
    PeriodSeries decidedAt;      // the decision period of each period of the rolling stretch
    ComingSeries coming;

    const EvaluatedSeries& Of(Evaluation evaluation) const {
        return evaluation == Evaluation::asForecast ? asForecast : asReported;
    }
};

struct SeriesColumn {
    std::string_view name;
    const PeriodSeries& (*series)(const SalesPointSeries&);
    // Its values in the rows of the coming periods; none where nothing is known of them.
    const PeriodSeries& (*coming)(const SalesPointSeries&) = nullptr;
};

// The columns of series.csv after sales_point, name, period and date, in their order; the
// first are the final run state as the report prints it.
inline constexpr std::array<SeriesColumn, 15> kSeriesColumns = {{
    {"demand_mean", [](const SalesPointSeries& s) -> const PeriodSeries& { return s.demandMean; }},
    {"demand", [](const SalesPointSeries& s) -> const PeriodSeries& { return s.demand; }},
    {"forecast",
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asReported.forecast; }},
    {"mad", [](const SalesPointSeries& s) -> const PeriodSeries& { return s.mad; }},
    {"sigma", [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asReported.sigma; }},
    {"alpha", [](const SalesPointSeries& s) -> const PeriodSeries& { return s.alpha; }},
    {"beta", [](const SalesPointSeries& s) -> const PeriodSeries& { return s.beta; }},
    {"delivery",
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asReported.delivery; }},
    {"lost_sale",
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asReported.lostSale; }},
    {"returned",
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asReported.returned; }},
    {"sales", [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asReported.sales; }},
    {"forecast_as_forecast",
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asForecast.forecast; },
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.coming.forecast; }},
    {"sigma_as_forecast",
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asForecast.sigma; },
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.coming.sigma; }},
    {"delivery_as_forecast",
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.asForecast.delivery; },
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.coming.delivery; }},
    {"decided_at", [](const SalesPointSeries& s) -> const PeriodSeries& { return s.decidedAt; },
     [](const SalesPointSeries& s) -> const PeriodSeries& { return s.coming.decidedAt; }},
}};

// The season indices of a run with a season (position k of sales point sp at [sp - 1][k]);
// length 0 and no rows without one.
struct SeasonTable {
    int length = 0;
    std::vector<std::vector<double>> indices;

    bool Active() const { return length >= 2; }
};

// A copy of a complete run's series, which outlives the run state (the next run clears it).
struct RunSeries {
    int periodNumber = 0;                       // P
    int horizon = 0;                            // H
    double tau = 0.0;                           // the run's own safety factor
    PeriodStretch outcomeWindow{1, 0};          // S..P, the stretch of as_reported
    PeriodStretch rollingStretch{1, 0};         // S + A + H + 1..P, the stretch of as_forecast
    PeriodStretch comingPeriods{1, 0};          // P + 1..P + max(H, 1), when as_forecast has any
    std::vector<SalesPointSeries> salesPoints;  // sales point sp at sp - 1
    std::vector<std::string> names;             // a sales history's, as salesPointNames
    // A dated sales history's days of the periods 1..P (periodDates), continued over the coming
    // periods when the run has any; an export folder written before dates 1..P only.
    std::vector<std::string> dates;
    // With a season every series is in the demand's own units (see IntoDemandUnits).
    SeasonTable season;
    // A catalogue run's blocks: how many sales points each holds, in order; empty when the run
    // is one block. Pooled figures add each block's sums, in block order.
    std::vector<std::size_t> blockSizes;
    // The number in the file of salesPoints' first: above 1 for a shard of a catalogue.
    int firstSalesPoint = 1;

    PeriodStretch Stretch(Evaluation evaluation) const {
        return evaluation == Evaluation::asForecast ? rollingStretch : outcomeWindow;
    }
    // The name a sales history gives the sales point, else its number.
    std::string Name(int salesPoint) const;
    // The day that names the period; empty for drawn demand and beyond the dates.
    std::string_view Date(int period) const;
};

RunSeries CopySeries(const RunState& state);

// Where each block of the series ends (an index into salesPoints past its last), in order: the
// whole series as one block unless blockSizes says otherwise.
std::vector<std::size_t> BlockEnds(const RunSeries& series);

}  // namespace sf
