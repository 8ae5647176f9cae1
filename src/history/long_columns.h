#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "history/csv_records.h"
#include "history/history_layout.h"

namespace sf {

// What the cells of one column hold over the data rows, blank cells and total words aside.
struct ColumnKind {
    int cells = 0;
    int numbers = 0;
    int wholeNumbers = 0;
    int dates = 0;

    // Text only: a single number among names makes a column of numbers with a bad cell.
    bool Names() const { return cells > 0 && numbers == 0 && dates == 0; }
    bool AllDates() const { return cells > 0 && dates == cells; }
    bool AllWholeNumbers() const { return cells > 0 && wholeNumbers == cells; }
    // Numbers, but for a cell or two that a message will name.
    bool Numbers() const { return numbers > 0 && dates == 0 && 2 * numbers > cells; }
};

// A whole number's value where it has at most nine digits (leading zeros too), else none.
std::optional<long long> SmallWholeNumber(std::string_view cell);

std::vector<ColumnKind> KindsOf(const std::vector<CsvRecord>& rows, std::size_t firstData,
                                std::size_t columns);

// A long table's columns found by the header's words: one or more sales point columns and a
// period or date column. The demand column: header words first (see DemandWordOf), then the one
// column of numbers left. False when the words name no long table; a RunError when
// they do but two columns could be its demand and no word decides, or none could.
bool FindLongColumnsByWords(const std::vector<ColumnKind>& kinds, HistoryLayout& layout);

// The same found by the content: a column of names, or whole numbers that repeat as a long
// table repeats its keys, beside a column of periods or dates, and a column of numbers.
bool FindLongColumnsByContent(const std::vector<CsvRecord>& rows, std::size_t firstData,
                              const std::vector<ColumnKind>& kinds, HistoryLayout& layout);

// The demand column among the columns not yet taken, as FindLongColumns settles it.
std::size_t DemandColumn(const std::vector<ColumnKind>& kinds, const HistoryLayout& layout);

}  // namespace sf
