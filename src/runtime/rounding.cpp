#include "runtime/rounding.h"

#include <array>
#include <charconv>
#include <cmath>

namespace sf {
namespace {

// Room for the integer digits of the largest double and the decimals asked for here.
constexpr std::size_t kFixedTextSize = 400;

std::string FixedText(double x, int decimals) {
    std::array<char, kFixedTextSize> buffer{};
    const std::to_chars_result result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                                      x, std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

// A double lies exactly halfway between two n-decimal numbers only if it is an odd multiple
// of 2^-(n+1): the half (2k + 1) / (2 * 10^n) needs 5^n to divide its odd numerator.
bool IsDecimalTie(double magnitude, int decimals) {
    const double scaled = std::ldexp(magnitude, decimals + 1);
    return std::floor(scaled) == scaled && std::fmod(scaled, 2.0) == 1.0;
}

void AddOneInLastPlace(std::string& digits) {
    for (auto at = digits.rbegin(); at != digits.rend(); ++at) {
        if (*at == '.') {
            continue;
        }
        if (*at != '9') {
            ++*at;
            return;
        }
        *at = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

double RoundToDecimals(double x, int decimals) {
    // to_chars rounds the exact value with halves to even; reading the text back gives the
    // double nearest to the rounded decimal.
    const std::string text = FixedText(x, decimals);
    double rounded = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

std::string RoundHalfAwayDigits(double magnitude, int decimals) {
    if (!IsDecimalTie(magnitude, decimals)) {
        return FixedText(magnitude, decimals);  // no half: both rules agree
    }
    // A half has exactly one decimal more, a 5: drop it and carry upwards.
    std::string digits = FixedText(magnitude, decimals + 1);
    digits.pop_back();
    if (digits.back() == '.') {
        digits.pop_back();
    }
    AddOneInLastPlace(digits);
    return digits;
}

}  // namespace sf
