#pragma once

#include <string>

#include "runtime/number_locale.h"

namespace sf {

// A number item of a report line: a space or a minus sign, up to 15 significant digits
// (scientific from 1E+15 and below 1E-04), one trailing space.
std::string NumberText(double value, const NumberLocale& locale);

}  // namespace sf
