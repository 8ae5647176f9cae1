#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/csv_records.h"

namespace sf {

// The cells of a history's rows as the file holds them, kept in one buffer until the whole
// file has said how they are read (the decimal separator, the dates, trailing delimiters).
class RawCells {
  public:
    explicit RawCells(std::size_t perRow) : perRow_(perRow) {}

    // The record's first perRow cells; one that has fewer is padded with empty ones.
    void Add(const CsvRecord& record);

    std::size_t Rows() const { return rows_.size(); }
    void DropLastRow();
    // The file's row number of the row kept at `at`.
    int Row(std::size_t at) const { return rows_[at]; }
    std::string_view Cell(std::size_t at, std::size_t column) const {
        const std::size_t index = at * perRow_ + column;
        const std::uint64_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(text_).substr(begin, ends_[index] - begin);
    }

  private:
    std::size_t perRow_;
    std::string text_;
    std::vector<std::uint64_t> ends_;  // where each cell ends in text_, beyond 4 GB too
    std::vector<int> rows_;
};

}  // namespace sf
