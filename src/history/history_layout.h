#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "history/csv_records.h"
#include "history/date_forms.h"
#include "history/history_numbers.h"
#include "history/history_text.h"
#include "state/history_choices.h"

namespace sf {

enum class HistoryShape {
    wide,       // one column per sales point, one row per period
    longTable,  // one row per sales point and period
};

// How the three columns of a long table were settled.
enum class ColumnsFoundBy { none, headerNames, content, choice };

// How a file is read: what the reader found in it, or was told. The decimal separator and a
// trailing delimiter are known only once the whole file has been seen.
struct HistoryLayout {
    char delimiter = ',';
    HistoryShape shape = HistoryShape::wide;
    int headerRow = 0;  // the row of names above the data, 0 for none
    // The header's cells without blanks (empty without a header), for messages and choices.
    std::vector<std::string> columnNames;
    std::size_t columnCount = 0;
    bool dateColumn = false;  // wide: the first column dates the periods
    // Long: where the sales points' names or numbers, the periods or dates and the demand are.
    std::size_t nameColumn = 0;
    std::size_t periodColumn = 0;
    std::size_t demandColumn = 0;
    ColumnsFoundBy columnsFoundBy = ColumnsFoundBy::none;
    bool numberedSalesPoints = false;  // a column named sales_point numbers them 1, 2, 3 ...
    std::optional<DecimalSeparator> decimal;
    bool trailingDelimiter = false;  // wide: every row ends in an empty cell, which is no column
    int filledPeriods = 0;  // periods that no row names, read as zero for every sales point
    HistoryEncoding encoding = HistoryEncoding::utf8;
    std::optional<DateOrder> dateOrder;  // how slashed dates were read, where the file has them
    // The cells of the rows the layout was decided from, as the file holds them.
    std::vector<std::vector<std::string>> firstRows;

    // "column 3 ("units")", or "column 3" without a header.
    std::string ColumnName(std::size_t column) const;
    bool operator==(const HistoryLayout&) const = default;
};

// The rows a layout is decided from: the first row that holds anything and the rows after it.
inline constexpr std::size_t kLayoutRows = 21;

// Decides from the first rows (blank lines left out): whether the first is a header (when some
// cell in it is neither a number nor a date, unless the user says), then the shape: long when
// the header names a sales_point or period column, when the user chose the columns, or when
// the content has a column of names beside a period or date column and a number column; else
// wide. A RunError when the header names or the chosen columns cannot be used.
HistoryLayout DecideLayout(char delimiter, const std::vector<CsvRecord>& firstRows,
                           const HistoryChoices& choices);

}  // namespace sf
