#include "history/history_text.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr std::size_t kNone = std::string_view::npos;

// The characters of Windows-1252's bytes 0x80 to 0x9F; 0 where a byte has none.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

unsigned char Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

bool HasUtf16Mark(std::string_view bytes) {
    return bytes.starts_with(kUtf16LittleEndianMark) || bytes.starts_with(kUtf16BigEndianMark);
}

// "row 3, byte 7": where a byte stands, its row counted as a spreadsheet counts them.
std::string WhereByte(std::string_view text, std::size_t at) {
    int row = 1;
    std::size_t rowStart = 0;
    for (std::size_t scan = 0; scan < at; ++scan) {
        const bool lineEnd =
            text[scan] == '\n' ||
            (text[scan] == '\r' && (scan + 1 >= text.size() || text[scan + 1] != '\n'));
        if (lineEnd) {
            ++row;
            rowStart = scan + 1;
        }
    }
    return "row " + std::to_string(row) + ", byte " + std::to_string(at - rowStart + 1);
}

std::string Hex(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", byte);
    return text;
}

// The length of the UTF-8 character at `at`, or 0 when the bytes there are none.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const unsigned char lead = Byte(text, at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    char32_t least = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, least = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, least = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, least = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t next = 1; next < length; ++next) {
        const unsigned char byte = Byte(text, at + next);
        if ((byte & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < least || code > 0x10FFFF || surrogate ? 0 : length;
}

// Where the first byte stands that is not part of a UTF-8 character; kNone when all are.
std::size_t FirstNotUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8Length(text, at);
        if (length == 0) {
            return at;
        }
        at += length;
    }
    return kNone;
}

void AppendUtf8(std::string& text, char32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t Windows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
}

// Where the first byte stands that Windows-1252 gives no character; kNone when every one maps.
std::size_t FirstUnmapped(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (Windows1252(Byte(bytes, at)) == 0) {
            return at;
        }
    }
    return kNone;
}

std::string FromWindows1252(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        AppendUtf8(text, Windows1252(Byte(bytes, at)));
    }
    return text;
}

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0) {
        throw RunError("this UTF-16 text ends in half a character: the file is cut short");
    }
    std::string text;
    text.reserve(bytes.size());
    const auto unit = [&](std::size_t at) -> char32_t {
        return bigEndian ? (Byte(bytes, at) << 8) | Byte(bytes, at + 1)
                         : (Byte(bytes, at + 1) << 8) | Byte(bytes, at);
    };
    for (std::size_t at = 2; at < bytes.size(); at += 2) {
        char32_t code = unit(at);
        if (code >= 0xD800 && code <= 0xDBFF && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            throw RunError("this UTF-16 text has half a character at byte " +
                           std::to_string(at + 1) + ": the file is damaged");
        }
        AppendUtf8(text, code);
    }
    return text;
}

}  // namespace

void CheckBytesRead(std::string_view bytes, std::size_t fresh) {
    if (bytes.size() < 2) {
        return;  // a first byte alone does not tell UTF-16 from other text
    }
    const std::size_t from = fresh < 2 ? 0 : fresh;
    if (HasUtf16Mark(bytes)) {
        for (std::size_t at = std::max<std::size_t>(2, from & ~std::size_t{1});
             at + 1 < bytes.size(); at += 2) {
            if (bytes[at] == '\0' && bytes[at + 1] == '\0') {
                throw RunError("this is not a text file: byte " + std::to_string(at + 1) +
                               " begins a NUL character");
            }
        }
        return;
    }
    // A text file begins with a character of ASCII, which UTF-16 writes beside a NUL byte.
    if ((bytes[0] == '\0') != (bytes[1] == '\0')) {
        throw RunError(
            "this is UTF-16 text without a byte-order mark, which is not read: save the file as "
            "UTF-8 (in a spreadsheet, \"CSV UTF-8\") and use that");
    }
    if (const std::size_t nul = bytes.find('\0', from); nul != kNone) {
        throw RunError("this is not a text file: " + WhereByte(bytes, nul) + " is a NUL byte");
    }
}

std::string_view HistoryText(std::string_view bytes, EncodingChoice choice, std::string& converted,
                             HistoryEncoding& found) {
    CheckBytesRead(bytes, 0);
    if (HasUtf16Mark(bytes)) {
        const bool bigEndian = bytes.starts_with(kUtf16BigEndianMark);
        found = bigEndian ? HistoryEncoding::utf16BigEndian : HistoryEncoding::utf16LittleEndian;
        converted = FromUtf16(bytes, bigEndian);
        return converted;
    }
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    const std::size_t notUtf8 = choice == EncodingChoice::windows1252 ? kNone : FirstNotUtf8(bytes);
    if (choice != EncodingChoice::windows1252 && notUtf8 == kNone) {
        found = HistoryEncoding::utf8;
        return bytes;
    }
    if (choice == EncodingChoice::utf8) {
        throw RunError(WhereByte(bytes, notUtf8) + ": " + Hex(Byte(bytes, notUtf8)) +
                       " is not UTF-8 text: set the encoding to Windows-1252 (windows-1252) "
                       "or save the file as UTF-8");
    }
    if (const std::size_t unmapped = FirstUnmapped(bytes); unmapped != kNone) {
        throw RunError(WhereByte(bytes, unmapped) + ": " + Hex(Byte(bytes, unmapped)) +
                       " is neither UTF-8 nor Windows-1252 text: save the file as UTF-8 (in a "
                       "spreadsheet, \"CSV UTF-8\") and use that");
    }
    found = HistoryEncoding::windows1252;
    converted = FromWindows1252(bytes);
    return converted;
}

std::string_view EncodingName(HistoryEncoding encoding) {
    switch (encoding) {
        case HistoryEncoding::utf8:
            return "UTF-8";
        case HistoryEncoding::windows1252:
            return "Western European, Windows-1252";
        case HistoryEncoding::utf16LittleEndian:
            return "UTF-16, little-endian";
        case HistoryEncoding::utf16BigEndian:
            return "UTF-16, big-endian";
    }
    return "";
}

void CheckNameLength(std::string_view name, const std::function<std::string()>& where) {
    std::size_t characters = 0;
    for (const char c : name) {
        // Each character has one byte that does not continue another.
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    if (characters > kMostNameCharacters) {
        throw RunError(where() + ": a name of " + std::to_string(characters) +
                       " characters; a name may have " + std::to_string(kMostNameCharacters) +
                       " at most");
    }
}

}  // namespace sf
