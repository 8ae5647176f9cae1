#include "run/bounded_proposals.h"

#include <algorithm>
#include <memory>

#include "estimation/forecasts_as_known.h"
#include "estimation/initial_estimation.h"
#include "estimation/rolling_forecast.h"
#include "estimation/rolling_forecast_lanes.h"
#include "outcome/deliveries_and_sales.h"
#include "results/next_deliveries.h"
#include "state/quiet_observer.h"

namespace sf {
namespace {

// The season of the listed sales points, the k-th as sales point k.
SeasonState SeasonOfListed(const SeasonState& season, const std::vector<int>& salesPoints) {
    SeasonState listed;
    if (!season.Active()) {
        return listed;
    }
    listed.length = season.length;
    listed.periodSlots = season.periodSlots;
    for (const int sp : salesPoints) {
        for (int k = 1; k <= season.length; ++k) {
            listed.indices.push_back(season.Index(sp, k));
        }
        for (int t = 0; t < season.periodSlots; ++t) {
            listed.givenDemand.push_back(t == 0 ? 0.0 : season.GivenDemand(sp, t));
        }
    }
    return listed;
}

// The listed sales points of the state's run, the k-th as sales point k, run again on their
// demand with the constants within 0 and 1, as a sales history of them would run.
RunResults BoundedRun(const RunState& state, const std::vector<int>& salesPoints,
                      const RunOptions& options) {
    const auto bounded = std::make_unique<RunState>(state.periodCapacity);
    bounded->periodNumber = state.periodNumber;
    bounded->initPeriods = state.initPeriods;
    bounded->alphaBetaPeriods = state.alphaBetaPeriods;
    bounded->warmUp = state.warmUp;
    bounded->tau = state.tau;
    bounded->horizon = state.horizon;
    bounded->salesPointCount = static_cast<std::int16_t>(salesPoints.size());
    bounded->boundedConstants = true;
    bounded->demandRecorded = true;
    for (std::size_t k = 0; k < salesPoints.size(); ++k) {
        const PeriodRow<const double> demand = state.actualDemand.Row(salesPoints[k]);
        const PeriodRow<double> into = bounded->actualDemand.Row(static_cast<int>(k) + 1);
        for (int t = 1; t <= state.periodNumber; ++t) {
            into[t] = demand[t];
        }
    }
    // The adjusted demand is run again with the same indices, so the proposals are in the
    // demand's own units as the run's are.
    bounded->season = SeasonOfListed(state.season, salesPoints);
    QuietObserver quiet;
    EstimateInitialMeanAndDeviation(*bounded);
    ClearOutcomeSums(*bounded);
    EstimateInitialConstants(*bounded, quiet);
    if (options.estimation == EstimationPath::plain) {
        RollingForecast(*bounded, quiet, [](double) {});
    } else {
        RollingForecastInLanes(
            *bounded, quiet, [](double) {}, options.lanes);
    }
    ForecastsAsKnown(*bounded, options.lanes);
    ComputeDeliveriesAndSales(*bounded);
    RunResults results;
    results.series = CopySeries(*bounded);
    results.figures = ComputeFigures(results.series);
    return results;
}

}  // namespace

RunResults CompleteResults(const RunState& state, const ResultsRequest& request,
                           const RunOptions& options) {
    RunResults results = ComputeResults(state, request);
    ProposeDeliveries(state, options, results);
    return results;
}

void ProposeDeliveries(const RunState& state, const RunOptions& options, RunResults& results) {
    results.proposals.assign(results.series.salesPoints.size(), Proposal{});
    const std::vector<int> diverged = DivergedComingSalesPoints(NextDeliveries(results));
    if (diverged.empty()) {
        return;
    }
    for (const int salesPoint : diverged) {
        results.proposals[static_cast<std::size_t>(salesPoint - 1)].from = ProposalSource::none;
    }
    // A run with the constants within 0 and 1 already is the bounded run: it proposes nothing.
    if (state.boundedConstants) {
        return;
    }
    const RunResults bounded = BoundedRun(state, diverged, options);
    const std::vector<int> divergedToo = DivergedComingSalesPoints(NextDeliveries(bounded));
    for (std::size_t k = 0; k < diverged.size(); ++k) {
        if (std::ranges::find(divergedToo, static_cast<int>(k) + 1) != divergedToo.end()) {
            continue;
        }
        Proposal& proposal = results.proposals[static_cast<std::size_t>(diverged[k] - 1)];
        proposal.from = ProposalSource::constants01;
        proposal.delivery = bounded.series.salesPoints[k].coming.delivery;
    }
}

}  // namespace sf
