#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/cell_text.h"
#include "history/csv_records.h"
#include "history/date_forms.h"
#include "history/history_numbers.h"
#include "history/raw_cells.h"

namespace sf {

// What the shapes of a sales history share: reading a cell and saying what is wrong.

// A cell that holds no number, as a RunError: "<where>: the cell is empty", "<where>: "abc" is
// not a number" or, for a number a double cannot hold, that it is too large or too close to 0.
[[noreturn]] void RefuseNumber(const std::string& where, std::string_view cell,
                               DecimalSeparator separator);

// The cell's number, or the refusal naming where() it is: a file has millions of number cells,
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

// A date cell and where it is: its row, or any number that the caller's where() names it by.
struct DateCell {
    std::string_view text;
    int at;
};

// The days of a line of date cells, read in the order of day and month that the whole line
// tells (see DateColumn); `slashed` learns that order where a date has slashes. A RunError
// naming where(at) a cell is that is no date.
std::vector<std::chrono::sys_days> ReadDateCells(const std::vector<DateCell>& cells,
                                                 DateOrderChoice choice,
                                                 const std::function<std::string(int at)>& where,
                                                 std::optional<DateOrder>& slashed);

// A file whose first row holds names and no row follows, as a RunError.
[[noreturn]] void RefuseNamesOnly(int row);

// The decimal separator that the cells of the columns [first, end) of every row tell, or the
// choice (see DecimalEvidence).
DecimalSeparator SeparatorOfCells(const RawCells& cells, std::size_t first, std::size_t end,
                                  char delimiter, DecimalChoice choice);

// "1 cell", "3 cells", or for a row that was cut "more than 102 cells".
std::string CellCount(const CsvRecord& record);

}  // namespace sf
