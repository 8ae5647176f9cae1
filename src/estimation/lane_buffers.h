#pragma once

#include <algorithm>
#include <cstddef>

#include "state/run_state.h"

namespace sf {

// The working columns of the lanes' threads live in the run state, one buffer per thread, and
// keep their size from run to run: a run then touches no fresh memory for them. What a buffer
// holds when it is handed out is left from its last use; every user writes a cell before it
// reads it, or reads it only for a lane or period whose result it discards.

// Before the threads start: a buffer for each of them.
inline void KeepLaneBuffers(RunState& state, int threads) {
    const auto count = static_cast<std::size_t>(std::max(threads, 1));
    if (state.laneBuffers.size() < count) {
        state.laneBuffers.resize(count);
    }
}

// The buffer of one thread, with room for at least `doubles`; each thread grows only its own.
inline double* LaneBuffer(RunState& state, int thread, std::size_t doubles) {
    std::vector<double>& buffer = state.laneBuffers[static_cast<std::size_t>(thread)];
    if (buffer.size() < doubles) {
        buffer.resize(doubles, 0.0);
    }
    return buffer.data();
}

}  // namespace sf
