#include "history/wide_history.h"

#include <algorithm>
#include <numeric>

#include "history/history_cells.h"
#include "history/history_dates.h"
#include "history/total_rows.h"
#include "runtime/run_error.h"
#include "state/run_state.h"

namespace sf {

void WideHistory::Take(const CsvRecord& record) {
    if (firstRow_ == 0) {
        firstRow_ = record.row;
        columns_ = record.cellCount;
        if (record.IsCut()) {
            throw RunError(RowName(record.row) + " has " + CellCount(record) +
                           ": more sales points than a history may hold");
        }
        periods_.emplace(columns_);
        if (layout_.headerRow == record.row) {
            for (std::size_t column = 0; column < layout_.columnNames.size(); ++column) {
                CheckNameLength(layout_.columnNames[column], [&] {
                    return RowName(record.row) + ", column " + std::to_string(column + 1);
                });
            }
            return;
        }
    }
    if (record.cellCount != columns_) {
        throw RunError(RowName(record.row) + " has " + CellCount(record) + " where " +
                       RowName(firstRow_) + " has " + std::to_string(columns_));
    }
    if (periods_->Rows() == static_cast<std::size_t>(kMaxHistoryPeriods)) {
        throw RunError(RowName(record.row) + " would be period " +
                       std::to_string(kMaxHistoryPeriods + 1) + ": more than " +
                       std::to_string(kMaxHistoryPeriods) + " periods");
    }
    periods_->Add(record);
}

SalesHistory WideHistory::Finish(const HistoryChoices& choices) {
    const std::size_t rows = periods_ ? periods_->Rows() : 0;
    if (rows == 0) {
        RefuseNamesOnly(firstRow_);
    }
    layout_.trailingDelimiter = EndsInDelimiter();
    const std::size_t first = layout_.dateColumn ? 1 : 0;
    const std::size_t end = columns_ - (layout_.trailingDelimiter ? 1 : 0);
    // A column of dates alone would be a history of no sales point.
    if (end <= first) {
        throw RunError(RowName(firstRow_) + " holds dates only: no column of demand beside them");
    }
    const DecimalSeparator separator =
        SeparatorOfCells(*periods_, first, end, layout_.delimiter, choices.decimal);
    layout_.decimal = separator;
    // Without dates there is no key to mark a total: a sum row is one more period.
    if (layout_.dateColumn) {
        layout_.totalRow =
            LeaveOutTotalRow(*periods_, {periods_->Cell(rows - 1, 0)}, first, end, separator);
    }
    return Read(choices, first, end, separator);
}

SalesHistory WideHistory::Read(const HistoryChoices& choices, std::size_t first, std::size_t end,
                               DecimalSeparator separator) {
    const std::size_t rows = periods_->Rows();
    SalesHistory history;
    history.salesPoints = static_cast<int>(end - first);
    // Each row's period from 0; dates with gaps filled leave periods that no row names.
    std::vector<std::size_t> periodOf(rows);
    std::iota(periodOf.begin(), periodOf.end(), std::size_t{0});
    if (layout_.dateColumn) {
        history.dates = Dates(choices, periodOf);
    }
    const std::size_t periods = layout_.dateColumn ? history.dates.size() : rows;
    history.periods = static_cast<int>(periods);
    layout_.filledPeriods = static_cast<int>(periods - rows);
    for (std::size_t column = first; column < end && layout_.headerRow != 0; ++column) {
        history.names.push_back(layout_.columnNames[column]);
    }
    std::vector<double> demand(periods * history.salesPoints);
    for (std::size_t at = 0; at < rows; ++at) {
        for (std::size_t column = first; column < end; ++column) {
            demand[(column - first) * periods + periodOf[at]] =
                CellNumber([&] { return CellName(periods_->Row(at), column); },
                           periods_->Cell(at, column), separator);
        }
    }
    history.demand = std::move(demand);
    return history;
}

std::string WideHistory::CellName(int row, std::size_t column) const {
    std::string name = RowName(row) + ", column " + std::to_string(column + 1);
    if (layout_.headerRow != 0 && !layout_.columnNames[column].empty()) {
        name += " (" + ShownCell(layout_.columnNames[column]) + ")";
    }
    return name;
}

// Every row, the header too, ends in an empty cell beside at least one column it reads.
bool WideHistory::EndsInDelimiter() const {
    const std::size_t last = columns_ - 1;
    if (columns_ < 2 + (layout_.dateColumn ? 1 : 0)) {
        return false;
    }
    if (layout_.headerRow != 0 && !layout_.columnNames[last].empty()) {
        return false;
    }
    for (std::size_t at = 0; at < periods_->Rows(); ++at) {
        if (!IsBlank(periods_->Cell(at, last))) {
            return false;
        }
    }
    return true;
}

// The periods' days from the first column, which must step evenly.
std::vector<std::string> WideHistory::Dates(const HistoryChoices& choices,
                                            std::vector<std::size_t>& periodOfRow) const {
    std::vector<DateCell> cells;
    for (std::size_t at = 0; at < periods_->Rows(); ++at) {
        cells.push_back({periods_->Cell(at, 0), periods_->Row(at)});
    }
    const std::vector<std::chrono::sys_days> read = ReadDateCells(
        cells, choices.dateOrder, [](int row) { return RowName(row) + ", column 1"; },
        layout_.dateOrder);
    std::vector<DatedRow> days;
    for (std::size_t at = 0; at < read.size(); ++at) {
        days.push_back({read[at], periods_->Row(at)});
    }
    // With missing rows read as zero, a date no row names is a period of zeros.
    const std::vector<std::chrono::sys_days> periods = PeriodDays(
        days, choices.missing == MissingRows::zero ? PeriodGaps::filled : PeriodGaps::refused,
        kMaxHistoryPeriods);
    for (std::size_t at = 0; at < days.size(); ++at) {
        periodOfRow[at] = static_cast<std::size_t>(std::ranges::lower_bound(periods, days[at].day) -
                                                   periods.begin());
    }
    std::vector<std::string> dates;
    for (const std::chrono::sys_days day : periods) {
        dates.push_back(IsoText(day));
    }
    return dates;
}

}  // namespace sf
