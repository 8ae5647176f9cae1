#pragma once

#include <string>
#include <string_view>

namespace sf {

// A message as a terminal may show it: a control character other than the line end and a byte
// that is not part of valid UTF-8 are written as \xHH, so that text from a file or a box never
// acts on the terminal (an escape sequence) or garbles it.
std::string ShownEscaped(std::string_view text);

}  // namespace sf
