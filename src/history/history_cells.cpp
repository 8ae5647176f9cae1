#include "history/history_cells.h"

#include "history/history_dates.h"
#include "runtime/run_error.h"

namespace sf {

void RefuseNumber(const std::string& where, std::string_view cell, DecimalSeparator separator) {
    if (IsBlank(cell)) {
        throw RunError(where + ": the cell is empty");
    }
    throw RunError(where + ": " + ShownCell(cell) + " " + NotANumberWhy(cell, separator));
}

void RefuseDate(const std::string& where, std::string_view cell, DateOrderChoice order) {
    if (IsBlank(cell)) {
        throw RunError(where + ": the cell is empty");
    }
    throw RunError(where + ": " + ShownCell(cell) + " " + NotADateWhy(cell, order));
}

std::vector<std::chrono::sys_days> ReadDateCells(const std::vector<DateCell>& cells,
                                                 DateOrderChoice choice,
                                                 const std::function<std::string(int at)>& where,
                                                 std::optional<DateOrder>& slashed) {
    DateColumn column(choice);
    std::vector<int> written;
    for (const DateCell& cell : cells) {
        const std::optional<int> date = column.Take(cell.text, cell.at);
        if (!date) {
            RefuseDate(where(cell.at), cell.text, choice);
        }
        written.push_back(*date);
    }
    const DateOrder decided = column.Decide(where);
    if (column.AnySlashed()) {
        slashed = decided;
    }
    std::vector<std::chrono::sys_days> days;
    for (const int date : written) {
        days.push_back(DateColumn::Day(date, decided));
    }
    return days;
}

void RefuseNamesOnly(int row) {
    throw RunError(RowName(row) + " holds names only: there is no demand in the file");
}

DecimalSeparator SeparatorOfCells(const RawCells& cells, std::size_t first, std::size_t end,
                                  char delimiter, DecimalChoice choice) {
    DecimalEvidence evidence;
    for (std::size_t at = 0; at < cells.Rows(); ++at) {
        for (std::size_t column = first; column < end; ++column) {
            evidence.See(cells.Cell(at, column), cells.Row(at), column);
        }
    }
    return evidence.Decide(delimiter, choice);
}

std::string CellCount(const CsvRecord& record) {
    if (record.IsCut()) {
        return "more than " + std::to_string(kMostCells) + " cells";
    }
    return std::to_string(record.cellCount) + (record.cellCount == 1 ? " cell" : " cells");
}

}  // namespace sf
