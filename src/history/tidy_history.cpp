#include "history/tidy_history.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "history/history_cells.h"
#include "history/history_dates.h"
#include "runtime/run_error.h"
#include "state/run_state.h"

namespace sf {
namespace {

// Where Take finds each of the three cells among those kept.
constexpr std::size_t kNameCell = 0;
constexpr std::size_t kPeriodCell = 1;
constexpr std::size_t kDemandCell = 2;
// Twice the rows of the largest history, 100 sales points by 600 periods: room for the rows of
// coming periods, and a bound on the time a file of endless rows takes.
constexpr int kMostRows = 120'000;
// A coming period's row as the sorting of dates leaves it: beyond every period with demand.
constexpr int kComingPeriod = kMaxPeriods + 1;

std::size_t Slot(int salesPoint, int period) {
    return static_cast<std::size_t>(salesPoint) * kPeriodSlots + period;
}

std::string PeriodName(const SalesHistory& history, int period) {
    return history.dates.empty() ? std::to_string(period)
                                 : history.dates[static_cast<std::size_t>(period - 1)];
}

std::string PlaceName(const SalesHistory& history, int salesPoint, int period) {
    const std::string point =
        history.names.empty() ? std::to_string(salesPoint)
                              : ShownCell(history.names[static_cast<std::size_t>(salesPoint - 1)]);
    return "sales point " + point + ", period " + PeriodName(history, period);
}

}  // namespace

// A row's sales point and period, its period first as written (a number, or a date's day
// number) and then as the period it is; at the index of its row among those kept.
struct TidyHistory::KeyedRow {
    int salesPoint;
    int period;
    std::optional<double> demand;  // none for a coming period
};

TidyHistory::TidyHistory(HistoryLayout& layout) : layout_(layout), columns_(layout.columnCount) {}

CsvColumns TidyHistory::KeptColumns() const {
    return {{layout_.nameColumn, layout_.periodColumn, layout_.demandColumn}};
}

void TidyHistory::Take(const CsvRecord& record) {
    if (firstRow_ == 0) {
        firstRow_ = record.row;
        rows_.emplace(KeptColumns().columns.size());
        if (record.row == layout_.headerRow) {
            return;
        }
    }
    if (record.cellCount != columns_) {
        throw RunError(RowName(record.row) + " has " + CellCount(record) + " where " +
                       (layout_.headerRow != 0 ? "the header" : RowName(firstRow_)) + " has " +
                       std::to_string(columns_));
    }
    if (rows_->Rows() == static_cast<std::size_t>(kMostRows)) {
        throw RunError(RowName(record.row) +
                       ": more than 120,000 rows, far more than a sales history of 100 sales "
                       "points and 600 periods holds");
    }
    rows_->Add(record);
}

SalesHistory TidyHistory::Finish(const HistoryChoices& choices) {
    const std::size_t rows = rows_ ? rows_->Rows() : 0;
    if (rows == 0) {
        RefuseNamesOnly(firstRow_);
    }
    DecimalEvidence evidence;
    for (std::size_t at = 0; at < rows; ++at) {
        evidence.See(rows_->Cell(at, kDemandCell), rows_->Row(at), layout_.demandColumn);
    }
    const DecimalSeparator separator = evidence.Decide(layout_.delimiter, choices.decimal);
    layout_.decimal = separator;

    SalesHistory history;
    // The first row's period decides whether all of them are dates.
    const bool dated = LooksLikeDate(rows_->Cell(0, kPeriodCell));
    std::vector<KeyedRow> keyed = ReadKeys(dated, separator, history);
    if (dated) {
        NumberDatedPeriods(keyed, history);
    }
    for (const KeyedRow& row : keyed) {
        if (row.demand) {
            history.periods = std::max(history.periods, row.period);
            history.salesPoints = std::max(history.salesPoints, row.salesPoint);
        }
    }
    if (history.periods == 0) {
        // Every demand cell is empty: the first is named.
        RefuseNumber(Where(0, kDemandCell), rows_->Cell(0, kDemandCell), separator);
    }
    if (!layout_.numberedSalesPoints) {
        history.salesPoints = static_cast<int>(history.names.size());
    }
    // By sales point and period, as in the run state: the demand and the row that gave it.
    std::vector<double> demand(static_cast<std::size_t>(kSalesPointSlots) * kPeriodSlots, 0.0);
    std::vector<int> rowOf(demand.size(), 0);
    for (std::size_t at = 0; at < keyed.size(); ++at) {
        const KeyedRow& row = keyed[at];
        if (!row.demand) {
            // Coming periods follow those with demand; before them the demand is missing.
            if (row.period <= history.periods) {
                RefuseNumber(Where(at, kDemandCell), rows_->Cell(at, kDemandCell), separator);
            }
            continue;
        }
        const std::size_t slot = Slot(row.salesPoint, row.period);
        if (rowOf[slot] != 0) {
            throw RunError(PlaceName(history, row.salesPoint, row.period) + ": two rows (rows " +
                           std::to_string(rowOf[slot]) + " and " + std::to_string(rows_->Row(at)) +
                           ")");
        }
        demand[slot] = *row.demand;
        rowOf[slot] = rows_->Row(at);
    }
    const bool refused = choices.missing == MissingRows::refused;
    history.demand.reserve(static_cast<std::size_t>(history.salesPoints) * history.periods);
    for (int salesPoint = 1; salesPoint <= history.salesPoints; ++salesPoint) {
        const int* rowsOfPoint = &rowOf[Slot(salesPoint, 0)];
        if (refused && layout_.numberedSalesPoints &&
            std::all_of(rowsOfPoint + 1, rowsOfPoint + history.periods + 1,
                        [](int row) { return row == 0; })) {
            throw RunError("sales point " + std::to_string(salesPoint) +
                           " is missing: the sales points must be numbered 1 to " +
                           std::to_string(history.salesPoints) +
                           " without a gap, unless missing rows are read as zero");
        }
        for (int period = 1; period <= history.periods; ++period) {
            if (refused && rowsOfPoint[period] == 0) {
                throw RunError(PlaceName(history, salesPoint, period) +
                               " is missing: every sales point needs a row for each period " +
                               PeriodName(history, 1) + " to " +
                               PeriodName(history, history.periods) +
                               ", unless missing rows are read as zero");
            }
            history.demand.push_back(demand[Slot(salesPoint, period)]);
        }
    }
    return history;
}

// Every row's sales point, period as written and demand, in the order of the file; names
// number the sales points in the order they first appear.
std::vector<TidyHistory::KeyedRow> TidyHistory::ReadKeys(bool dated, DecimalSeparator separator,
                                                         SalesHistory& history) const {
    std::unordered_map<std::string, int> numberOf;
    std::vector<KeyedRow> keyed;
    keyed.reserve(rows_->Rows());
    for (std::size_t at = 0; at < rows_->Rows(); ++at) {
        KeyedRow row{0, 0, std::nullopt};
        if (layout_.numberedSalesPoints) {
            row.salesPoint = ReadNumbering(at, kNameCell, "sales point", kMaxSalesPoints);
        } else {
            const std::string name = NameInCell(rows_->Cell(at, kNameCell));
            if (name.empty()) {
                throw RunError(Where(at, kNameCell) + ": the cell is empty");
            }
            const auto [entry, isNew] =
                numberOf.try_emplace(name, static_cast<int>(history.names.size()) + 1);
            if (isNew && entry->second > kMaxSalesPoints) {
                throw RunError(RowName(rows_->Row(at)) + " names a 101st sales point, " +
                               ShownCell(name) + ": more than 100 sales points");
            }
            if (isNew) {
                history.names.push_back(name);
            }
            row.salesPoint = entry->second;
        }
        if (dated) {
            const std::string_view cell = rows_->Cell(at, kPeriodCell);
            const std::optional<std::chrono::sys_days> day = IsoDate(cell);
            if (!day) {
                RefuseDate(Where(at, kPeriodCell), cell);
            }
            row.period = static_cast<int>(day->time_since_epoch().count());
        }
        const std::string_view cell = rows_->Cell(at, kDemandCell);
        const bool coming = IsBlank(cell);
        if (!dated) {
            // The coming periods of an export run up to P + H, beyond period 600 when P is near it.
            row.period =
                ReadNumbering(at, kPeriodCell, "period", coming ? 2 * kMaxPeriods : kMaxPeriods);
        }
        if (!coming) {
            row.demand = CellNumber([&] { return Where(at, kDemandCell); }, cell, separator);
        }
        keyed.push_back(row);
    }
    return keyed;
}

// The dates of the rows with demand, in order, are the periods; they must step evenly. A
// coming period's date follows them.
void TidyHistory::NumberDatedPeriods(std::vector<KeyedRow>& keyed, SalesHistory& history) const {
    std::vector<int> days;
    for (const KeyedRow& row : keyed) {
        if (row.demand) {
            days.push_back(row.period);
        }
    }
    std::ranges::sort(days);
    days.erase(std::unique(days.begin(), days.end()), days.end());
    if (days.size() > static_cast<std::size_t>(kMaxPeriods)) {
        throw RunError("the file has " + std::to_string(days.size()) +
                       " dates: more than 600 periods");
    }
    std::vector<DatedRow> sequence(days.size(), DatedRow{{}, 0});
    for (std::size_t at = 0; at < keyed.size(); ++at) {
        KeyedRow& row = keyed[at];
        const auto found = std::ranges::lower_bound(days, row.period);
        if (!row.demand) {
            row.period = days.empty() || row.period > days.back() ? kComingPeriod : 0;
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(found - days.begin());
        if (sequence[index].row == 0) {
            sequence[index] = {std::chrono::sys_days(std::chrono::days(*found)), rows_->Row(at)};
        }
        row.period = static_cast<int>(index) + 1;
    }
    CheckConsecutive(sequence);
    for (const DatedRow& day : sequence) {
        history.dates.push_back(IsoText(day.day));
    }
}

// A sales point or period number: a whole number from 1 up to the limit of a run.
int TidyHistory::ReadNumbering(std::size_t at, std::size_t kept, const char* counted,
                               int limit) const {
    const std::string_view cell = rows_->Cell(at, kept);
    const double number =
        CellNumber([&] { return Where(at, kept); }, cell, DecimalSeparator::point);
    if (number < 1.0 || number != std::floor(number)) {
        throw RunError(Where(at, kept) + ": " + ShownCell(cell) + " is not a " + counted +
                       " number (1, 2, 3 ...)");
    }
    if (number > limit) {
        throw RunError(RowName(rows_->Row(at)) + " names " + counted + " " + ShownCell(cell) +
                       ": more than " + std::to_string(limit) + " " + counted + "s");
    }
    return static_cast<int>(number);
}

std::string TidyHistory::Where(std::size_t at, std::size_t kept) const {
    return RowName(rows_->Row(at)) + ", " + layout_.ColumnName(KeptColumns().columns[kept]);
}

}  // namespace sf
