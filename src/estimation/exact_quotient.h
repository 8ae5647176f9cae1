#pragma once

#include <cmath>

// The smoothing weight divides by the period at every step of every criterion evaluation, and a
// vector divider takes several times as long as a multiplication. With a fused multiply-add the
// correctly rounded quotient a / b follows from y = 1 / b (itself correctly rounded) by one
// correction with an exact remainder, so the kernels may use it wherever it gives the bits of the
// division:  q0 = a y;  r0 = a - b q0 (exact);  q = q0 + r0 y.
// Why, for an integer b in 1..2^20 and a quotient Q = a / b far from underflow and overflow:
// b y is within 2^-53 of 1, so q0 is within 2 ulp(Q) of Q; a is a multiple of ulp(Q), so r0 is a
// multiple of ulp(Q) / 2 below 2^23 of them, hence exact. Then q0 + r0 y = Q + r0 (y - 1 / b)
// differs from Q by at most 2^-52 ulp(Q), while Q lies at least ulp(Q) / 4b from any midpoint
// between doubles (a - b m is a nonzero multiple of ulp(Q) / 4: a = b m would need 54 significant
// bits in a), so the one rounding of the last step gives what the division's rounding gives.
#define SF_QUOTIENT_INLINE inline __attribute__((always_inline))

namespace sf {

// The periods the exactness argument covers: every divisor a kernel hands in is one of them.
inline constexpr double kLargestExactDivisor = 1048576.0;  // 2^20

// Whether the quotient path gives the division's bits for numerators (period - 1) c: c is 0, or
// its magnitude keeps every quotient and remainder far from underflow and overflow. A trial
// outside (a NaN or infinity included) takes the division.
SF_QUOTIENT_INLINE bool QuotientPathCovers(double c) {
    const double magnitude = std::fabs(c);
    return c == 0.0 || (magnitude >= 0x1p-800 && magnitude <= 0x1p800);
}

// a / b from y = 1 / b; `fused(x, y, z)` must be x y + z rounded once.
template <class Value, class Fused>
SF_QUOTIENT_INLINE Value QuotientByReciprocal(Value a, Value b, Value y, Fused fused) {
    const Value q0 = a * y;
    const Value r0 = fused(-q0, b, a);
    return fused(r0, y, q0);
}

}  // namespace sf

#undef SF_QUOTIENT_INLINE
