#include "history/wide_history.h"

#include <algorithm>

#include "history/history_cells.h"
#include "runtime/run_error.h"
#include "state/run_state.h"

namespace sf {
namespace {

// Meant as a number, whether or not it is one: digits with signs, points, commas and exponents.
bool LooksLikeNumber(const std::string& cell) {
    return cell.find_first_of("0123456789") != std::string::npos &&
           cell.find_first_not_of("0123456789+-.,eE \t") == std::string::npos;
}

// Names, not demand: no cell is meant as a number and some cell is not empty.
bool IsHeader(const std::vector<std::string>& cells) {
    return std::ranges::none_of(cells, LooksLikeNumber) &&
           std::ranges::any_of(cells, [](const std::string& cell) {
               return cell.find_first_not_of(" \t") != std::string::npos;
           });
}

}  // namespace

void WideHistory::Take(const CsvRecord& record) {
    if (firstRow_ == 0) {
        firstRow_ = record.row;
        columns_ = record.cellCount;
        if (columns_ > static_cast<std::size_t>(kMaxSalesPoints)) {
            throw RunError(RowName(record.row) + " has " + CellCount(record) +
                           ": more than 100 sales points");
        }
        if (IsHeader(record.cells)) {
            names_ = record.cells;
            return;
        }
    }
    if (record.cellCount != columns_) {
        throw RunError(RowName(record.row) + " has " + CellCount(record) + " where " +
                       RowName(firstRow_) + " has " + std::to_string(columns_));
    }
    if (periods_ == kMaxPeriods) {
        throw RunError(RowName(record.row) + " would be period 601: more than 600 periods");
    }
    for (std::size_t column = 0; column < columns_; ++column) {
        const std::optional<double> demand = HistoryNumber(record.cells[column], delimiter_);
        if (!demand) {
            RefuseCell(CellName(record.row, column), record.cells[column], delimiter_);
        }
        byPeriod_.push_back(*demand);
    }
    ++periods_;
}

SalesHistory WideHistory::Finish() const {
    if (periods_ == 0) {
        RefuseNamesOnly(firstRow_);
    }
    SalesHistory history;
    history.salesPoints = static_cast<int>(columns_);
    history.periods = periods_;
    history.demand.resize(byPeriod_.size());
    for (std::size_t salesPoint = 0; salesPoint < columns_; ++salesPoint) {
        for (std::size_t period = 0; period < static_cast<std::size_t>(periods_); ++period) {
            history.demand[salesPoint * periods_ + period] =
                byPeriod_[period * columns_ + salesPoint];
        }
    }
    return history;
}

std::string WideHistory::CellName(int row, std::size_t column) const {
    std::string name = RowName(row) + ", column " + std::to_string(column + 1);
    if (!names_.empty()) {
        name += " (" + ShownCell(names_[column]) + ")";
    }
    return name;
}

}  // namespace sf
