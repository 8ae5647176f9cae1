#pragma once

#include <cmath>

#include "runtime/run_error.h"
#include "state/run_state.h"

namespace sf {

inline constexpr const char* kForecastOverflow =
    "the smoothed mean is too large for a number (it overflowed)";
inline constexpr const char* kDeviationOverflow =
    "the smoothed deviation is too large for a number (it overflowed)";

inline void CheckFiniteForecast(const RunState& state, int salesPoint, int period) {
    if (!std::isfinite(state.mu(salesPoint, period))) {
        FailAt(salesPoint, period, kForecastOverflow);
    }
}

inline void CheckFiniteDeviation(const RunState& state, int salesPoint, int period) {
    if (!std::isfinite(state.sigma(salesPoint, period))) {
        FailAt(salesPoint, period, kDeviationOverflow);
    }
}

}  // namespace sf
