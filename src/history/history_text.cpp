#include "history/history_text.h"

#include <string>

#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

// A text file begins with a character of ASCII, which UTF-16 writes beside a NUL byte.
bool IsUtf16(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LittleEndianMark) || bytes.starts_with(kUtf16BigEndianMark)) {
        return true;
    }
    return bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0');
}

}  // namespace

std::string_view HistoryText(std::string_view bytes) {
    if (IsUtf16(bytes)) {
        throw RunError(
            "this is UTF-16 text, which is not read: save the file as UTF-8 (in a spreadsheet, "
            "\"CSV UTF-8\") and use that");
    }
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        throw RunError("this is not a text file: byte " + std::to_string(nul + 1) +
                       " is a NUL byte");
    }
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return bytes;
}

}  // namespace sf
