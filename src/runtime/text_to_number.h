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

enum class IntegerTextStatus { ok, notANumber, outOfRange };

struct IntegerText {
    IntegerTextStatus status = IntegerTextStatus::notANumber;
    std::int16_t value = 0;
};

// The number rounded to a whole number with halves to even, within -32768..32767.
IntegerText TextToInt16(std::string_view text, const NumberLocale& locale);

}  // namespace sf
