#pragma once

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// The rows and cells of a CSV text as the export writes it: no quoting, LF line ends.
inline std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        std::vector<std::string> cells;
        std::size_t cell = 0;
        for (std::size_t comma; (comma = line.find(',', cell)) != std::string::npos;
             cell = comma + 1) {
            cells.push_back(line.substr(cell, comma - cell));
        }
        cells.push_back(line.substr(cell));
        rows.push_back(cells);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return rows;
}

// A cell read back as a reader would (strtod); none for an empty cell.
inline std::optional<double> CellValue(const std::string& cell) {
    if (cell.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(cell.c_str(), &end);
    if (end != cell.c_str() + cell.size()) {
        return std::nullopt;
    }
    return value;
}

inline bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool SameBits(const std::optional<double>& a, double b) {
    return a && SameBits(*a, b);
}
