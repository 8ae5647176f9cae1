#include "history/total_rows.h"

#include <algorithm>
#include <optional>

#include "history/cell_text.h"
#include "history/column_words.h"
#include "runtime/run_error.h"

namespace sf {

TotalKey TotalKeyOf(std::span<const std::string_view> keyCells) {
    if (std::ranges::any_of(keyCells, [](std::string_view cell) { return IsTotalWord(cell); })) {
        return TotalKey::word;
    }
    return std::ranges::all_of(keyCells, [](std::string_view cell) { return IsBlank(cell); })
               ? TotalKey::empty
               : TotalKey::none;
}

bool IsTotal(TotalKey key, int row, std::size_t rowsAbove, bool sumsMatch) {
    if (key == TotalKey::none || rowsAbove < 2) {
        return false;
    }
    if (key == TotalKey::word && !sumsMatch) {
        throw RunError(RowName(row) +
                       " is named a total, but its numbers are not the sums of the columns above");
    }
    return sumsMatch;
}

namespace {

// Whether the last row's cells of the columns [first, end) each hold the sum of the column's
// numbers above, added in row order.
bool SumsAbove(const RawCells& cells, std::size_t first, std::size_t end,
               DecimalSeparator separator) {
    const std::size_t last = cells.Rows() - 1;
    for (std::size_t column = first; column < end; ++column) {
        double sum = 0.0;
        for (std::size_t at = 0; at < last; ++at) {
            const std::optional<double> number = HistoryNumber(cells.Cell(at, column), separator);
            if (!number) {
                return false;
            }
            sum += *number;
        }
        if (HistoryNumber(cells.Cell(last, column), separator) != sum) {
            return false;
        }
    }
    return true;
}

}  // namespace

int LeaveOutTotalRow(RawCells& cells, const std::vector<std::string_view>& keyCells,
                     std::size_t first, std::size_t end, DecimalSeparator separator) {
    const TotalKey key = TotalKeyOf(keyCells);
    const int row = cells.Row(cells.Rows() - 1);
    if (key == TotalKey::none ||
        !IsTotal(key, row, cells.Rows() - 1, SumsAbove(cells, first, end, separator))) {
        return 0;
    }
    cells.DropLastRow();
    return row;
}

}  // namespace sf
