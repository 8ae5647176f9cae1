#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/csv_records.h"

namespace sf {

// Where a cell of an export table is, as a refusal names it.
struct CellPlace {
    std::string_view file;
    int row = 0;
    std::string_view column;
};

// A text of the folder as a message shows it: in quotes, at most 80 characters, and a line end,
// tab or other control character written as an escape, so that the message stays one line.
std::string Quoted(std::string_view text);

// A RunError: "series.csv, row 12, column demand: " + problem.
[[noreturn]] void RefuseCell(const CellPlace& place, const std::string& problem);

// The header row must name exactly these columns, in this order.
void RequireHeader(std::string_view file, const CsvRecord& record,
                   const std::vector<std::string_view>& columns);
// A row of the table must have exactly this many cells.
void RequireCellCount(std::string_view file, const CsvRecord& record, std::size_t cells);

// A cell as an export writes it: a whole number from 0 to 32767; a finite number in the
// shortest text that reads back to it, "." as decimal point, or empty.
int WholeNumber(const CellPlace& place, const std::string& cell);
std::optional<double> OptionalNumber(const CellPlace& place, const std::string& cell);

// The value the file holds must be, bit for bit, the one recomputed from the rest of it.
void RequireSame(const CellPlace& place, double held, double recomputed);

}  // namespace sf
