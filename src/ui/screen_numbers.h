#pragma once

#include <QString>
#include <optional>

namespace sf::ui {

// Numbers as the window shows them, in the user's locale (QLocale()).

inline constexpr int kRateDecimals = 4;  // fill rates, service levels, constants
inline constexpr int kTauDecimals = 4;

// Beyond this magnitude a number is written compactly, as 1.6E+25: only diverged forecasts
// reach it, and their digits would widen every column and box they stand in.
inline constexpr double kCompactFrom = 1e12;

// With this many decimals, or compactly; empty for no value.
QString ScreenNumber(const std::optional<double>& value, int decimals);
// A sum: whole numbers without decimals, others with two.
QString ScreenSum(double value);
// At most this many decimals, without trailing zeros: 0.5, 0.6433, 1; or compactly.
QString ScreenShort(double value, int decimals);
// A tau as the window names it: ScreenShort with kTauDecimals.
QString ScreenTau(double tau);
// Every digit it takes to read back the same double, without grouping: for copying.
QString FullNumber(double value);
// A number read from a box in the user's locale; none for a text that is no number.
std::optional<double> ScreenNumberFromText(const QString& text);

}  // namespace sf::ui
