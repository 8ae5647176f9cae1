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
inline constexpr NumberRule kOutcomeCostRule = {"a number of 0 or more",
                                                [](double number) { return number >= 0.0; }};

// The number when the rule takes it; none for a text that is no number or a number refused.
inline std::optional<double> Taken(const NumberRule& rule, const std::optional<double>& number) {
    if (!number || !rule.accepts(*number)) {
        return std::nullopt;
    }
    return number;
}

}  // namespace sf
