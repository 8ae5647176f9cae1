#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "history/csv_records.h"

namespace sf {

// What the two shapes of a sales history share: reading a cell and saying what is wrong.

// A cell of nothing but blanks.
bool IsBlankCell(std::string_view cell);

// A number as a history may write it: "." as the decimal separator, or "," where the
// delimiter is not a comma. Empty when the cell holds no finite number.
std::optional<double> HistoryNumber(std::string_view cell, char delimiter);

// "<where>: the cell is empty", "<where>: "abc" is not a number" or, for a number a double
// cannot hold, that it is too large or too close to 0, as a RunError.
[[noreturn]] void RefuseCell(const std::string& where, std::string_view cell, char delimiter);

// A file whose first row holds names and no row follows, as a RunError.
[[noreturn]] void RefuseNamesOnly(int row);

// A cell without the blanks around it, as a sales point's name.
std::string NameInCell(std::string_view cell);

// A cell as a message quotes it: on one line, cut short when long.
std::string ShownCell(std::string_view cell);

std::string RowName(int row);

// "1 cell", "3 cells", or for a row that was cut "more than 102 cells".
std::string CellCount(const CsvRecord& record);

}  // namespace sf
