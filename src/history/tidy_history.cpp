#include "history/tidy_history.h"

#include <algorithm>
#include <cmath>

#include "history/history_cells.h"
#include "history/history_dates.h"
#include "history/total_rows.h"
#include "runtime/run_error.h"
#include "state/run_state.h"

namespace sf {
namespace {

// Where Take finds the first sales point cell among those kept; the period and demand follow
// the sales point's cells.
constexpr std::size_t kNameCell = 0;
// A bound on the time and memory a file of endless rows takes, beyond any catalogue's rows
// (30,000 articles by 10,000 periods, their coming periods too), and row numbers stay in range.
constexpr int kMostRows = 1'000'000'000;
// Room from the start for the rows of 100 sales points by 600 periods and their coming periods,
// so that the rows of such a history are never moved; what they do not fill is never touched.
constexpr std::size_t kRowsReserved = 120'000;
// As many sales points as the widest row of a wide history holds.
constexpr int kMostSalesPoints = 1'000'000;
// Missing rows read as zero fill the gaps of a sparse history; beyond the cells of 100 x 600 they
// may not make more than this many cells of each row taken, so that a few rows naming far sales
// points and periods cannot ask for gigabytes.
constexpr std::size_t kFilledCellsPerRow = 64;
constexpr std::size_t kAlwaysLaidOut = std::size_t{kMaxSalesPoints} * kMaxPeriods;
// A coming period's row as the sorting of dates leaves it: beyond every period with demand.
constexpr int kComingPeriod = kMaxHistoryPeriods + 1;

// The demand and its row by sales point and period, as the history lays them out.
struct DemandGrid {
    int periods;
    std::vector<int> rowOf;  // 0 where no row names the cell

    std::size_t Cell(int salesPoint, int period) const {
        return static_cast<std::size_t>(salesPoint - 1) * static_cast<std::size_t>(periods) +
               static_cast<std::size_t>(period - 1);
    }
};

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

// The periods that no row names for any sales point.
int UnnamedPeriods(const DemandGrid& grid, const SalesHistory& history) {
    int unnamed = 0;
    for (int period = 1; period <= history.periods; ++period) {
        bool named = false;
        for (int salesPoint = 1; salesPoint <= history.salesPoints && !named; ++salesPoint) {
            named = grid.rowOf[grid.Cell(salesPoint, period)] != 0;
        }
        unnamed += named ? 0 : 1;
    }
    return unnamed;
}

}  // namespace

// A row's sales point and period, its period first as written (a number, or a date's day
// number) and then as the period it is.
struct TidyHistory::KeyedRow {
    int row;  // of the file
    int salesPoint;
    int period;
    std::optional<double> demand;  // none for a coming period
};

TidyHistory::TidyHistory(HistoryLayout& layout, const HistoryChoices& choices,
                         HistoryReading reading)
    : layout_(layout),
      choices_(choices),
      columns_(layout.columnCount),
      periodCell_(layout.keyColumns.size()),
      demandCell_(layout.keyColumns.size() + 1),
      dates_(choices.dateOrder) {
    if (reading == HistoryReading::quick &&
        (layout.delimiter == ',' || choices.decimal != DecimalChoice::found)) {
        // No demand cell has a say: the evidence is not looked at.
        knownSeparator_ = DecimalEvidence().Decide(layout.delimiter, choices.decimal);
        keyed_.reserve(kRowsReserved);
    }
}

TidyHistory::~TidyHistory() = default;

CsvColumns TidyHistory::KeptColumns() const {
    CsvColumns kept{layout_.keyColumns};
    kept.columns.push_back(layout_.periodColumn);
    kept.columns.push_back(layout_.demandColumn);
    return kept;
}

void TidyHistory::Take(const CsvRecord& record) {
    if (firstRow_ == 0) {
        firstRow_ = record.row;
        if (record.row == layout_.headerRow) {
            return;
        }
    }
    if (record.cellCount != columns_) {
        throw RunError(RowName(record.row) + " has " + CellCount(record) + " where " +
                       (layout_.headerRow != 0 ? "the header" : RowName(firstRow_)) + " has " +
                       std::to_string(columns_));
    }
    if (rowCount_ == static_cast<std::size_t>(kMostRows)) {
        throw RunError(RowName(record.row) +
                       ": more than 1,000,000,000 rows, far more than a sales history of "
                       "10,000 periods holds");
    }
    ++rowCount_;
    if (!knownSeparator_) {
        if (!rows_) {
            rows_.emplace(KeptColumns().columns.size());
        }
        rows_->Add(record);
        return;
    }
    if (held_) {
        // A row named a total that is not the last is read as any other.
        const HeldRow held = std::move(*held_);
        held_.reset();
        KeepCells(held.cells);
        ReadAsItComes(held.row);
    }
    KeepCells(record.cells);
    if (KeyMarksTotal()) {
        held_ = HeldRow{record.row, {cellsOfRow_.begin(), cellsOfRow_.end()}};
        return;
    }
    ReadAsItComes(record.row);
}

void TidyHistory::ReadAsItComes(int row) {
    if (refusal_) {
        return;
    }
    if (!dated_) {
        dated_ = LooksLikeDate(cellsOfRow_[periodCell_]);
    }
    try {
        keyed_.push_back(ReadKey(row, *knownSeparator_));
    } catch (const RunError&) {
        refusal_ = std::current_exception();
    }
}

void TidyHistory::KeepCells(const std::vector<std::string>& cells) {
    cellsOfRow_.clear();
    for (std::size_t kept = 0; kept <= demandCell_; ++kept) {
        cellsOfRow_.push_back(kept < cells.size() ? std::string_view(cells[kept])
                                                  : std::string_view());
    }
}

bool TidyHistory::KeyMarksTotal() const {
    return TotalKeyOf(std::span(cellsOfRow_).first(demandCell_)) != TotalKey::none;
}

// The last row, held back while its key cells say total: left out when its demand is the sum
// of the demand above, else read as any other row.
void TidyHistory::TakeHeldRow(DecimalSeparator separator) {
    if (!held_) {
        return;
    }
    KeepCells(held_->cells);
    double sum = 0.0;
    std::size_t above = 0;
    for (const KeyedRow& row : keyed_) {
        if (row.demand) {
            sum += *row.demand;
            ++above;
        }
    }
    const TotalKey key = TotalKeyOf(std::span(cellsOfRow_).first(demandCell_));
    if (IsTotal(key, held_->row, above,
                HistoryNumber(cellsOfRow_[demandCell_], separator) == sum)) {
        layout_.totalRow = held_->row;
        return;
    }
    if (!dated_) {
        dated_ = LooksLikeDate(cellsOfRow_[periodCell_]);
    }
    keyed_.push_back(ReadKey(held_->row, separator));
}

SalesHistory TidyHistory::Finish() {
    if (rowCount_ == 0) {
        RefuseNamesOnly(firstRow_);
    }
    const DecimalSeparator separator = ReadKeptRows();
    TakeHeldRow(separator);
    SalesHistory history;
    history.names = std::move(names_);
    if (*dated_) {
        NumberDatedPeriods(keyed_, history);
    }
    CountSalesPointsAndPeriods(history, separator);
    FillDemand(history, separator);
    return history;
}

// Settles the decimal separator, which the layout learns, and reads the rows that waited for it.
DecimalSeparator TidyHistory::ReadKeptRows() {
    DecimalSeparator separator = DecimalSeparator::point;
    if (knownSeparator_) {
        separator = *knownSeparator_;
    } else {
        DecimalEvidence evidence;
        for (std::size_t at = 0; at < rows_->Rows(); ++at) {
            evidence.See(rows_->Cell(at, demandCell_), rows_->Row(at), layout_.demandColumn);
        }
        separator = evidence.Decide(layout_.delimiter, choices_.decimal);
    }
    layout_.decimal = separator;
    if (refusal_) {
        std::rethrow_exception(refusal_);
    }
    if (!knownSeparator_) {
        dated_ = LooksLikeDate(rows_->Cell(0, periodCell_));
        keyed_.reserve(rows_->Rows());
        for (std::size_t at = 0; at < rows_->Rows(); ++at) {
            cellsOfRow_.clear();
            for (std::size_t kept = 0; kept <= demandCell_; ++kept) {
                cellsOfRow_.push_back(rows_->Cell(at, kept));
            }
            if (at + 1 == rows_->Rows() && KeyMarksTotal()) {
                held_ = HeldRow{rows_->Row(at), {cellsOfRow_.begin(), cellsOfRow_.end()}};
            } else {
                keyed_.push_back(ReadKey(rows_->Row(at), separator));
            }
        }
    }
    return separator;
}

// The last period and sales point that have demand; names count the sales points themselves.
void TidyHistory::CountSalesPointsAndPeriods(SalesHistory& history,
                                             DecimalSeparator separator) const {
    for (const KeyedRow& row : keyed_) {
        if (row.demand) {
            history.periods = std::max(history.periods, row.period);
            history.salesPoints = std::max(history.salesPoints, row.salesPoint);
        }
    }
    if (history.periods == 0) {
        // Every demand cell is empty: the first is named.
        RefuseNumber(Where(keyed_.front().row, demandCell_), "", separator);
    }
    if (!layout_.numberedSalesPoints) {
        history.salesPoints = static_cast<int>(history.names.size());
    }
}

// Each sales point's demand period by period, from one row each; a missing row is refused
// unless missing rows are zero.
void TidyHistory::FillDemand(SalesHistory& history, DecimalSeparator separator) const {
    RefuseTooManyFilledCells(history);
    // By sales point and period, as the history lays them out: the demand and the row that gave
    // it.
    std::vector<double> demandGrid(
        static_cast<std::size_t>(history.salesPoints) * static_cast<std::size_t>(history.periods),
        0.0);
    DemandGrid grid{history.periods, std::vector<int>(demandGrid.size(), 0)};
    for (const KeyedRow& row : keyed_) {
        if (!row.demand) {
            // Coming periods follow those with demand; before them the demand is missing.
            if (row.period <= history.periods) {
                RefuseNumber(Where(row.row, demandCell_), "", separator);
            }
            continue;
        }
        const std::size_t cell = grid.Cell(row.salesPoint, row.period);
        int& rowOf = grid.rowOf[cell];
        if (rowOf != 0 && choices_.duplicates == DuplicateRows::refused) {
            throw RunError(PlaceName(history, row.salesPoint, row.period) + ": two rows (rows " +
                           std::to_string(rowOf) + " and " + std::to_string(row.row) +
                           "), which are added up only when the user says so "
                           "(--history-duplicates sum)");
        }
        // Added in row order, as an export splits a day's sales into receipts.
        double& demand = demandGrid[cell];
        demand = rowOf != 0 ? demand + *row.demand : *row.demand;
        rowOf = row.row;
    }
    history.demand = std::move(demandGrid);
    const bool refused = choices_.missing == MissingRows::refused;
    layout_.filledPeriods = refused ? 0 : UnnamedPeriods(grid, history);
    if (refused) {
        for (int salesPoint = 1; salesPoint <= history.salesPoints; ++salesPoint) {
            RefuseMissingRows(history, salesPoint, &grid.rowOf[grid.Cell(salesPoint, 1)]);
        }
    }
}

// Before the cells are laid out: far more of them than the file has rows are refused, as
// missing rows where they must not be, else as more than missing rows read as zero may fill.
void TidyHistory::RefuseTooManyFilledCells(const SalesHistory& history) const {
    const std::size_t cells =
        static_cast<std::size_t>(history.salesPoints) * static_cast<std::size_t>(history.periods);
    if (cells <= std::max(kAlwaysLaidOut, kFilledCellsPerRow * rowCount_)) {
        return;
    }
    const std::string size = std::to_string(history.salesPoints) + " sales points by " +
                             std::to_string(history.periods) + " periods need " +
                             std::to_string(cells) + " demand cells";
    if (choices_.missing == MissingRows::refused) {
        throw RunError(size + ", and the file has " + std::to_string(rowCount_) +
                       " rows: every sales point needs a row for each period, unless missing "
                       "rows are read as zero");
    }
    throw RunError(size + ", more than " + std::to_string(kFilledCellsPerRow) +
                   " for each of the file's " + std::to_string(rowCount_) +
                   " rows: missing rows read as zero fill the gaps of a history, they do "
                   "not make one");
}

// A sales point without a row for some period, or a numbered one without any row.
void TidyHistory::RefuseMissingRows(const SalesHistory& history, int salesPoint,
                                    const int* rowsOfPoint) const {
    if (layout_.numberedSalesPoints &&
        std::all_of(rowsOfPoint, rowsOfPoint + history.periods, [](int row) { return row == 0; })) {
        throw RunError("sales point " + std::to_string(salesPoint) +
                       " is missing: the sales points must be numbered 1 to " +
                       std::to_string(history.salesPoints) +
                       " without a gap, unless missing rows are read as zero");
    }
    for (int period = 1; period <= history.periods; ++period) {
        if (rowsOfPoint[period - 1] == 0) {
            throw RunError(PlaceName(history, salesPoint, period) +
                           " is missing: every sales point needs a row for each period " +
                           PeriodName(history, 1) + " to " + PeriodName(history, history.periods) +
                           ", unless missing rows are read as zero");
        }
    }
}

// A row's sales point, period as written and demand; names number the sales points in the
// order they first appear. The empty demand of a coming period is blank.
TidyHistory::KeyedRow TidyHistory::ReadKey(int row, DecimalSeparator separator) {
    const std::string_view period = cellsOfRow_[periodCell_];
    const std::string_view demand = cellsOfRow_[demandCell_];
    KeyedRow keyed{row, 0, 0, std::nullopt};
    if (layout_.numberedSalesPoints) {
        keyed.salesPoint =
            ReadNumbering(row, cellsOfRow_[kNameCell], kNameCell, "sales point", kMostSalesPoints);
    } else {
        keyed.salesPoint = NumberOfName(row);
    }
    if (*dated_) {
        // The date as written until the column has told the order of day and month.
        const std::optional<int> date = dates_.Take(period, row);
        if (!date) {
            RefuseDate(Where(row, periodCell_), period, choices_.dateOrder);
        }
        keyed.period = *date;
    }
    const bool coming = IsBlank(demand);
    if (!*dated_) {
        // The coming periods of an export run up to P + H, beyond the last period a history may
        // have when P is near it.
        keyed.period = ReadNumbering(row, period, periodCell_, "period",
                                     coming ? 2 * kMaxHistoryPeriods : kMaxHistoryPeriods);
    }
    if (!coming) {
        keyed.demand = CellNumber([&] { return Where(row, demandCell_); }, demand, separator);
    }
    return keyed;
}

// The sales point a row names, numbered in the order the names first appear; several key
// columns are joined with " / ".
int TidyHistory::NumberOfName(int row) {
    std::string text;
    for (std::size_t kept = kNameCell; kept < periodCell_; ++kept) {
        const std::string_view cell = WithoutBlanks(cellsOfRow_[kept]);
        if (cell.empty()) {
            throw RunError(Where(row, kept) + ": the cell is empty");
        }
        text.append(kept == kNameCell ? "" : " / ").append(cell);
    }
    CheckNameLength(text, [&] { return Where(row, kNameCell); });
    const auto found = numberOf_.find(text);
    if (found != numberOf_.end()) {
        return found->second;
    }
    const int number = static_cast<int>(names_.size()) + 1;
    numberOf_.emplace(text, number);
    names_.push_back(std::move(text));
    return number;
}

// The dates of the rows with demand, in order, are the periods; they must step evenly. A
// coming period's date follows them.
void TidyHistory::NumberDatedPeriods(std::vector<KeyedRow>& keyed, SalesHistory& history) const {
    const DateOrder order = dates_.Decide([&](int row) { return Where(row, periodCell_); });
    if (dates_.AnySlashed()) {
        layout_.dateOrder = order;
    }
    for (KeyedRow& row : keyed) {
        row.period =
            static_cast<int>(DateColumn::Day(row.period, order).time_since_epoch().count());
    }
    std::vector<int> days;
    for (const KeyedRow& row : keyed) {
        if (row.demand) {
            days.push_back(row.period);
        }
    }
    std::ranges::sort(days);
    days.erase(std::unique(days.begin(), days.end()), days.end());
    if (days.size() > static_cast<std::size_t>(kMaxHistoryPeriods)) {
        throw RunError("the file has " + std::to_string(days.size()) + " dates: more than " +
                       std::to_string(kMaxHistoryPeriods) + " periods");
    }
    std::vector<DatedRow> sequence(days.size(), DatedRow{{}, 0});
    for (const KeyedRow& row : keyed) {
        const auto found = std::ranges::lower_bound(days, row.period);
        if (row.demand && sequence[found - days.begin()].row == 0) {
            sequence[found - days.begin()] = {std::chrono::sys_days(std::chrono::days(*found)),
                                              row.row};
        }
    }
    // With missing rows read as zero, a period no row names is a period of zeros.
    const std::vector<std::chrono::sys_days> periods = PeriodDays(
        sequence, choices_.missing == MissingRows::zero ? PeriodGaps::filled : PeriodGaps::refused,
        kMaxHistoryPeriods);
    for (KeyedRow& row : keyed) {
        const std::chrono::sys_days day{std::chrono::days(row.period)};
        if (!row.demand) {
            row.period = periods.empty() || day > periods.back() ? kComingPeriod : 0;
            continue;
        }
        row.period = static_cast<int>(std::ranges::lower_bound(periods, day) - periods.begin()) + 1;
    }
    for (const std::chrono::sys_days day : periods) {
        history.dates.push_back(IsoText(day));
    }
}

// A sales point or period number: a whole number from 1 up to the limit of a run.
int TidyHistory::ReadNumbering(int row, std::string_view cell, std::size_t kept,
                               const char* counted, int limit) const {
    const double number =
        CellNumber([&] { return Where(row, kept); }, cell, DecimalSeparator::point);
    if (number < 1.0 || number != std::floor(number)) {
        throw RunError(Where(row, kept) + ": " + ShownCell(cell) + " is not a " + counted +
                       " number (1, 2, 3 ...)");
    }
    if (number > limit) {
        throw RunError(RowName(row) + " names " + counted + " " + ShownCell(cell) + ": more than " +
                       std::to_string(limit) + " " + counted + "s");
    }
    return static_cast<int>(number);
}

std::string TidyHistory::Where(int row, std::size_t kept) const {
    return RowName(row) + ", " + layout_.ColumnName(KeptColumns().columns[kept]);
}

}  // namespace sf
