#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "results/run_results.h"

namespace sf {

// The lines --summary prints after the closing message, numbers as in summary.csv: the figures
// of the sound sales points per evaluation, the headline first, the count of warnings, the
// notes, and the answers to a target fill rate and to costs.
std::string ResultsSummary(const RunResults& results, std::size_t warningCount,
                           const std::vector<std::string>& notes);

}  // namespace sf
