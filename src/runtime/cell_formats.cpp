#include "runtime/cell_formats.h"

#include <cmath>

#include "runtime/rounding.h"

namespace sf {
namespace {

// The sign is decided on the value, not on the rounded digits: -0.3 keeps its minus sign,
// and -0 is not below zero.
void AppendSign(std::string& out, double value) {
    if (value < 0.0) {
        out += '-';
    }
}

// Appends the rounded magnitude with its integer part widened to at least minimumDigits and,
// where a separator is given, grouped by threes.
void AppendRounded(std::string& out, double value, int decimals, std::size_t minimumDigits,
                   const std::string& decimalPoint, const std::string& groupSeparator) {
    thread_local HalfAwayRounder rounder;
    const RoundedDigits digits = rounder.Round(std::fabs(value), decimals);
    if (digits.integer.size() < minimumDigits) {
        out.append(minimumDigits - digits.integer.size(), '0');
    }
    if (groupSeparator.empty()) {
        out += digits.integer;
    } else {
        for (std::size_t at = 0; at < digits.integer.size(); ++at) {
            if (at > 0 && (digits.integer.size() - at) % 3 == 0) {
                out += groupSeparator;
            }
            out += digits.integer[at];
        }
    }
    if (decimals > 0) {
        out += decimalPoint;
        out += digits.decimals;
    }
}

}  // namespace

void AppendWholeCell(std::string& out, double value) {
    AppendSign(out, value);
    AppendRounded(out, value, 0, 2, "", "");
}

void AppendTwoDecimalCell(std::string& out, double value, const NumberLocale& locale) {
    AppendSign(out, value);
    AppendRounded(out, value, 2, 2, locale.decimalPoint, "");
}

void AppendTwoDecimalNumber(std::string& out, double value, const NumberLocale& locale) {
    AppendSign(out, value);
    AppendRounded(out, value, 2, 1, locale.decimalPoint, locale.thousandsSeparator);
}

}  // namespace sf
