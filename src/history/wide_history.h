#pragma once

#include <string>
#include <vector>

#include "history/csv_records.h"
#include "state/sales_history.h"

namespace sf {

// The wide shape: one column per sales point, one row per period, and above them, if its first
// row holds no number, a row of names.
class WideHistory {
  public:
    explicit WideHistory(char delimiter) : delimiter_(delimiter) {}

    void Take(const CsvRecord& record);
    SalesHistory Finish() const;

  private:
    std::string CellName(int row, std::size_t column) const;

    char delimiter_;
    int firstRow_ = 0;
    std::size_t columns_ = 0;
    std::vector<std::string> names_;  // of the header row, if there is one
    int periods_ = 0;
    std::vector<double> byPeriod_;  // in the order of the file
};

}  // namespace sf
