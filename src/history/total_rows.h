#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "history/history_numbers.h"
#include "history/raw_cells.h"

namespace sf {

// What the key cells (date, period or name) of a table's last row say of it: a total word in
// one of them, or all empty (every other row's hold something, or they are refused).
enum class TotalKey { none, word, empty };
TotalKey TotalKeyOf(const std::vector<std::string_view>& keyCells);

// Whether a last row whose key says total is one: its numbers are each the sum of its column
// above, added in row order, with at least two rows above. A total word over other numbers is
// refused naming the row.
bool IsTotal(TotalKey key, int row, std::size_t rowsAbove, bool sumsMatch);

// Whether the last row's cells of the columns [first, end) each hold the sum of the column's
// numbers above, added in row order.
bool SumsAbove(const RawCells& cells, std::size_t first, std::size_t end,
               DecimalSeparator separator);

}  // namespace sf
