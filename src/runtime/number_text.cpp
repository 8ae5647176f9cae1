#include "runtime/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace sf {

std::string NumberText(double value, const NumberLocale& locale) {
    std::string text(value < 0.0 ? "-" : " ");  // -0 is not below zero
    std::array<char, 32> buffer{};
    // general with precision 15 is printf's %.15g: trailing zeros and a bare point dropped.
    const std::to_chars_result result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::general, 15);
    for (const char* at = buffer.data(); at != result.ptr; ++at) {
        if (*at == '.') {
            text += locale.decimalPoint;
        } else if (*at == 'e') {
            text += 'E';
        } else {
            text += *at;
        }
    }
    text += ' ';
    return text;
}

}  // namespace sf
