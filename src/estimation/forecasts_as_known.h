#pragma once

#include "state/run_options.h"
#include "state/run_state.h"

namespace sf {

// The forecast and sigma each period t of the rolling stretch had when its delivery was decided,
// at d = DecisionPeriod(t): the recursions of the alpha and beta criteria replayed over
// S + 1..d + H with the constants period d used, the beta series measured against that alpha
// series, taken at d + H (for H = 0 and d = S, the start values at S). Only demand of periods
// 1..d enters them. The coming periods after P, whose decision periods are at most P, are
// replayed alike. Writes forecastAsForecast, sigmaAsForecast, comingForecast and comingSigma
// and nothing else: the replays run in the lane kernel, eight sales points side by side, on
// buffers of their own, which gives the criteria's own bits.
void ForecastsAsKnown(RunState& state, const LaneOptions& options = {});

}  // namespace sf
