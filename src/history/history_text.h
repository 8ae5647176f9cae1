#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "state/history_choices.h"

namespace sf {

// How a sales history's bytes were read as text.
enum class HistoryEncoding { utf8, windows1252, utf16LittleEndian, utf16BigEndian };

// The most characters a sales point's name may have: enough for any article text, and a bound
// on what every row of the export files repeats.
inline constexpr std::size_t kMostNameCharacters = 256;

// Refuses, as a RunError, what the bytes read so far show cannot be read, as soon as they show
// it: a NUL byte (UTF-16 aside), a NUL character in UTF-16 with a byte-order mark, and UTF-16
// without one. `fresh` is where the bytes read last begin; the bytes before it were checked.
void CheckBytesRead(std::string_view bytes, std::size_t fresh);

// The text of a sales history's bytes as UTF-8, without a byte-order mark: the bytes themselves
// when they are UTF-8, else converted into `converted`: UTF-16 with a byte-order mark, and
// bytes that are not UTF-8 as Windows-1252 where every one maps (or as the user chose).
// `found` learns which. A RunError naming the row and byte that cannot be read otherwise.
std::string_view HistoryText(std::string_view bytes, EncodingChoice choice, std::string& converted,
                             HistoryEncoding& found);

// The encoding's name, as the preview and a message show it.
std::string_view EncodingName(HistoryEncoding encoding);

// A name from a cell, refused as a RunError naming where() it is when it has more than
// kMostNameCharacters characters.
void CheckNameLength(std::string_view name, const std::function<std::string()>& where);

}  // namespace sf
