#include "results/run_series.h"

#include <algorithm>

#include "outcome/period_outcome.h"
#include "results/season_units.h"
#include "runtime/period_dates.h"

namespace sf {
namespace {

// The periods first..last of one sales point's row, clipped to 1..P.
PeriodSeries Written(const Matrix& matrix, int sp, int first, int last) {
    PeriodSeries series;
    series.first = std::max(first, 1);
    if (last >= series.first) {
        const PeriodRow<const double> row = matrix.Row(sp);
        series.values.assign(&row[series.first], &row[last] + 1);
    }
    return series;
}

// Room for the values of a stretch, which are then appended.
PeriodSeries ForStretch(const PeriodStretch& stretch) {
    PeriodSeries series{std::max(stretch.first, 1), {}};
    series.values.reserve(static_cast<std::size_t>(stretch.Length()));
    return series;
}

// What the forecasts known at the decision periods give at the run's tau, with the step the
// run's own outcome takes.
EvaluatedSeries AsForecast(const RunState& state, int sp, const PeriodStretch& rolling) {
    EvaluatedSeries series;
    series.forecast = Written(state.forecastAsForecast, sp, rolling.first, rolling.last);
    series.sigma = Written(state.sigmaAsForecast, sp, rolling.first, rolling.last);
    for (PeriodSeries* outcome :
         {&series.delivery, &series.lostSale, &series.returned, &series.sales}) {
        *outcome = ForStretch(rolling);
    }
    for (int t = rolling.first; t <= rolling.last; ++t) {
        const PeriodOutcome<double> outcome =
            OutcomeOfPeriod(state.forecastAsForecast(sp, t), state.sigmaAsForecast(sp, t),
                            state.tau, state.actualDemand(sp, t));
        series.delivery.values.push_back(outcome.delivery);
        series.lostSale.values.push_back(outcome.lostSale);
        series.returned.values.push_back(outcome.returned);
        series.sales.values.push_back(outcome.sales);
    }
    return series;
}

// The forecasts known now of the periods after P, which the run state keeps counted from P.
ComingSeries Coming(const RunState& state, int sp, const PeriodStretch& coming) {
    ComingSeries series;
    for (PeriodSeries* values :
         {&series.forecast, &series.sigma, &series.delivery, &series.decidedAt}) {
        *values = ForStretch(coming);
    }
    for (int t = coming.first; t <= coming.last; ++t) {
        const int k = t - state.periodNumber;
        const double forecast = state.comingForecast(sp, k);
        const double sigma = state.comingSigma(sp, k);
        series.forecast.values.push_back(forecast);
        series.sigma.values.push_back(sigma);
        series.delivery.values.push_back(DeliveryOf(forecast, sigma, state.tau));
        series.decidedAt.values.push_back(DecisionPeriod(state, t));
    }
    return series;
}

}  // namespace

std::string RunSeries::Name(int salesPoint) const {
    const std::size_t at = static_cast<std::size_t>(salesPoint - firstSalesPoint);
    return at < names.size() && !names[at].empty() ? names[at] : std::to_string(salesPoint);
}

std::string_view RunSeries::Date(int period) const {
    const std::size_t at = static_cast<std::size_t>(period - 1);
    return period >= 1 && at < dates.size() ? std::string_view(dates[at]) : std::string_view();
}

std::vector<std::size_t> BlockEnds(const RunSeries& series) {
    if (series.blockSizes.empty()) {
        return {series.salesPoints.size()};
    }
    std::vector<std::size_t> ends;
    std::size_t end = 0;
    for (const std::size_t size : series.blockSizes) {
        end += size;
        ends.push_back(std::min(end, series.salesPoints.size()));
    }
    return ends;
}

RunSeries CopySeries(const RunState& state) {
    const int p = state.periodNumber;
    const PeriodStretch outcome = OutcomeWindow(state);
    const PeriodStretch constants = ConstantsStretch(state);
    RunSeries copy;
    copy.periodNumber = p;
    copy.horizon = state.horizon;
    copy.tau = state.tau;
    copy.outcomeWindow = outcome;
    copy.rollingStretch = RollingStretch(state);
    copy.comingPeriods = ComingPeriods(state);
    copy.names = state.salesPointNames;
    if (!state.periodDates.empty()) {
        // Continued here once, so that every file and front end names a coming period alike.
        copy.dates = ContinuedDates(state.periodDates, std::max(p, copy.comingPeriods.last));
    }
    copy.salesPoints.resize(static_cast<std::size_t>(std::max<int>(state.salesPointCount, 0)));
    for (int sp = 1; sp <= state.salesPointCount; ++sp) {
        SalesPointSeries& series = copy.salesPoints[static_cast<std::size_t>(sp - 1)];
        series.demandMean = Written(state.demandMean, sp, 1,
                                    !state.demandRecorded && HasDemandMean(state.model) ? p : 0);
        series.demand = Written(state.actualDemand, sp, 1, p);
        // The initial estimation starts the forecasts at S; the constants are first used at S + 1.
        series.mad = Written(state.mad, sp, outcome.first, outcome.last);
        series.alpha = Written(state.alphaUsed, sp, constants.first, constants.last);
        series.beta = Written(state.betaUsed, sp, constants.first, constants.last);
        EvaluatedSeries& reported = series.asReported;
        reported.forecast = Written(state.mu, sp, outcome.first, outcome.last);
        reported.sigma = Written(state.sigma, sp, outcome.first, outcome.last);
        reported.delivery = Written(state.delivery, sp, outcome.first, outcome.last);
        reported.lostSale = Written(state.lostSale, sp, outcome.first, outcome.last);
        reported.returned = Written(state.returned, sp, outcome.first, outcome.last);
        reported.sales = Written(state.sales, sp, outcome.first, outcome.last);
        series.asForecast = AsForecast(state, sp, copy.rollingStretch);
        series.decidedAt = ForStretch(copy.rollingStretch);
        for (int t = copy.rollingStretch.first; t <= copy.rollingStretch.last; ++t) {
            series.decidedAt.values.push_back(DecisionPeriod(state, t));
        }
        series.coming = Coming(state, sp, copy.comingPeriods);
        if (state.season.Active()) {
            IntoDemandUnits(state.season, sp, state.tau, series);
        }
    }
    copy.season = SeasonTableOf(state.season, state.salesPointCount);
    return copy;
}

}  // namespace sf
