#pragma once

#include <string_view>

namespace sf {

// The text of a sales history's bytes without a UTF-8 byte-order mark. A RunError for bytes
// that are not UTF-8 text: UTF-16 is named as such (its every other byte is a NUL), any other
// NUL byte as a file that is not text.
std::string_view HistoryText(std::string_view bytes);

}  // namespace sf
