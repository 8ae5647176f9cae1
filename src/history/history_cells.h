#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sf {

// What the two shapes of a sales history share: reading a cell and saying what is wrong.

// A number as a history may write it: "." as the decimal separator, or "," where the
// delimiter is not a comma. Empty when the cell holds no finite number.
std::optional<double> HistoryNumber(std::string_view cell, char delimiter);

// "<where>: the cell is empty" or "<where>: "abc" is not a number", as a RunError.
[[noreturn]] void RefuseCell(const std::string& where, std::string_view cell);

// A file whose first row holds names and no row follows, as a RunError.
[[noreturn]] void RefuseNamesOnly(int row);

// A cell without the blanks around it, as a sales point's name.
std::string NameInCell(std::string_view cell);

// A cell as a message quotes it: on one line, cut short when long.
std::string ShownCell(std::string_view cell);

std::string RowName(int row);

// "1 cell", "3 cells".
std::string CellCount(std::size_t count);

}  // namespace sf
