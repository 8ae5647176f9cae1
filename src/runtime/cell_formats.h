#pragma once

#include <string>

#include "runtime/number_locale.h"

namespace sf {

// Each appends one matrix cell to out, so that a row is built without temporaries.

// Pattern "00": whole number, halves away from zero, at least two digits (-0.3 gives -00).
void AppendWholeCell(std::string& out, double value);

// Pattern "00.00": two decimals, halves away from zero, at least two integer digits.
void AppendTwoDecimalCell(std::string& out, double value, const NumberLocale& locale);

// Two-decimal number format: at least one integer digit, the locale's grouping (0.30, 1,234.50).
void AppendTwoDecimalNumber(std::string& out, double value, const NumberLocale& locale);

}  // namespace sf
