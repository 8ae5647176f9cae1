#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "results/next_deliveries.h"
#include "results/run_results.h"

namespace sf {

// The lines --summary prints after the closing message, numbers as in summary.csv: the figures
// of the sound sales points per evaluation, the headline first, the count of warnings, the
// notes, and the answers to a target fill rate and to costs.
std::string ResultsSummary(const RunResults& results, std::size_t warningCount,
                           const std::vector<std::string>& notes);
// From the coming rows made already (NextDeliveries): a catalogue's, whose series are gone.
std::string ResultsSummary(const RunResults& results, const std::vector<NextDelivery>& next,
                           std::size_t warningCount, const std::vector<std::string>& notes);

}  // namespace sf
