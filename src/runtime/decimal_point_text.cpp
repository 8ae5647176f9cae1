#include "runtime/decimal_point_text.h"

#include "runtime/text_to_number.h"

namespace sf {
namespace {

// The text with the separator it reads with replaced by another: a number holds at most one.
std::string Swapped(std::string_view text, const NumberLocale& readWith, std::string_view other) {
    const std::string& separator = readWith.decimalPoint;
    std::string swapped(text);
    if (separator.empty() || separator == other || !TextToDouble(text, readWith)) {
        return swapped;
    }
    if (const std::size_t at = swapped.find(separator); at != std::string::npos) {
        swapped.replace(at, separator.size(), other);
    }
    return swapped;
}

}  // namespace

std::string WithDecimalPoint(std::string_view typed, const NumberLocale& locale) {
    return Swapped(typed, locale, ".");
}

std::string WithLocaleDecimal(std::string_view written, const NumberLocale& locale) {
    return Swapped(written, NumberLocale{}, locale.decimalPoint);
}

}  // namespace sf
