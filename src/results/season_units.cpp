#include "results/season_units.h"

#include "outcome/period_outcome.h"

namespace sf {
namespace {

// The value for period t in own units; a closed position's is 0, never -0.
double MultipliedBack(double adjusted, double index) {
    return index == 0.0 ? 0.0 : adjusted * index;
}

void MultiplyBack(const SeasonState& season, int sp, PeriodSeries& series) {
    for (std::size_t at = 0; at < series.values.size(); ++at) {
        const int t = series.first + static_cast<int>(at);
        series.values[at] = MultipliedBack(series.values[at], season.Index(sp, t));
    }
}

void EvaluatedIntoDemandUnits(const SeasonState& season, int sp, double tau,
                              EvaluatedSeries& series) {
    MultiplyBack(season, sp, series.forecast);
    MultiplyBack(season, sp, series.sigma);
    for (std::size_t at = 0; at < series.forecast.values.size(); ++at) {
        const int t = series.forecast.first + static_cast<int>(at);
        const PeriodOutcome<double> outcome = OutcomeOfPeriod(
            series.forecast.values[at], series.sigma.values[at], tau, season.GivenDemand(sp, t));
        series.delivery.values[at] = outcome.delivery;
        series.lostSale.values[at] = outcome.lostSale;
        series.returned.values[at] = outcome.returned;
        series.sales.values[at] = outcome.sales;
    }
}

}  // namespace

void IntoDemandUnits(const SeasonState& season, int salesPoint, double tau,
                     SalesPointSeries& series) {
    for (std::size_t at = 0; at < series.demand.values.size(); ++at) {
        series.demand.values[at] =
            season.GivenDemand(salesPoint, series.demand.first + static_cast<int>(at));
    }
    MultiplyBack(season, salesPoint, series.mad);
    EvaluatedIntoDemandUnits(season, salesPoint, tau, series.asReported);
    EvaluatedIntoDemandUnits(season, salesPoint, tau, series.asForecast);
    ComingSeries& coming = series.coming;
    MultiplyBack(season, salesPoint, coming.forecast);
    MultiplyBack(season, salesPoint, coming.sigma);
    for (std::size_t at = 0; at < coming.delivery.values.size(); ++at) {
        coming.delivery.values[at] =
            DeliveryOf(coming.forecast.values[at], coming.sigma.values[at], tau);
    }
}

SeasonTable SeasonTableOf(const SeasonState& season, int salesPointCount) {
    SeasonTable table;
    if (!season.Active()) {
        return table;
    }
    table.length = season.length;
    for (int sp = 1; sp <= salesPointCount; ++sp) {
        std::vector<double>& row = table.indices.emplace_back();
        for (int t = 1; t <= season.length; ++t) {
            row.push_back(season.Index(sp, t));
        }
    }
    return table;
}

}  // namespace sf
