#include "history/tidy_history.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>

#include "history/history_cells.h"
#include "runtime/run_error.h"
#include "state/run_state.h"

namespace sf {
namespace {

constexpr char kSalesPointName[] = "sales_point";
constexpr char kPeriodName[] = "period";
constexpr char kDemandName[] = "demand";
// Where Take finds each of the three cells among those kept.
constexpr std::size_t kSalesPointCell = 0;
constexpr std::size_t kPeriodCell = 1;
constexpr std::size_t kDemandCell = 2;
// Twice the rows of the largest history, 100 sales points by 600 periods: room for rows a later
// reading may skip, and a bound on the time a file of endless rows takes.
constexpr int kMostRows = 120'000;

// Names are matched without surrounding blanks and whatever their case.
std::string ColumnName(std::string_view cell) {
    const std::size_t first = cell.find_first_not_of(" \t");
    const std::size_t last = cell.find_last_not_of(" \t");
    std::string name;
    if (first != std::string_view::npos) {
        for (const char c : cell.substr(first, last - first + 1)) {
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return name;
}

std::size_t Slot(int salesPoint, int period) {
    return static_cast<std::size_t>(salesPoint) * kPeriodSlots + period;
}

std::string PlaceName(int salesPoint, int period) {
    return "sales point " + std::to_string(salesPoint) + ", period " + std::to_string(period);
}

}  // namespace

bool TidyHistory::IsHeader(const CsvRecord& record) {
    return std::ranges::any_of(record.cells, [](const std::string& cell) {
        const std::string name = ColumnName(cell);
        return name == kSalesPointName || name == kPeriodName;
    });
}

TidyHistory::TidyHistory(const CsvRecord& header, char delimiter)
    : delimiter_(delimiter),
      headerRow_(header.row),
      columns_(header.cellCount),
      demand_(static_cast<std::size_t>(kSalesPointSlots) * kPeriodSlots, 0.0),
      rowOf_(demand_.size(), 0),
      blankRowOf_(demand_.size(), 0) {
    if (header.IsCut()) {
        throw RunError(RowName(headerRow_) + " has " + CellCount(header) +
                       ": more columns than a sales history may have");
    }
    const std::array<std::pair<const char*, std::size_t*>, 3> wanted = {
        {{kSalesPointName, &salesPointColumn_},
         {kPeriodName, &periodColumn_},
         {kDemandName, &demandColumn_}}};
    for (const auto& [name, column] : wanted) {
        bool found = false;
        for (std::size_t at = 0; at < columns_; ++at) {
            if (ColumnName(header.cells[at]) != name) {
                continue;
            }
            if (found) {
                throw RunError(RowName(headerRow_) + ", column " + std::to_string(at + 1) +
                               ": a second column named \"" + name + "\"");
            }
            found = true;
            *column = at;
        }
        if (!found) {
            throw RunError(RowName(headerRow_) + " has no column named \"" + name +
                           "\"; a file with sales_point and period columns needs all three of "
                           "sales_point, period and demand");
        }
    }
}

CsvColumns TidyHistory::KeptColumns() const {
    return {{salesPointColumn_, periodColumn_, demandColumn_}};
}

void TidyHistory::Take(const CsvRecord& record) {
    if (record.cellCount != columns_) {
        throw RunError(RowName(record.row) + " has " + CellCount(record) +
                       " where the header has " + std::to_string(columns_));
    }
    if (++rows_ > kMostRows) {
        throw RunError(RowName(record.row) +
                       ": more than 120,000 rows, far more than a sales history of 100 sales "
                       "points and 600 periods holds");
    }
    const int salesPoint = ReadNumbering(record, kSalesPointCell, salesPointColumn_,
                                         kSalesPointName, "sales point", kMaxSalesPoints);
    const std::string& cell = record.cells[kDemandCell];
    // The coming periods of an export run up to P + H, beyond period 600 when P is near it.
    const bool blank = IsBlankCell(cell);
    const int period = ReadNumbering(record, kPeriodCell, periodColumn_, kPeriodName, "period",
                                     blank ? kMaxPeriods + kMaxPeriods : kMaxPeriods);
    if (blank) {
        // Refused in Finish if the period lies among those with demand.
        if (period <= kMaxPeriods && blankRowOf_[Slot(salesPoint, period)] == 0) {
            blankRowOf_[Slot(salesPoint, period)] = record.row;
        }
        if (firstBlank_.row == 0) {
            firstBlank_ = {record.row, salesPoint, period};
        }
        return;
    }
    const std::size_t slot = Slot(salesPoint, period);
    if (rowOf_[slot] != 0) {
        throw RunError(PlaceName(salesPoint, period) + ": two rows (rows " +
                       std::to_string(rowOf_[slot]) + " and " + std::to_string(record.row) + ")");
    }
    const std::optional<double> demand = HistoryNumber(cell, delimiter_);
    if (!demand) {
        RefuseCell(PlaceName(salesPoint, period) + " (" + RowName(record.row) + ")", cell,
                   delimiter_);
    }
    demand_[slot] = *demand;
    rowOf_[slot] = record.row;
    salesPoints_ = std::max(salesPoints_, salesPoint);
    periods_ = std::max(periods_, period);
}

SalesHistory TidyHistory::Finish() const {
    if (salesPoints_ == 0 && firstBlank_.row != 0) {
        RefuseBlank(firstBlank_);
    }
    if (salesPoints_ == 0) {
        RefuseNamesOnly(headerRow_);
    }
    SalesHistory history;
    history.salesPoints = salesPoints_;
    history.periods = periods_;
    history.demand.reserve(static_cast<std::size_t>(salesPoints_) * periods_);
    for (int salesPoint = 1; salesPoint <= salesPoints_; ++salesPoint) {
        const int* rows = &rowOf_[Slot(salesPoint, 0)];
        if (std::all_of(rows + 1, rows + periods_ + 1, [](int row) { return row == 0; })) {
            throw RunError("sales point " + std::to_string(salesPoint) +
                           " is missing: the sales points must be numbered 1 to " +
                           std::to_string(salesPoints_) + " without a gap");
        }
        for (int period = 1; period <= periods_; ++period) {
            if (const int blankRow = blankRowOf_[Slot(salesPoint, period)]; blankRow != 0) {
                RefuseBlank({blankRow, salesPoint, period});
            }
            if (rows[period] == 0) {
                throw RunError(PlaceName(salesPoint, period) +
                               " is missing: every sales point needs a row for each period 1 "
                               "to " +
                               std::to_string(periods_));
            }
            history.demand.push_back(demand_[Slot(salesPoint, period)]);
        }
    }
    return history;
}

void TidyHistory::RefuseBlank(const BlankRow& blank) const {
    RefuseCell(PlaceName(blank.salesPoint, blank.period) + " (" + RowName(blank.row) + ")", "",
               delimiter_);
}

// A sales point or period number: a whole number from 1 up to the limit of a run.
int TidyHistory::ReadNumbering(const CsvRecord& record, std::size_t kept, std::size_t column,
                               const char* name, const char* counted, int limit) const {
    const std::string& cell = record.cells[kept];
    // Named only when something is wrong: a file has up to 60,000 such cells.
    const auto where = [&] {
        return RowName(record.row) + ", column " + std::to_string(column + 1) + " (" + name + ")";
    };
    const std::optional<double> number = HistoryNumber(cell, delimiter_);
    if (!number) {
        RefuseCell(where(), cell, delimiter_);
    }
    if (*number < 1.0 || *number != std::floor(*number)) {
        throw RunError(where() + ": " + ShownCell(cell) + " is not a " + counted +
                       " number (1, 2, 3 ...)");
    }
    if (*number > limit) {
        throw RunError(RowName(record.row) + " names " + counted + " " + ShownCell(cell) +
                       ": more than " + std::to_string(limit) + " " + counted + "s");
    }
    return static_cast<int>(*number);
}

}  // namespace sf
