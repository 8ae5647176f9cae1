#include "history/rows_history.h"

#include <algorithm>
#include <numeric>

#include "history/cell_text.h"
#include "history/history_cells.h"
#include "history/history_dates.h"
#include "history/history_text.h"
#include "history/total_rows.h"
#include "runtime/run_error.h"
#include "state/run_state.h"

namespace sf {

void RowsHistory::Take(const CsvRecord& record) {
    if (headerRow_ == 0) {
        headerRow_ = record.row;
        columns_ = record.cellCount;
        salesPoints_.emplace(columns_);
        return;
    }
    if (record.cellCount != columns_) {
        throw RunError(RowName(record.row) + " has " + CellCount(record) +
                       " where the header has " + std::to_string(columns_));
    }
    salesPoints_->Add(record);
}

SalesHistory RowsHistory::Finish(const HistoryChoices& choices) {
    const std::size_t rows = salesPoints_ ? salesPoints_->Rows() : 0;
    if (rows == 0) {
        RefuseNamesOnly(headerRow_);
    }
    const std::size_t names = layout_.keyColumns.size();
    layout_.trailingDelimiter = IsBlank(layout_.columnNames.back()) && columns_ > names + 1;
    for (std::size_t at = 0; at < rows && layout_.trailingDelimiter; ++at) {
        layout_.trailingDelimiter = IsBlank(salesPoints_->Cell(at, columns_ - 1));
    }
    const std::size_t end = columns_ - (layout_.trailingDelimiter ? 1 : 0);
    if (end - names > static_cast<std::size_t>(kMaxHistoryPeriods)) {
        throw RunError(RowName(headerRow_) + " has " + std::to_string(end - names) +
                       " periods: more than " + std::to_string(kMaxHistoryPeriods) + " periods");
    }
    const DecimalSeparator separator =
        SeparatorOfCells(*salesPoints_, names, end, layout_.delimiter, choices.decimal);
    layout_.decimal = separator;
    layout_.totalRow = LeaveOutTotalRow(*salesPoints_, NameCells(rows - 1), names, end, separator);
    SalesHistory history = Read(choices, end, separator);
    layout_.filledPeriods = history.periods - static_cast<int>(end - names);
    return history;
}

SalesHistory RowsHistory::Read(const HistoryChoices& choices, std::size_t end,
                               DecimalSeparator separator) const {
    const std::size_t names = layout_.keyColumns.size();
    SalesHistory history;
    history.salesPoints = static_cast<int>(salesPoints_->Rows());
    // Each column's period from 0; dates with gaps filled leave periods that no column names.
    std::vector<std::size_t> periodOf(end - names);
    std::iota(periodOf.begin(), periodOf.end(), std::size_t{0});
    if (LooksLikeDate(layout_.columnNames[names])) {
        history.dates = Dates(end, choices, periodOf);
    }
    const std::size_t periods = history.dates.empty() ? end - names : history.dates.size();
    history.periods = static_cast<int>(periods);
    std::vector<double> demand(periods * salesPoints_->Rows(), 0.0);
    for (std::size_t at = 0; at < salesPoints_->Rows(); ++at) {
        std::string name;
        for (const std::string_view cell : NameCells(at)) {
            if (!IsBlank(cell)) {
                name.append(name.empty() ? "" : " / ").append(WithoutBlanks(cell));
            }
        }
        if (name.empty()) {
            throw RunError(RowName(salesPoints_->Row(at)) + ", " + layout_.ColumnName(0) +
                           ": the cell is empty");
        }
        CheckNameLength(name, [&] { return RowName(salesPoints_->Row(at)); });
        history.names.push_back(std::move(name));
        for (std::size_t column = names; column < end; ++column) {
            demand[at * periods + periodOf[column - names]] = CellNumber(
                [&] { return RowName(salesPoints_->Row(at)) + ", " + layout_.ColumnName(column); },
                salesPoints_->Cell(at, column), separator);
        }
    }
    history.demand = std::move(demand);
    return history;
}

std::vector<std::string_view> RowsHistory::NameCells(std::size_t at) const {
    std::vector<std::string_view> cells;
    for (std::size_t column = 0; column < layout_.keyColumns.size(); ++column) {
        cells.push_back(salesPoints_->Cell(at, column));
    }
    return cells;
}

// The periods' days from the header, which must step evenly.
std::vector<std::string> RowsHistory::Dates(std::size_t end, const HistoryChoices& choices,
                                            std::vector<std::size_t>& periodOfColumn) const {
    // The header's dates are told apart by their column.
    std::vector<DateCell> cells;
    for (std::size_t column = layout_.keyColumns.size(); column < end; ++column) {
        cells.push_back({layout_.columnNames[column], static_cast<int>(column)});
    }
    const std::vector<std::chrono::sys_days> read = ReadDateCells(
        cells, choices.dateOrder,
        [&](int column) { return RowName(headerRow_) + ", column " + std::to_string(column + 1); },
        layout_.dateOrder);
    std::vector<DatedRow> days;
    for (std::size_t at = 0; at < read.size(); ++at) {
        days.push_back({read[at], headerRow_, cells[at].at});
    }
    // With missing rows read as zero, a date no column names is a period of zeros.
    const std::vector<std::chrono::sys_days> periods = PeriodDays(
        days, choices.missing == MissingRows::zero ? PeriodGaps::filled : PeriodGaps::refused,
        kMaxHistoryPeriods);
    for (std::size_t at = 0; at < days.size(); ++at) {
        periodOfColumn[at] = static_cast<std::size_t>(
            std::ranges::lower_bound(periods, days[at].day) - periods.begin());
    }
    std::vector<std::string> dates;
    for (const std::chrono::sys_days day : periods) {
        dates.push_back(IsoText(day));
    }
    return dates;
}

}  // namespace sf
