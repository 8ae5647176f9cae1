#pragma once

#include <cmath>

// The smoothing formulas, each written once for the plain estimation and the lane kernels. The
// templates take a double or a SIMD vector of doubles; they are always inlined, because the
// kernels are built once per instruction set and must never share an out-of-line copy.
#define SF_SMOOTHING_INLINE inline __attribute__((always_inline))

namespace sf {

// sqrt(2 / pi) to five decimals: mean absolute deviation = 0.79788 x standard deviation.
inline constexpr double kMadPerSigma = 0.79788;

SF_SMOOTHING_INLINE double MadFromSigma(double sigma) {
    return sigma * kMadPerSigma;
}

SF_SMOOTHING_INLINE double SigmaFromMad(double mad) {
    return mad / kMadPerSigma;
}

// Weight of the newest observation at the absolute period t for the constant c: it falls from
// 1 towards c as t grows. Written as ((t - 1) * c) / t + 1 / t; the quotient must be the
// division's, bit for bit. The lanes hand in 1 / t computed once per period, which gives the
// same bits. `divide(numerator, period)` is the division itself or a path that gives its bits.
template <class Value, class Divide>
SF_SMOOTHING_INLINE Value SmoothingWeight(Value c, double period, double reciprocal,
                                          Divide divide) {
    return divide((period - 1.0) * c, period) + reciprocal;
}

template <class Value>
SF_SMOOTHING_INLINE Value SmoothingWeight(Value c, double period, double reciprocal) {
    return SmoothingWeight(
        c, period, reciprocal, [](Value numerator, double divisor) __attribute__((always_inline)) {
            return numerator / divisor;
        });
}

SF_SMOOTHING_INLINE double SmoothingWeight(int t, double c) {
    const double period = t;
    return SmoothingWeight(c, period, 1.0 / period);
}

// One step of a smoothed series: X(t) = (1 - w) X(t - H) + w Y(t - H). With Y the demand it is
// the forecast F, with Y = |D - F| the deviation M as the criteria write it.
template <class Value>
SF_SMOOTHING_INLINE Value SmoothedStep(Value w, Value lagged, Value observed) {
    return (1.0 - w) * lagged + w * observed;
}

// The deviation step as the initial estimation and the rolling forecast write it:
// M(t) = |D(t - H) - F(t - H)| w + (1 - w) M(t - H). The same bits as SmoothedStep, since only
// the operands of a sum and of a product trade places, but kept in its own written order.
SF_SMOOTHING_INLINE double SmoothedDeviation(double w, double absoluteError, double laggedMad) {
    return absoluteError * w + (1.0 - w) * laggedMad;
}

// The errors the two criteria sum: (F - D)^2 and (|F - D| - M)^2.
SF_SMOOTHING_INLINE double SquaredForecastError(double forecast, double demand) {
    const double error = forecast - demand;
    return error * error;
}

SF_SMOOTHING_INLINE double SquaredDeviationError(double forecast, double demand, double mad) {
    const double error = std::fabs(forecast - demand) - mad;
    return error * error;
}

}  // namespace sf

#undef SF_SMOOTHING_INLINE
