#include "history/history_cells.h"

#include "history/history_dates.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::size_t kShownCellLength = 30;

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

bool IsBlank(std::string_view cell) {
    return cell.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view WithoutBlanks(std::string_view cell) {
    const std::size_t first = cell.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
}

void RefuseNumber(const std::string& where, std::string_view cell, DecimalSeparator separator) {
    if (IsBlank(cell)) {
        throw RunError(where + ": the cell is empty");
    }
    throw RunError(where + ": " + ShownCell(cell) + " " + NotANumberWhy(cell, separator));
}

void RefuseDate(const std::string& where, std::string_view cell, DateOrderChoice order) {
    if (IsBlank(cell)) {
        throw RunError(where + ": the cell is empty");
    }
    throw RunError(where + ": " + ShownCell(cell) + " " + NotADateWhy(cell, order));
}

void RefuseNamesOnly(int row) {
    throw RunError(RowName(row) + " holds names only: there is no demand in the file");
}

std::string NameInCell(std::string_view cell) {
    return std::string(WithoutBlanks(cell));
}

std::string ShownCell(std::string_view cell) {
    std::string shown(cell.substr(0, kShownCellLength));
    if (shown.size() < cell.size()) {
        // Cut before a whole character, never inside one.
        while (!shown.empty() && IsUtf8Continuation(shown.back())) {
            shown.pop_back();
        }
        if (!shown.empty()) {
            shown.pop_back();
        }
        shown += "...";
    }
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return '"' + shown + '"';
}

std::string RowName(int row) {
    return "row " + std::to_string(row);
}

std::string CellCount(const CsvRecord& record) {
    if (record.IsCut()) {
        return "more than " + std::to_string(kMostCells) + " cells";
    }
    return std::to_string(record.cellCount) + (record.cellCount == 1 ? " cell" : " cells");
}

}  // namespace sf
