#include "export_reader/season_table.h"

#include <cmath>
#include <string>

#include "export_reader/export_cells.h"
#include "history/csv_records.h"
#include "results/export_tables.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::string_view kFile = "season.csv";
constexpr std::size_t kColumns = 4;

// The whole number of a key cell must be the one that comes next.
void RequireNext(const CellPlace& place, const std::string& cell, int expected) {
    if (WholeNumber(place, cell) != expected) {
        RefuseCell(place, Quoted(cell) + " where an export has " + std::to_string(expected));
    }
}

}  // namespace

SeasonTable ReadSeasonTable(std::string_view text, int length, int salesPoints) {
    SeasonTable table{length, {}};
    bool first = true;
    int rows = 0;
    ForEachCsvRecord(text, ',', {}, [&](const CsvRecord& record) {
        if (first) {
            first = false;
            RequireHeader(kFile, record, {"sales_point", "name", "position", "index"});
            return;
        }
        RequireCellCount(kFile, record, kColumns);
        if (rows == salesPoints * length) {
            RefuseCell({kFile, record.row, "sales_point"},
                       "a row after the last: run.json counts " + std::to_string(salesPoints) +
                           " sales points and a season of " + std::to_string(length) + " periods");
        }
        RequireNext({kFile, record.row, "sales_point"}, record.cells[0], rows / length + 1);
        RequireNext({kFile, record.row, "position"}, record.cells[2], rows % length + 1);
        const CellPlace place{kFile, record.row, "index"};
        const std::optional<double> index = OptionalNumber(place, record.cells[3]);
        if (!index || !(*index >= 0.0)) {
            RefuseCell(place,
                       Quoted(record.cells[3]) + " where a season index of 0 or more belongs");
        }
        if (rows % length == 0) {
            table.indices.emplace_back();
        }
        table.indices.back().push_back(*index);
        ++rows;
    });
    if (rows != salesPoints * length) {
        throw RunError(std::string(kFile) + " holds " + std::to_string(rows) +
                       " rows of indices where run.json's " + std::to_string(salesPoints) +
                       " sales points and season of " + std::to_string(length) + " periods need " +
                       std::to_string(salesPoints * length));
    }
    return table;
}

}  // namespace sf
