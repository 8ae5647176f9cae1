#pragma once

#include <memory>
#include <vector>

#include "recording_observer.h"
#include "state/quiet_observer.h"
#include "state/run_state.h"

// A run state with one sales point whose demand is given period by period.
inline std::unique_ptr<sf::RunState> StateWithDemand(const std::vector<double>& demand,
                                                     int initPeriods, int alphaBetaPeriods,
                                                     int horizon) {
    auto state = std::make_unique<sf::RunState>();
    state->salesPointCount = 1;
    state->periodNumber = static_cast<std::int16_t>(demand.size());
    state->initPeriods = static_cast<std::int16_t>(initPeriods);
    state->alphaBetaPeriods = static_cast<std::int16_t>(alphaBetaPeriods);
    state->horizon = static_cast<std::int16_t>(horizon);
    for (std::size_t t = 1; t <= demand.size(); ++t) {
        state->actualDemand(1, static_cast<int>(t)) = demand[t - 1];
    }
    return state;
}
