#pragma once

#include <optional>

namespace sf {

// A rate or a mean; none when the denominator is 0 (no demand, no delivery, an empty stretch).
inline std::optional<double> Ratio(double numerator, double denominator) {
    if (denominator == 0.0) {
        return std::nullopt;
    }
    return numerator / denominator;
}

}  // namespace sf
