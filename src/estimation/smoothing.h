#pragma once

namespace sf {

// sqrt(2 / pi) to five decimals: mean absolute deviation = 0.79788 x standard deviation.
inline constexpr double kMadPerSigma = 0.79788;

// Weight of the newest observation at the absolute period t for the constant c: it falls from
// 1 towards c as t grows. Written as ((t - 1) * c) / t + 1 / t; the division must stay one.
inline double SmoothingWeight(int t, double c) {
    const double period = t;
    return (period - 1.0) * c / period + 1.0 / period;
}

}  // namespace sf
