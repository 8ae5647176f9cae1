#include "results/export_tables.h"

#include <algorithm>
#include <charconv>

#include "results/number_cells.h"
#include "results/summary_columns.h"
#include "results/tradeoff_columns.h"

namespace sf {
namespace {

// The header row: the key columns, then the table's.
template <typename Columns>
std::string HeaderRow(std::string_view keys, const Columns& columns) {
    std::string header(keys);
    for (const auto& column : columns) {
        header += ',';
        header += column.name;
    }
    header += '\n';
    return header;
}

// The table's cells of one row after its keys.
template <typename Columns, typename Row>
void AppendCells(std::string& csv, const Columns& columns, const Row& row) {
    for (const auto& column : columns) {
        csv += ',';
        AppendCell(csv, column.value(row));
    }
    csv += '\n';
}

}  // namespace

std::string SummaryCsv(const RunFigures& figures) {
    std::string csv = HeaderRow("sales_point", kSummaryColumns);
    for (std::size_t at = 0; at < figures.salesPoints.size(); ++at) {
        csv += std::to_string(at + 1);
        AppendCells(csv, kSummaryColumns, figures.salesPoints[at]);
    }
    csv += "all";
    AppendCells(csv, kSummaryColumns, figures.all);
    return csv;
}

std::string SeriesCsv(const RunSeries& series) {
    std::string csv = HeaderRow("sales_point,period", kSeriesColumns);
    // About 90 characters a row.
    csv.reserve(csv.size() + series.salesPoints.size() *
                                 static_cast<std::size_t>(std::max(series.periodNumber, 0)) * 96);
    // Each row is put together in place and appended whole: the file has some 60,000 of them.
    char row[24 + kSeriesColumns.size() * (kCellRoom + 1)];
    for (std::size_t at = 0; at < series.salesPoints.size(); ++at) {
        const SalesPointSeries& point = series.salesPoints[at];
        for (int t = 1; t <= series.periodNumber; ++t) {
            char* end = std::to_chars(row, row + 11, at + 1).ptr;
            *end++ = ',';
            end = std::to_chars(end, end + 11, t).ptr;
            for (const SeriesColumn& column : kSeriesColumns) {
                *end++ = ',';
                end = WriteCell(end, (point.*column.series).At(t));
            }
            *end++ = '\n';
            csv.append(row, end);
        }
    }
    return csv;
}

std::string TradeoffCsv(const std::vector<TradeoffRow>& rows) {
    std::string csv = HeaderRow("tau", kTradeoffColumns);
    for (const TradeoffRow& row : rows) {
        AppendCell(csv, row.tau);
        AppendCells(csv, kTradeoffColumns, row);
    }
    return csv;
}

}  // namespace sf
