#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "history/history_numbers.h"
#include "history/raw_cells.h"

namespace sf {

// What the key cells (date, period or name) of a table's last row say of it: a total word in
// one of them, or all empty (every other row's hold something, or they are refused).
enum class TotalKey { none, word, empty };
TotalKey TotalKeyOf(std::span<const std::string_view> keyCells);

// Whether a last row whose key says total is one: its numbers are each the sum of its column
// above, added in row order, with at least two rows above. A total word over other numbers is
// refused naming the row.
bool IsTotal(TotalKey key, int row, std::size_t rowsAbove, bool sumsMatch);

// Leaves out the last of the cells' rows where its key cells say total and its cells of the
// columns [first, end) are the sums above (see IsTotal): the row of the file left out, or 0.
int LeaveOutTotalRow(RawCells& cells, const std::vector<std::string_view>& keyCells,
                     std::size_t first, std::size_t end, DecimalSeparator separator);

}  // namespace sf
