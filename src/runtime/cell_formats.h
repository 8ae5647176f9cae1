#pragma once

#include <string>

#include "runtime/number_locale.h"

namespace sf {

// Pattern "00": whole number, halves away from zero, at least two digits (-0.3 gives -00).
std::string FormatWholeCell(double value);

// Pattern "00.00": two decimals, halves away from zero, at least two integer digits.
std::string FormatTwoDecimalCell(double value, const NumberLocale& locale);

// Two-decimal number format: at least one integer digit, the locale's grouping (0.30, 1,234.50).
std::string FormatTwoDecimalNumber(double value, const NumberLocale& locale);

}  // namespace sf
