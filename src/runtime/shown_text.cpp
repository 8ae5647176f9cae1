#include "runtime/shown_text.h"

#include <cstdint>

namespace sf {
namespace {

// The length of the valid UTF-8 sequence at the start of text that is no control character,
// or 0.
std::size_t PrintableSequence(std::string_view text) {
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(text[at]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) {
        return lead >= 0x20 && lead != 0x7F ? 1 : 0;
    }
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t at = 1; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at) & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = code >= smallest[length] && code <= 0x10FFFF &&
                       !(code >= 0xD800 && code <= 0xDFFF) && !(code >= 0x80 && code <= 0x9F);
    return valid ? length : 0;
}

}  // namespace

std::string ShownEscaped(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        std::size_t length = text.front() == '\n' ? 1 : PrintableSequence(text);
        if (length == 0) {
            const auto byte = static_cast<std::uint8_t>(text.front());
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0x0F];
            length = 1;
        } else {
            shown.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return shown;
}

}  // namespace sf
