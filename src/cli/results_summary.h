#pragma once

#include <cstddef>
#include <string>

#include "results/run_results.h"

namespace sf {

// The lines --summary prints after the closing message, numbers as in summary.csv.
std::string ResultsSummary(const RunResults& results, std::size_t warningCount);

}  // namespace sf
