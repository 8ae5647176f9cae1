#pragma once

#include <optional>
#include <string_view>

namespace sf {

// What a number typed for a run's results must be. The words follow "needs" or "is not", so
// that each front end names its own box or option around them.
struct NumberRule {
    std::string_view wanted;
    bool (*accepts)(double number);
};

inline constexpr NumberRule kTargetFillRateRule = {
    "a number above 0 and at most 1", [](double number) { return number > 0.0 && number <= 1.0; }};
// A cycle service level is a share too.
inline constexpr const NumberRule& kTargetServiceLevelRule = kTargetFillRateRule;
// The largest cost taken: a cost of lost sales and returns then overflows only where the
// outcomes themselves are beyond any demand a run has.
inline constexpr double kLargestCost = 1e15;
inline constexpr NumberRule kOutcomeCostRule = {"a number from 0 to 1e15", [](double number) {
                                                    return number >= 0.0 && number <= kLargestCost;
                                                }};

// The number when the rule takes it; none for a text that is no number or a number refused.
inline std::optional<double> Taken(const NumberRule& rule, const std::optional<double>& number) {
    if (!number || !rule.accepts(*number)) {
        return std::nullopt;
    }
    return number;
}

}  // namespace sf
