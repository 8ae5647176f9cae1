#include "export_reader/export_cells.h"

#include <charconv>
#include <cmath>

#include "results/number_cells.h"
#include "runtime/run_error.h"
#include "runtime/shown_text.h"

namespace sf {
namespace {

// Enough of a cell or line to recognise it in a message.
constexpr std::size_t kShownCharacters = 80;

}  // namespace

std::string Quoted(std::string_view text) {
    std::string shown;
    for (const char c : text.substr(0, kShownCharacters)) {
        switch (c) {
            case '\n':
                shown += "\\n";
                break;
            case '\r':
                shown += "\\r";
                break;
            default:
                shown += c;
        }
    }
    return "\"" + ShownEscaped(shown) + (text.size() > kShownCharacters ? "...\"" : "\"");
}

void RefuseCell(const CellPlace& place, const std::string& problem) {
    throw RunError(std::string(place.file) + ", row " + std::to_string(place.row) + ", column " +
                   std::string(place.column) + ": " + problem);
}

void RequireHeader(std::string_view file, const CsvRecord& record,
                   const std::vector<std::string_view>& columns) {
    RequireCellCount(file, record, columns.size());
    for (std::size_t at = 0; at < columns.size(); ++at) {
        if (record.cells[at] != columns[at]) {
            RefuseCell({file, record.row, columns[at]},
                       "the header holds " + Quoted(record.cells[at]) + " where an export has " +
                           Quoted(columns[at]));
        }
    }
}

void RequireCellCount(std::string_view file, const CsvRecord& record, std::size_t cells) {
    if (record.cellCount != cells) {
        throw RunError(std::string(file) + ", row " + std::to_string(record.row) + " has " +
                       (record.IsCut() ? "more than " + std::to_string(kMostCells)
                                       : std::to_string(record.cellCount)) +
                       " cells where an export writes " + std::to_string(cells));
    }
}

int WholeNumber(const CellPlace& place, const std::string& cell) {
    int value = -1;
    const char* end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data(), end, value);
    if (error != std::errc() || stop != end || value < 0 || value > 32767) {
        RefuseCell(place, Quoted(cell) + " is not a whole number from 0 to 32767");
    }
    return value;
}

std::optional<double> OptionalNumber(const CellPlace& place, const std::string& cell) {
    if (cell.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data(), end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        RefuseCell(place, Quoted(cell) + " is not a number with \".\" as its decimal point");
    }
    return value;
}

void RequireSame(const CellPlace& place, double held, double recomputed) {
    // Bits, not values: -0 and 0 print alike, but an export writes what its run computed.
    if (std::signbit(held) != std::signbit(recomputed) || held != recomputed) {
        RefuseCell(place, "the folder holds " + Quoted(ShortestText(held)) +
                              " where the rest of it gives " + Quoted(ShortestText(recomputed)));
    }
}

}  // namespace sf
