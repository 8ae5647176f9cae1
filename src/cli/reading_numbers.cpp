#include "cli/reading_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "results/number_cells.h"

namespace sf {
namespace {

constexpr int kSignificantDigits = 6;
constexpr int kRateDecimals = 4;
// Beyond this a double holds no fraction worth showing.
constexpr double kWholeAbove = 1e15;

std::string Fixed(double value, int decimals) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string fixed(text);
    // A small negative rounded to zero is zero.
    if (fixed.front() == '-' && fixed.find_first_not_of("0.", 1) == std::string::npos) {
        fixed.erase(0, 1);
    }
    return fixed;
}

}  // namespace

std::string ReadingText(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= kWholeAbove || value == std::trunc(value)) {
        return ShortestText(value);
    }
    const int before = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    std::string text = Fixed(value, std::clamp(kSignificantDigits - before, 0, 17));
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text;
}

std::string RateText(double value) {
    return std::isfinite(value) ? Fixed(value, kRateDecimals) : ShortestText(value);
}

}  // namespace sf
