#include "export_reader/file_difference.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "export_reader/export_cells.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

struct LineDifference {
    std::size_t line = 0;  // from 0
    std::string_view held;
    std::string_view recomputed;
};

// The first line that differs; none when the texts are the same.
std::optional<LineDifference> FirstDifference(std::string_view held, std::string_view recomputed) {
    if (held == recomputed) {
        return std::nullopt;
    }
    const std::vector<std::string_view> heldLines = Split(held, '\n');
    const std::vector<std::string_view> recomputedLines = Split(recomputed, '\n');
    std::size_t line = 0;
    while (line < heldLines.size() && line < recomputedLines.size() &&
           heldLines[line] == recomputedLines[line]) {
        ++line;
    }
    const auto at = [line](const std::vector<std::string_view>& lines) {
        return line < lines.size() ? lines[line] : std::string_view();
    };
    return LineDifference{line, at(heldLines), at(recomputedLines)};
}

std::string Holds(std::string_view held, std::string_view recomputed) {
    return "the folder holds " + Quoted(held) + " where the rest of it gives " + Quoted(recomputed);
}

}  // namespace

void RequireSameTable(std::string_view file, std::string_view held, std::string_view recomputed) {
    const std::optional<LineDifference> difference = FirstDifference(held, recomputed);
    if (!difference) {
        return;
    }
    std::string place = std::string(file) + ", row " + std::to_string(difference->line + 1);
    // The column by the header of the table as written anew. Names in quotes may hold commas;
    // the cells are split plainly, which names the right column wherever they do not.
    const std::vector<std::string_view> header =
        Split(recomputed.substr(0, recomputed.find('\n')), ',');
    const std::vector<std::string_view> heldCells = Split(difference->held, ',');
    const std::vector<std::string_view> recomputedCells = Split(difference->recomputed, ',');
    std::size_t column = 0;
    while (column < heldCells.size() && column < recomputedCells.size() &&
           heldCells[column] == recomputedCells[column]) {
        ++column;
    }
    if (!difference->held.empty() && !difference->recomputed.empty() && column < header.size() &&
        column < heldCells.size() && column < recomputedCells.size()) {
        throw RunError(place + ", column " + std::string(header[column]) + ": " +
                       Holds(heldCells[column], recomputedCells[column]));
    }
    throw RunError(place + ": " + Holds(difference->held, difference->recomputed));
}

void RequireSameLines(std::string_view file, std::string_view held, std::string_view recomputed) {
    if (const std::optional<LineDifference> difference = FirstDifference(held, recomputed)) {
        throw RunError(std::string(file) + ", line " + std::to_string(difference->line + 1) + ": " +
                       Holds(difference->held, difference->recomputed));
    }
}

}  // namespace sf
