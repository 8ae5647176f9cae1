#include "results/number_cells.h"

#include <charconv>
#include <cmath>

namespace sf {

char* WriteCell(char* at, double value) {
    if (!std::isfinite(value)) {
        return at;
    }
    return std::to_chars(at, at + kCellRoom, value).ptr;
}

char* WriteCell(char* at, const std::optional<double>& value) {
    return value ? WriteCell(at, *value) : at;
}

void AppendCell(std::string& row, double value) {
    char text[kCellRoom];
    row.append(text, WriteCell(text, value));
}

void AppendCell(std::string& row, const std::optional<double>& value) {
    if (value) {
        AppendCell(row, *value);
    }
}

std::string ShortestText(double value) {
    std::string text;
    AppendCell(text, value);
    return text;
}

}  // namespace sf
