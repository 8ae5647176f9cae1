#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>

namespace sf {

// |x| and the sign of x put onto a magnitude, for a double and, bit by bit, for a GCC vector of
// doubles, whose lanes then take exactly the scalar operations.
template <typename Value>
inline Value Magnitude(Value x) {
    if constexpr (std::is_same_v<Value, double>) {
        return std::fabs(x);
    } else {
        using Bits = decltype(x < x);
        return reinterpret_cast<Value>(reinterpret_cast<Bits>(x) &
                                       static_cast<std::int64_t>(0x7fffffffffffffffULL));
    }
}

template <typename Value>
inline Value WithSignOf(Value magnitude, Value x) {
    if constexpr (std::is_same_v<Value, double>) {
        return std::copysign(magnitude, x);
    } else {
        using Bits = decltype(x < x);
        const Bits sign =
            reinterpret_cast<Bits>(x) & static_cast<std::int64_t>(0x8000000000000000ULL);
        return reinterpret_cast<Value>(reinterpret_cast<Bits>(magnitude) | sign);
    }
}

// To a whole number, halves to even, as rint and nearbyint round: below 2^52 adding 2^52 leaves
// no bits below the units, so the addition rounds to a whole number, halves to even, and taking
// 2^52 away again is exact; from 2^52 up every double is whole. The sign is put back, so -0.3
// gives -0 as rint does. Written out because vectors have no rint of their own.
template <typename Value>
inline Value RoundHalfEven(Value x) {
    const Value magnitude = Magnitude(x);
    const Value rounded = (magnitude + 0x1p52) - 0x1p52;
    return WithSignOf(magnitude < 0x1p52 ? rounded : magnitude, x);
}

// What one period's delivery meets: the demand not met, the delivery not sold, what was sold.
template <typename Value>
struct PeriodOutcome {
    Value delivery;
    Value lostSale;
    Value returned;
    Value sales;
};

// The delivery is the safety stock plus the forecast, the product first, rounded to a whole
// number with halves to even.
template <typename Value>
inline Value DeliveryOf(Value forecast, Value deviation, Value tau) {
    return RoundHalfEven(deviation * tau + forecast);
}

// A delivery above demand, strictly, returns the surplus; otherwise the unmet demand is lost.
// The run's outcome takes this step one period at a time, the trade-off several taus at a time.
template <typename Value>
inline PeriodOutcome<Value> OutcomeOfPeriod(Value forecast, Value deviation, Value tau,
                                            Value demand) {
    const Value delivery = DeliveryOf(forecast, deviation, tau);
    const auto above = delivery > demand;
    const Value zero{};
    return {delivery, above ? zero : demand - delivery, above ? delivery - demand : zero,
            above ? demand : delivery};
}

}  // namespace sf
