#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/csv_records.h"
#include "history/history_layout.h"
#include "history/raw_cells.h"
#include "state/sales_history.h"

namespace sf {

// The long shape, as an exported series has it: one row per sales point and period in any
// order; of each row only the sales point's name or number, the period or date and the demand
// are read. Names number the sales points in the order they first appear; a column named
// sales_point numbers them itself. A row whose demand is empty is a coming period, as an export
// closes each sales point with them (up to period 1200), skipped when it comes after every period
// with demand.
class TidyHistory {
  public:
    explicit TidyHistory(HistoryLayout& layout);

    // The cells of a row that Take reads: name, period and demand, in this order.
    CsvColumns KeptColumns() const;
    // Every row that holds anything, in order, the header included, with its kept cells.
    void Take(const CsvRecord& record);
    // Reads the kept cells with the decimal separator of the demand cells; the layout learns it.
    SalesHistory Finish(const HistoryChoices& choices);

  private:
    struct KeyedRow;

    std::vector<KeyedRow> ReadKeys(bool dated, DecimalSeparator separator,
                                   SalesHistory& history) const;
    void NumberDatedPeriods(std::vector<KeyedRow>& keyed, SalesHistory& history) const;
    int ReadNumbering(std::size_t at, std::size_t kept, const char* counted, int limit) const;
    std::string Where(std::size_t at, std::size_t kept) const;

    HistoryLayout& layout_;
    std::size_t columns_ = 0;
    int firstRow_ = 0;
    std::optional<RawCells> rows_;
};

}  // namespace sf
