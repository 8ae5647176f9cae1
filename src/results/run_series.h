#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

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

// Every series of one sales point over the periods 1..P. alpha and beta are the constants each
// period's own step used, not the last trials the run state keeps under those names.
struct SalesPointSeries {
    PeriodSeries demandMean;
    PeriodSeries demand;
    PeriodSeries forecast;
    PeriodSeries mad;
    PeriodSeries sigma;
    PeriodSeries alpha;
    PeriodSeries beta;
    PeriodSeries delivery;
    PeriodSeries lostSale;
    PeriodSeries returned;
    PeriodSeries sales;
};

struct SeriesColumn {
    std::string_view name;
    PeriodSeries SalesPointSeries::*series;
};

// The columns of series.csv after sales_point and period, in their order.
inline constexpr std::array<SeriesColumn, 11> kSeriesColumns = {{
    {"demand_mean", &SalesPointSeries::demandMean},
    {"demand", &SalesPointSeries::demand},
    {"forecast", &SalesPointSeries::forecast},
    {"mad", &SalesPointSeries::mad},
    {"sigma", &SalesPointSeries::sigma},
    {"alpha", &SalesPointSeries::alpha},
    {"beta", &SalesPointSeries::beta},
    {"delivery", &SalesPointSeries::delivery},
    {"lost_sale", &SalesPointSeries::lostSale},
    {"returned", &SalesPointSeries::returned},
    {"sales", &SalesPointSeries::sales},
}};

// A copy of a complete run's series, which outlives the run state (the next run clears it).
struct RunSeries {
    int periodNumber = 0;                       // P
    int outcomeFirst = 1;                       // S: the outcome window is S..P
    double tau = 0.0;                           // the run's own safety factor
    std::vector<SalesPointSeries> salesPoints;  // sales point sp at sp - 1

    int OutcomeLast() const { return periodNumber; }
};

RunSeries CopySeries(const RunState& state);

}  // namespace sf
