#pragma once

#include <string>
#include <vector>

#include "history/csv_records.h"
#include "state/sales_history.h"

namespace sf {

// The tidy shape of an exported series: a header row naming the columns, then one row per sales
// point and period in any order; only the sales_point, period and demand columns are read. A row
// without demand after the last period with demand is skipped: an export closes each sales
// point with the coming periods, whose demand is not known yet.
class TidyHistory {
  public:
    // Whether a file's first row is such a header: it names a sales_point or a period column.
    static bool IsHeader(const CsvRecord& record);

    TidyHistory(const CsvRecord& header, char delimiter);

    // The cells of a row that Take reads: sales point, period and demand, in this order.
    CsvColumns KeptColumns() const;
    void Take(const CsvRecord& record);
    SalesHistory Finish() const;

  private:
    // A row without demand: skipped after the periods with demand, refused among them.
    struct BlankRow {
        int row = 0;
        int salesPoint = 0;
        int period = 0;
    };

    [[noreturn]] void RefuseBlank(const BlankRow& blank) const;
    int ReadNumbering(const CsvRecord& record, std::size_t kept, std::size_t column,
                      const char* name, const char* counted, int limit) const;

    char delimiter_;
    int headerRow_;
    std::size_t columns_;
    std::size_t salesPointColumn_ = 0;
    std::size_t periodColumn_ = 0;
    std::size_t demandColumn_ = 0;
    int salesPoints_ = 0;
    int periods_ = 0;
    int rows_ = 0;
    // By sales point and period, as in the run state: the demand and the row that gave it (0:
    // none yet), and the first row that gave it no demand.
    std::vector<double> demand_;
    std::vector<int> rowOf_;
    std::vector<int> blankRowOf_;
    BlankRow firstBlank_;
};

}  // namespace sf
