#pragma once

#include <optional>
#include <string>

namespace sf {

// Room enough for any cell: the longest shortest text of a double is 24 characters.
inline constexpr int kCellRoom = 32;

// The shortest text that reads back to the same double, "." as decimal point whatever the
// locale, written at `at` (which has kCellRoom characters of room); a value a double cannot
// hold as a number (infinite, NaN) gives no text. Returns the end of what was written.
char* WriteCell(char* at, double value);
char* WriteCell(char* at, const std::optional<double>& value);

// The same text appended to a CSV row, or as a string.
void AppendCell(std::string& row, double value);
void AppendCell(std::string& row, const std::optional<double>& value);
std::string ShortestText(double value);

}  // namespace sf
