#pragma once

#include <span>
#include <vector>

#include "state/run_state.h"

namespace sf {

// The season indices of one sales point from its demand in periods 1..S.
struct SeasonIndices {
    std::vector<double> indices;  // position k at k; 0 at a closed position
    bool flat = false;            // no season shown: every index 1
};

// The lag-M autocorrelation of the window's demand is above 1.645 times its standard error
// (Bartlett's formula over the lags below M): a one-sided test at 5%.
bool WindowShowsSeason(std::span<const double> window, int length);

// window holds the demand of periods 1..S, S >= 2M + 1. The ratio of each period's demand to
// its centred moving average (of M periods, 2 x M for an even M), averaged per position and
// normalised to average 1. A position without demand in the window is closed whatever the
// test says; a window without a closed position that shows no season keeps every index 1.
SeasonIndices ComputeSeasonIndices(std::span<const double> window, int length);

// Keeps each sales point's demand as given in state.season, computes its indices from 1..S
// and replaces actualDemand over 1..P by the adjusted demand D(t) / index. A period at a
// closed position takes the adjusted demand before it (the first open one's in the window for
// a closed start): the level the forecasts follow, so it pulls them neither down nor up.
// Needs the converted inputs and the demand; does nothing for M = 0.
void AdjustDemandForSeason(RunState& state, int length);

}  // namespace sf
