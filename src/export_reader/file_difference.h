#pragma once

#include <string_view>

namespace sf {

// A file of the folder must be the one written anew from what was read and computed, byte for
// byte. Else a RunError naming the file and the first line that differs: for a CSV table its
// row and the column of the first cell that differs (as the header names it), for run.json the
// line; with both texts of it.
void RequireSameTable(std::string_view file, std::string_view held, std::string_view recomputed);
void RequireSameLines(std::string_view file, std::string_view held, std::string_view recomputed);

}  // namespace sf
