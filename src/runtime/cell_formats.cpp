#include "runtime/cell_formats.h"

#include <cmath>

#include "runtime/rounding.h"

namespace sf {
namespace {

struct SplitDigits {
    std::string integer;
    std::string fraction;
};

SplitDigits SplitAtPoint(const std::string& digits) {
    const std::size_t point = digits.find('.');
    if (point == std::string::npos) {
        return {digits, ""};
    }
    return {digits.substr(0, point), digits.substr(point + 1)};
}

std::string PadToTwoDigits(std::string integer) {
    if (integer.size() < 2) {
        integer.insert(0, 2 - integer.size(), '0');
    }
    return integer;
}

std::string GroupThousands(const std::string& integer, const std::string& separator) {
    if (separator.empty()) {
        return integer;
    }
    std::string grouped;
    for (std::size_t at = 0; at < integer.size(); ++at) {
        if (at > 0 && (integer.size() - at) % 3 == 0) {
            grouped += separator;
        }
        grouped += integer[at];
    }
    return grouped;
}

// The sign is decided on the value, not on the rounded digits: -0.3 keeps its minus sign.
std::string SignOf(double value) {
    return value < 0.0 ? "-" : "";
}

}  // namespace

std::string FormatWholeCell(double value) {
    return SignOf(value) + PadToTwoDigits(RoundHalfAwayDigits(std::fabs(value), 0));
}

std::string FormatTwoDecimalCell(double value, const NumberLocale& locale) {
    const SplitDigits digits = SplitAtPoint(RoundHalfAwayDigits(std::fabs(value), 2));
    return SignOf(value) + PadToTwoDigits(digits.integer) + locale.decimalPoint + digits.fraction;
}

std::string FormatTwoDecimalNumber(double value, const NumberLocale& locale) {
    const SplitDigits digits = SplitAtPoint(RoundHalfAwayDigits(std::fabs(value), 2));
    return SignOf(value) + GroupThousands(digits.integer, locale.thousandsSeparator) +
           locale.decimalPoint + digits.fraction;
}

}  // namespace sf
