#pragma once

#include <string>
#include <string_view>

#include "history/csv_records.h"
#include "history/history_numbers.h"

namespace sf {

// What the two shapes of a sales history share: reading a cell and saying what is wrong.

// A cell that holds no number, as a RunError: "<where>: the cell is empty", "<where>: "abc" is
// not a number" or, for a number a double cannot hold, that it is too large or too close to 0.
[[noreturn]] void RefuseNumber(const std::string& where, std::string_view cell,
                               DecimalSeparator separator);

// The cell's number, or the refusal naming where() it is: a file has up to 120,000 number cells,
// so the name is put together only when something is wrong.
template <typename Where>
double CellNumber(const Where& where, std::string_view cell, DecimalSeparator separator) {
    if (const std::optional<double> number = HistoryNumber(cell, separator)) {
        return *number;
    }
    RefuseNumber(where(), cell, separator);
}

// A cell that is no date of the forms read, as a RunError naming where it is.
[[noreturn]] void RefuseDate(const std::string& where, std::string_view cell,
                             DateOrderChoice order = DateOrderChoice::found);

bool IsBlank(std::string_view cell);
// The cell without the blanks (spaces, tabs) around it.
std::string_view WithoutBlanks(std::string_view cell);

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
