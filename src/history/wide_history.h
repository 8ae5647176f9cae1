#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/csv_records.h"
#include "history/history_layout.h"
#include "history/raw_cells.h"
#include "state/sales_history.h"

namespace sf {

// The wide shape: one column per sales point, one row per period, an optional row of names
// above them and an optional first column of dates.
class WideHistory {
  public:
    explicit WideHistory(HistoryLayout& layout) : layout_(layout) {}

    // Every row that holds anything, in order, the header included.
    void Take(const CsvRecord& record);
    // Reads the cells once the whole file has said how: the decimal separator from the number
    // cells below the header, whether every row ends in a delimiter and, with dates, whether the
    // last row is their total. The layout learns all three.
    SalesHistory Finish(const HistoryChoices& choices);

  private:
    SalesHistory Read(const HistoryChoices& choices, std::size_t first, std::size_t end,
                      DecimalSeparator separator);
    std::string CellName(int row, std::size_t column) const;
    bool EndsInDelimiter() const;
    std::vector<std::string> Dates(const HistoryChoices& choices,
                                   std::vector<std::size_t>& periodOfRow) const;

    HistoryLayout& layout_;
    int firstRow_ = 0;
    std::size_t columns_ = 0;
    std::optional<RawCells> periods_;  // the rows below the header, as written
};

}  // namespace sf
