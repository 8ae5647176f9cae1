#include "runtime/rounding.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace sf {
namespace {

// Room for the integer digits of the largest double and the decimals asked for here.
constexpr std::size_t kFixedTextSize = 400;
constexpr std::uint64_t kPowersOfTen[] = {1, 10, 100, 1000};

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
    // Halving a whole double is exact, so a whole half means an even number: no fmod, whose
    // loop over the exponent made a diverged run's huge figures dear to print.
    const double half = scaled * 0.5;
    return std::floor(scaled) == scaled && std::floor(half) != half;
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

// Any magnitude: the correctly rounded text, carried upwards where the value is a half.
std::string RoundHalfAwayByText(double magnitude, int decimals) {
    if (!IsDecimalTie(magnitude, decimals)) {
        return FixedText(magnitude, decimals);  // no half: both rules agree
    }
    std::string digits = FixedText(magnitude, decimals + 1);  // ends in the 5 of the half
    digits.pop_back();
    if (digits.back() == '.') {
        digits.pop_back();
    }
    AddOneInLastPlace(digits);
    return digits;
}

// Below 2^53 the magnitude is m * 2^-shift with a 53-bit m, so m * 10^decimals fits in 64 bits
// and the rounding is exact integer arithmetic.
std::uint64_t ScaledHalfAway(double magnitude, int decimals) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biasedExponent = static_cast<int>(bits >> 52);  // the sign bit is clear
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    // Normal numbers carry a hidden leading bit; subnormals have the exponent of the smallest.
    const std::uint64_t mantissa =
        biasedExponent == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int shift = 1075 - (biasedExponent == 0 ? 1 : biasedExponent);
    const std::uint64_t scaled = mantissa * kPowersOfTen[decimals];
    if (shift >= 64) {
        return 0;  // below a quarter of the last place
    }
    const std::uint64_t whole = scaled >> shift;
    const std::uint64_t rest = scaled - (whole << shift);
    return whole + (shift > 0 && rest >= (std::uint64_t{1} << (shift - 1)) ? 1 : 0);
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

RoundedDigits HalfAwayRounder::Round(double magnitude, int decimals) {
    if (!(magnitude < 0x1p53)) {
        text_ = RoundHalfAwayByText(magnitude, decimals);
        const std::size_t point = text_.find('.');
        if (point == std::string::npos) {
            return {text_, {}};
        }
        return {std::string_view(text_).substr(0, point),
                std::string_view(text_).substr(point + 1)};
    }
    const std::uint64_t scaled = ScaledHalfAway(magnitude, decimals);
    const std::uint64_t unit = kPowersOfTen[decimals];
    const char* integerEnd =
        std::to_chars(integer_.data(), integer_.data() + integer_.size(), scaled / unit).ptr;
    std::uint64_t fraction = scaled % unit;
    for (int place = decimals - 1; place >= 0; --place) {
        decimals_[place] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return {std::string_view(integer_.data(), integerEnd - integer_.data()),
            std::string_view(decimals_.data(), decimals)};
}

}  // namespace sf
