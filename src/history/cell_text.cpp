#include "history/cell_text.h"

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

}  // namespace sf
