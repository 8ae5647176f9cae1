#pragma once

#include "results/run_series.h"
#include "state/season.h"

namespace sf {

// A run with a season forecasts the adjusted demand; what a front end shows and exports is in
// the demand's own units. The copied series of sales point sp become: demand as given; mad,
// forecast and sigma of both evaluations and of the coming periods multiplied by the index of
// the period they are for; delivery, lost sale, return and sales from those at the run's tau
// against the demand as given, with the run's own outcome step, so that the delivery is rounded
// after the multiplication. A closed position's forecast, sigma and delivery are 0.
void IntoDemandUnits(const SeasonState& season, int salesPoint, double tau,
                     SalesPointSeries& series);

// The indices of the state's season, as the results keep them.
SeasonTable SeasonTableOf(const SeasonState& season, int salesPointCount);

}  // namespace sf
