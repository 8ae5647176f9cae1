#pragma once

#include <string>
#include <string_view>

#include "runtime/number_locale.h"

namespace sf {

// A box text between the user's locale and the files and command lines that write numbers with
// a "." whatever the locale. Only a text that reads as a number has its one decimal separator
// swapped; any other text stays as it is, so nothing typed is lost either way.

// A text typed in the locale, with a "." in place of the locale's decimal separator.
std::string WithDecimalPoint(std::string_view typed, const NumberLocale& locale);

// A text written with a ".", with the locale's decimal separator in its place.
std::string WithLocaleDecimal(std::string_view written, const NumberLocale& locale);

}  // namespace sf
