#pragma once

#include <string>

namespace sf {

// A figure as a person reads it in --summary: at most six significant digits in plain decimals,
// without trailing zeros ("184.9" for 184.89999999999998); a whole number whole. The export
// files and --next keep the shortest exact text instead.
std::string ReadingText(double value);

// A rate or level from 0 to 1 with four decimals, as the window shows it ("0.9267").
std::string RateText(double value);

}  // namespace sf
