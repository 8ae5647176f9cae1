#pragma once

#include <cstdint>
#include <optional>

#include "runtime/uniform_source.h"
#include "state/history_choices.h"
#include "state/run_inputs.h"

namespace sf {

// What a scenario keeps: the boxes as typed, the model, the options that change what a run
// computes, the seed its random sequence starts from and the sales history read in place of
// the model, where one is. How and where a run is made (the
// report's path, the number of runs) is not part of it.
struct Scenario {
    RunInputs inputs;
    bool boundedConstants = false;
    std::uint32_t seed = kDefaultSeed;
    std::optional<HistorySource> history;  // its path absolute, as saved
    int season = 0;                        // the season length M; 0: none
};

}  // namespace sf
