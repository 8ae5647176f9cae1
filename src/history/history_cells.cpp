#include "history/history_cells.h"

#include "runtime/number_locale.h"
#include "runtime/run_error.h"
#include "runtime/text_to_number.h"

namespace sf {
namespace {

constexpr std::size_t kShownCellLength = 30;
const NumberLocale kDecimalPoint{".", ""};
const NumberLocale kDecimalComma{",", ""};

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

bool IsBlankCell(std::string_view cell) {
    return cell.find_first_not_of(" \t") == std::string_view::npos;
}

std::optional<double> HistoryNumber(std::string_view cell, char delimiter) {
    std::optional<double> number = TextToDouble(cell, kDecimalPoint);
    if (!number && delimiter != ',') {
        number = TextToDouble(cell, kDecimalComma);
    }
    return number;
}

void RefuseCell(const std::string& where, std::string_view cell, char delimiter) {
    if (IsBlankCell(cell)) {
        throw RunError(where + ": the cell is empty");
    }
    std::string_view reason = NotANumberReason(cell, kDecimalPoint);
    if (delimiter != ',' && reason == kNotANumber) {
        reason = NotANumberReason(cell, kDecimalComma);
    }
    throw RunError(where + ": " + ShownCell(cell) + " " + std::string(reason));
}

void RefuseNamesOnly(int row) {
    throw RunError(RowName(row) + " holds names only: there is no demand in the file");
}

std::string NameInCell(std::string_view cell) {
    if (IsBlankCell(cell)) {
        return "";
    }
    const std::size_t from = cell.find_first_not_of(" \t");
    return std::string(cell.substr(from, cell.find_last_not_of(" \t") - from + 1));
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
