#pragma once

#include <string_view>

#include "results/run_series.h"

namespace sf {

// season.csv read back into the indices of a run with a season of `length` periods and
// `salesPoints` sales points: every sales point in order, each with its positions 1..length,
// every index a number of at least 0. A RunError naming the row and column otherwise. The names
// are checked where the table is written again from what was read.
SeasonTable ReadSeasonTable(std::string_view text, int length, int salesPoints);

}  // namespace sf
