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

// The lines of a text, each without its line end.
std::vector<std::string_view> Lines(std::string_view text) {
    if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    return text.empty() ? std::vector<std::string_view>() : Split(text, '\n');
}

// The first line that differs, from 0; none where a text has ended (both: the texts differ
// in their last line end only).
struct LineDifference {
    std::size_t line = 0;
    std::optional<std::string_view> held;
    std::optional<std::string_view> recomputed;
};

std::optional<LineDifference> FirstDifference(std::string_view held, std::string_view recomputed) {
    if (held == recomputed) {
        return std::nullopt;
    }
    const std::vector<std::string_view> heldLines = Lines(held);
    const std::vector<std::string_view> recomputedLines = Lines(recomputed);
    std::size_t line = 0;
    while (line < heldLines.size() && line < recomputedLines.size() &&
           heldLines[line] == recomputedLines[line]) {
        ++line;
    }
    const auto at = [line](const std::vector<std::string_view>& lines) {
        return line < lines.size() ? std::optional(lines[line]) : std::nullopt;
    };
    if (line == heldLines.size() && line == recomputedLines.size()) {
        return LineDifference{line == 0 ? 0 : line - 1, std::nullopt, std::nullopt};
    }
    return LineDifference{line, at(heldLines), at(recomputedLines)};
}

std::string Holds(const LineDifference& difference) {
    if (!difference.held && !difference.recomputed) {
        return "the last line ends otherwise than an export ends it";
    }
    if (!difference.held) {
        return "the file ends where the rest of the folder gives " + Quoted(*difference.recomputed);
    }
    if (!difference.recomputed) {
        return "the folder holds " + Quoted(*difference.held) +
               " after the end the rest of it gives";
    }
    return "the folder holds " + Quoted(*difference.held) + " where the rest of it gives " +
           Quoted(*difference.recomputed);
}

}  // namespace

void RequireSameTable(std::string_view file, std::string_view held, std::string_view recomputed) {
    const std::optional<LineDifference> difference = FirstDifference(held, recomputed);
    if (!difference) {
        return;
    }
    const std::string place = std::string(file) + ", row " + std::to_string(difference->line + 1);
    if (difference->held && difference->recomputed) {
        // The column by the header of the table as written anew. Names in quotes may hold
        // commas; the cells are split plainly, which names the right column wherever they do not.
        const std::vector<std::string_view> header =
            Split(recomputed.substr(0, recomputed.find('\n')), ',');
        const std::vector<std::string_view> heldCells = Split(*difference->held, ',');
        const std::vector<std::string_view> recomputedCells = Split(*difference->recomputed, ',');
        std::size_t column = 0;
        while (column < heldCells.size() && column < recomputedCells.size() &&
               heldCells[column] == recomputedCells[column]) {
            ++column;
        }
        if (column < header.size() && column < heldCells.size() &&
            column < recomputedCells.size()) {
            throw RunError(place + ", column " + std::string(header[column]) + ": " +
                           Holds({difference->line, heldCells[column], recomputedCells[column]}));
        }
    }
    throw RunError(place + ": " + Holds(*difference));
}

void RequireSameLines(std::string_view file, std::string_view held, std::string_view recomputed) {
    if (const std::optional<LineDifference> difference = FirstDifference(held, recomputed)) {
        throw RunError(std::string(file) + ", line " + std::to_string(difference->line + 1) + ": " +
                       Holds(*difference));
    }
}

}  // namespace sf
