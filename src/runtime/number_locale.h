#pragma once

#include <string>

namespace sf {

// The separators of the user's numeric locale. The engine is handed one of these and never
// reads the process locale itself, so tests can pin any locale.
struct NumberLocale {
    std::string decimalPoint = ".";
    std::string thousandsSeparator;  // empty: no grouping
};

// Reads the user's numeric locale (after setlocale(LC_ALL, "")). Called by the front ends only.
NumberLocale ReadUserNumberLocale();

}  // namespace sf
