#pragma once

#include <filesystem>
#include <string_view>

#include "runtime/input_file.h"
#include "state/sales_history.h"

namespace sf {

// Reads a sales history file, wide or tidy (see WideHistory and TidyHistory), with a comma,
// semicolon or tab between cells. A file that cannot be read or used is a RunError naming the
// file, and where in it what is wrong; nothing is made up for a missing or bad cell. Only a
// regular file is read (see ReadInputFile).
SalesHistory ReadSalesHistory(const std::filesystem::path& path,
                              StandardInput standardInput = StandardInput::refused);

// The same for the bytes of a file; the history has no name and a refusal names no file.
SalesHistory ParseSalesHistory(std::string_view bytes);

}  // namespace sf
