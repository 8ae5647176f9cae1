#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/csv_records.h"
#include "history/history_layout.h"
#include "history/raw_cells.h"
#include "state/sales_history.h"

namespace sf {

// The rows shape: one row per sales point, its name columns (joined with " / " into its name),
// then one column per period, dated or numbered by the header row.
class RowsHistory {
  public:
    explicit RowsHistory(HistoryLayout& layout) : layout_(layout) {}

    // Every row that holds anything, in order, the header first.
    void Take(const CsvRecord& record);
    // Reads the cells once the whole file has said how: the decimal separator, whether every
    // row ends in a delimiter and whether the last row is the total of those above. The layout
    // learns all three.
    SalesHistory Finish(const HistoryChoices& choices);

  private:
    SalesHistory Read(const HistoryChoices& choices, std::size_t end,
                      DecimalSeparator separator) const;
    std::vector<std::string_view> NameCells(std::size_t at) const;
    std::vector<std::string> Dates(std::size_t end, const HistoryChoices& choices,
                                   std::vector<std::size_t>& periodOfColumn) const;

    HistoryLayout& layout_;
    int headerRow_ = 0;
    std::size_t columns_ = 0;
    std::optional<RawCells> salesPoints_;  // the rows below the header, as written
};

}  // namespace sf
