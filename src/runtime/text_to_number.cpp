#include "runtime/text_to_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace sf {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Checks the accepted shape and rewrites it in the form from_chars reads: no plus sign, "."
// as the decimal point. Empty when the shape is wrong.
std::optional<std::string> NormaliseNumberText(std::string_view text, const NumberLocale& locale) {
    std::string normal;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        if (text[at] == '-') {
            normal += '-';
        }
        ++at;
    }
    int mantissaDigits = 0;
    bool seenSeparator = false;
    while (at < text.size()) {
        if (IsDigit(text[at])) {
            normal += text[at];
            ++mantissaDigits;
            ++at;
        } else if (!seenSeparator && !locale.decimalPoint.empty() &&
                   text.substr(at, locale.decimalPoint.size()) == locale.decimalPoint) {
            normal += '.';
            seenSeparator = true;
            at += locale.decimalPoint.size();
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        normal += 'e';
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            normal += text[at];
            ++at;
        }
        int exponentDigits = 0;
        while (at < text.size() && IsDigit(text[at])) {
            normal += text[at];
            ++exponentDigits;
            ++at;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return normal;
}

// Whether the value of a well-formed number text (as NormaliseNumberText writes it) is 1 or
// more in magnitude: the place of its first significant digit plus its exponent.
bool AtLeastOne(std::string_view normal) {
    const std::size_t exponentAt = normal.find('e');
    const std::string_view mantissa = normal.substr(0, exponentAt);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return false;
    }
    long long place = first < point ? static_cast<long long>(point - first)
                                    : -static_cast<long long>(first - point - 1);
    if (exponentAt != std::string_view::npos) {
        long long exponent = 0;
        const std::string_view digits = normal.substr(exponentAt + 1);
        const bool negative = digits.starts_with('-');
        for (const char c : digits.substr(digits.starts_with('-') || digits.starts_with('+'))) {
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);  // far beyond
        }
        place += negative ? -exponent : exponent;
    }
    return place > 0;
}

}  // namespace

std::string_view NotANumberReason(std::string_view text, const NumberLocale& locale) {
    const std::optional<std::string> normal = NormaliseNumberText(TrimBlanks(text), locale);
    if (!normal) {
        return kNotANumber;
    }
    return AtLeastOne(*normal) ? "is a number too large to hold"
                               : "is a number too close to 0 to hold";
}

std::optional<double> TextToDouble(std::string_view text, const NumberLocale& locale) {
    const std::optional<std::string> normal = NormaliseNumberText(TrimBlanks(text), locale);
    if (!normal) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* first = normal->data();
    const char* last = first + normal->size();
    // from_chars reports both an infinite result and a non-zero value lost to zero as out of
    // range; both are texts a double cannot hold.
    const std::from_chars_result result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last) {
        return std::nullopt;
    }
    return value;
}

IntegerText TextToInt16(std::string_view text, const NumberLocale& locale) {
    const std::optional<double> number = TextToDouble(text, locale);
    if (!number) {
        return {IntegerTextStatus::notANumber, 0};
    }
    const double whole = std::nearbyint(*number);  // halves to even in the default rounding mode
    if (!(whole >= -32768.0 && whole <= 32767.0)) {
        return {IntegerTextStatus::outOfRange, 0};
    }
    return {IntegerTextStatus::ok, static_cast<std::int16_t>(whole)};
}

}  // namespace sf
