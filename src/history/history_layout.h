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
    rows,       // one row per sales point: its name columns, then the periods across
    longTable,  // one row per sales point and period
};

// How the three columns of a long table were settled.
enum class ColumnsFoundBy { none, headerNames, content, choice };

// How a file is read: what the reader found in it, or was told. The decimal separator and a
// trailing delimiter are known only once the whole file has been seen.
struct HistoryLayout {
    char delimiter = ',';
    HistoryShape shape = HistoryShape::wide;
    bool shapeSettled = false;
    int headerRow = 0;  // the row of names above the data, 0 for none
    // The header's cells without blanks (empty without a header), for messages and choices.
    std::vector<std::string> columnNames;
    std::size_t columnCount = 0;
    bool dateColumn = false;  // wide: the first column dates the periods
    // Long: where the sales points' names or numbers (one column or several, joined), the
    // periods or dates and the demand are. Rows: the leading name columns.
    std::vector<std::size_t> keyColumns;
    std::size_t periodColumn = 0;
    std::size_t demandColumn = 0;
    ColumnsFoundBy columnsFoundBy = ColumnsFoundBy::none;
    bool numberedSalesPoints = false;  // a column named sales_point numbers them 1, 2, 3 ...
    std::optional<DecimalSeparator> decimal;
    bool trailingDelimiter = false;  // every row ends in an empty cell, which is no column
    int totalRow = 0;                // the last row, left out as the sum of those above
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
// cell in it is neither a number nor a date, unless the user says), then the shape, whatever the
// choices that read cells (decimal separator, missing rows, duplicates): long when the user
// chose the columns or when the header's words name a long table's columns; rows when the
// header's cells after its leading names are dates or consecutive period numbers and the first
// column below holds names; long when the content shows a long table; else wide. A RunError
// when the shape is not settled (wide and rows both fit, or two columns could be the demand)
// or the chosen layout or columns cannot be used.
// What it found before a refusal stays in the layout (the header, the columns, the first rows),
// so that a preview can show what to choose.
void DecideLayout(const std::vector<CsvRecord>& firstRows, const HistoryChoices& choices,
                  HistoryLayout& layout);

}  // namespace sf
