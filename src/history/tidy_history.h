#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "history/csv_records.h"
#include "history/date_forms.h"
#include "history/history_layout.h"
#include "history/raw_cells.h"
#include "state/sales_history.h"

namespace sf {

// The long shape, as an exported series has it: one row per sales point and period in any
// order; of each row only the sales point's name or number, the period or date and the demand
// are read. Names number the sales points in the order they first appear; a column named
// sales_point numbers them itself. A row whose demand is empty is a coming period, as an export
// closes each sales point with them (up to period 20,000), skipped when it comes after every period
// with demand.
//
// Where the delimiter or the user settles the decimal separator before the rows (a comma
// delimiter, or a separator chosen), each row is read as it comes; else the rows are kept as
// text until every demand cell has told the separator. Both say the same of any file: a row
// that cannot be read is refused at Finish, after whatever the later rows have to say of their
// cell counts, as when it is read at the end.
class TidyHistory {
  public:
    TidyHistory(HistoryLayout& layout, const HistoryChoices& choices, HistoryReading reading);
    ~TidyHistory();

    // The cells of a row that Take reads: the sales point's, period and demand, in this order.
    CsvColumns KeptColumns() const;
    // Every row that holds anything, in order, the header included, with its kept cells.
    void Take(const CsvRecord& record);
    // The history of the rows taken; the layout learns the decimal separator.
    SalesHistory Finish();

  private:
    struct KeyedRow;
    struct HeldRow {
        int row;
        std::vector<std::string> cells;
    };

    void ReadAsItComes(int row);
    void KeepCells(const std::vector<std::string>& cells);
    bool KeyMarksTotal() const;
    DecimalSeparator ReadKeptRows();
    void TakeHeldRow(DecimalSeparator separator);
    void CountSalesPointsAndPeriods(SalesHistory& history, DecimalSeparator separator) const;
    void FillDemand(SalesHistory& history, DecimalSeparator separator) const;
    void RefuseTooManyFilledCells(const SalesHistory& history) const;
    // rowsOfPoint: the row of each period from period 1 on, 0 where none names it.
    void RefuseMissingRows(const SalesHistory& history, int salesPoint,
                           const int* rowsOfPoint) const;
    // Of the row whose kept cells are in cellsOfRow_.
    KeyedRow ReadKey(int row, DecimalSeparator separator);
    int NumberOfName(int row);
    void NumberDatedPeriods(std::vector<KeyedRow>& keyed, SalesHistory& history) const;
    int ReadNumbering(int row, std::string_view cell, std::size_t kept, const char* counted,
                      int limit) const;
    std::string Where(int row, std::size_t kept) const;

    HistoryLayout& layout_;
    HistoryChoices choices_;
    std::size_t columns_ = 0;
    std::size_t periodCell_;  // where the period and demand are among the kept cells
    std::size_t demandCell_;
    std::vector<std::string_view> cellsOfRow_;  // the kept cells of the row read
    int firstRow_ = 0;
    std::size_t rowCount_ = 0;  // the rows after the header
    // Known before the rows, which are then read as they come into keyed_; else they wait in
    // rows_.
    std::optional<DecimalSeparator> knownSeparator_;
    std::optional<bool> dated_;  // the first row's period decides whether all are dates
    DateColumn dates_;           // what the dates say of the order of day and month
    std::vector<KeyedRow> keyed_;
    std::exception_ptr refusal_;   // of the first row read as it came that could not be
    std::optional<HeldRow> held_;  // a row whose key cells say total, until a row follows it
    std::optional<RawCells> rows_;
    // The sales points' names in order of first appearance, and their numbers.
    std::vector<std::string> names_;
    std::unordered_map<std::string, int> numberOf_;
};

}  // namespace sf
