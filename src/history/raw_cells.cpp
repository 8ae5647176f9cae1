#include "history/raw_cells.h"

namespace sf {

void RawCells::Add(const CsvRecord& record) {
    for (std::size_t column = 0; column < perRow_; ++column) {
        if (column < record.cells.size()) {
            text_ += record.cells[column];
        }
        ends_.push_back(static_cast<std::uint64_t>(text_.size()));
    }
    rows_.push_back(record.row);
}

void RawCells::DropLastRow() {
    ends_.resize(ends_.size() - perRow_);
    text_.resize(ends_.empty() ? 0 : ends_.back());
    rows_.pop_back();
}

}  // namespace sf
