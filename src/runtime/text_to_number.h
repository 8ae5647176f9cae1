#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/number_locale.h"

namespace sf {

// A text as a user types it in a box: surrounding blanks, a sign, digits with at most one
// decimal separator of the locale, an optional exponent. Empty when the text is no number or
// a double cannot hold its value.
std::optional<double> TextToDouble(std::string_view text, const NumberLocale& locale);

inline constexpr std::string_view kNotANumber = "is not a number";

// Why TextToDouble refuses a text, to complete a message after the quoted text: kNotANumber,
// or, for a number a double cannot hold, that it is too large or too close to 0.
std::string_view NotANumberReason(std::string_view text, const NumberLocale& locale);

enum class IntegerTextStatus { ok, notANumber, outOfRange };

struct IntegerText {
    IntegerTextStatus status = IntegerTextStatus::notANumber;
    std::int16_t value = 0;
};

// The number rounded to a whole number with halves to even, within -32768..32767.
IntegerText TextToInt16(std::string_view text, const NumberLocale& locale);

}  // namespace sf
