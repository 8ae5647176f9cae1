// Any bytes typed into a box, under any separators: reading never crashes and the whole-number
// reading agrees with the plain one. Every number read, and the first eight bytes taken as a
// double, is written in each report format and checked against an exact reference.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/cell_formats.h"
#include "runtime/number_text.h"
#include "runtime/rounding.h"
#include "runtime/text_to_number.h"

namespace {

[[noreturn]] void Fail(const char* problem, std::string_view text) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", problem, static_cast<int>(text.size()), text.data());
    std::abort();
}

std::string_view Take(std::string_view& bytes, std::size_t count) {
    const std::string_view taken = bytes.substr(0, count);
    bytes.remove_prefix(taken.size());
    return taken;
}

// A separator the number shapes cannot mistake for part of a number, as in real locales.
bool IsPlainSeparator(std::string_view separator) {
    return !separator.empty() &&
           separator.find_first_of("0123456789+-eE \t") == std::string_view::npos;
}

// The magnitude rounded half away from zero. printf writes the exact decimal expansion of a
// double within 1074 decimals, so it rounds up exactly when the first dropped digit is 5 or more.
std::string HalfAwayReference(double magnitude, int decimals) {
    std::array<char, 1500> exact{};
    std::snprintf(exact.data(), exact.size(), "%.1100f", magnitude);
    std::string digits(exact.data());
    const std::size_t firstDropped = digits.find('.') + 1 + decimals;
    bool carry = digits[firstDropped] >= '5';
    digits.resize(decimals == 0 ? firstDropped - 1 : firstDropped);
    for (std::size_t at = digits.size(); carry && at-- > 0;) {
        if (digits[at] == '9') {
            digits[at] = '0';
        } else if (digits[at] != '.') {
            ++digits[at];
            carry = false;
        }
    }
    return carry ? "1" + digits : digits;
}

// The cell the formats should write: the sign of the value, the integer digits widened to
// minimumDigits, then the decimals after the locale's point.
std::string ExpectedCell(double value, int decimals, std::size_t minimumDigits,
                         const std::string& decimalPoint) {
    std::string digits = HalfAwayReference(std::fabs(value), decimals);
    const std::size_t point = decimals == 0 ? digits.size() : digits.find('.');
    if (point < minimumDigits) {
        digits.insert(0, minimumDigits - point, '0');
    }
    if (decimals > 0) {
        digits.replace(digits.find('.'), 1, decimalPoint);
    }
    return (value < 0.0 ? "-" : "") + digits;
}

void CheckWholeNumberReading(std::string_view text, const sf::NumberLocale& locale,
                             const std::optional<double>& value) {
    const sf::IntegerText whole = sf::TextToInt16(text, locale);
    if (!value) {
        if (whole.status != sf::IntegerTextStatus::notANumber) {
            Fail("a whole number read from no number", text);
        }
        return;
    }
    const double rounded = std::nearbyint(*value);
    const bool inRange = rounded >= -32768.0 && rounded <= 32767.0;
    if (inRange != (whole.status == sf::IntegerTextStatus::ok) ||
        (inRange && whole.value != rounded)) {
        Fail("the whole number disagrees with the number", text);
    }
}

void CheckWrittenForms(double value, std::string_view text, const sf::NumberLocale& locale) {
    std::string cell;
    sf::AppendWholeCell(cell, value);
    if (cell != ExpectedCell(value, 0, 2, "")) {
        Fail("a wrong whole cell", text);
    }
    cell.clear();
    sf::AppendTwoDecimalCell(cell, value, locale);
    if (cell != ExpectedCell(value, 2, 2, locale.decimalPoint)) {
        Fail("a wrong two-decimal cell", text);
    }
    cell.clear();
    sf::AppendTwoDecimalNumber(cell, value, {locale.decimalPoint, ""});
    if (cell != ExpectedCell(value, 2, 1, locale.decimalPoint)) {
        Fail("a wrong two-decimal number", text);
    }
    sf::AppendTwoDecimalNumber(cell, value, locale);  // grouped: must not crash

    // Half the fifth decimal, plus the spacing of doubles around the number.
    const double roundingLimit =
        5e-6 + 2.0 * std::numeric_limits<double>::epsilon() * std::fabs(value);
    if (!(std::fabs(sf::RoundToDecimals(value, 5) - value) <= roundingLimit)) {
        Fail("rounding to five decimals moved the number", text);
    }
    // A number copied from the report into a box reads back to its fifteen digits. Above 1e308
    // the fifteen digits can round past the largest double.
    if (IsPlainSeparator(locale.decimalPoint) && std::fabs(value) <= 1e308) {
        const std::optional<double> back = sf::TextToDouble(sf::NumberText(value, locale), locale);
        if (!back || !(std::fabs(*back - value) <= 1e-14 * std::fabs(value))) {
            Fail("the report's number text does not read back", text);
        }
    }
}

}  // namespace

// The first two bytes give the lengths (0 to 3) of the decimal point and of the thousands
// separator, whose bytes follow; the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.size() < 2) {
        return 0;
    }
    const std::size_t pointLength = static_cast<unsigned char>(bytes[0]) % 4;
    const std::size_t separatorLength = static_cast<unsigned char>(bytes[1]) % 4;
    bytes.remove_prefix(2);
    sf::NumberLocale locale;
    locale.decimalPoint = Take(bytes, pointLength);
    locale.thousandsSeparator = Take(bytes, separatorLength);
    const std::string_view text = bytes;

    const std::optional<double> value = sf::TextToDouble(text, locale);
    if (value && !std::isfinite(*value)) {
        Fail("a number that is not finite", text);
    }
    if (sf::TextToDouble(" \t" + std::string(text) + "\t ", locale) != value) {
        Fail("surrounding blanks changed the number", text);
    }
    CheckWholeNumberReading(text, locale, value);
    if (value) {
        CheckWrittenForms(*value, text, locale);
    }
    if (text.size() >= sizeof(double)) {
        double rawValue = 0.0;
        std::memcpy(&rawValue, text.data(), sizeof(rawValue));
        if (std::isfinite(rawValue)) {
            CheckWrittenForms(rawValue, text, locale);
        }
    }
    return 0;
}
