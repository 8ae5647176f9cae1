#pragma once

#include <string_view>

#include "results/run_series.h"

namespace sf {

// What series.csv does not hold but its series need: from run.json.
struct SeriesContext {
    int salesPoints = 0;  // the count of a run whose periods give no row
    int horizon = 0;      // H
    double tau = 0.0;     // the run's own safety factor
};

// series.csv read back into the series it was written from: the columns exactly an export's,
// sales points 1..N outer and periods 1.. inner, each column written over exactly the stretch
// the run writes it (the report's columns over the outcome window, the constants after it, the
// columns as forecast over the rolling stretch and the coming periods) and each delivery the
// one its forecast, sigma and tau give. A RunError naming series.csv, the row and the column of
// the first cell that is not so.
RunSeries ReadSeriesTable(std::string_view text, const SeriesContext& context);

}  // namespace sf
