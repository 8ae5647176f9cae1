#include "history/csv_records.h"

#include <csv.h>

#include <algorithm>
#include <exception>
#include <new>

#include "history/history_cells.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

// Small enough that a failure found early stops the reading soon.
constexpr std::size_t kPieceSize = std::size_t{1} << 16;
// The library's state inside a field it has begun (its FIELD_BEGUN); with `quoted` set, the
// field's opening quote has not been closed.
constexpr int kFieldBegun = 2;

// What the library's callbacks share. Nothing may be thrown through the library's C code, so
// the first failure is kept here and every later callback does nothing.
struct RecordReader {
    const CsvColumns& kept;
    const std::function<void(const CsvRecord&)>& onRecord;
    CsvRecord record;
    bool skipping = false;  // the rest of a row that was cut
    int lastTerminator = 0;
    std::exception_ptr failure;

    void Hand() {
        try {
            onRecord(record);
        } catch (...) {
            failure = std::current_exception();
        }
    }
};

// Where a cell of the given column stands among the kept cells; false for a cell not kept.
bool KeptAt(const CsvColumns& kept, std::size_t column, std::size_t& at) {
    if (kept.columns.empty()) {
        at = column;
        return true;
    }
    const auto found = std::ranges::find(kept.columns, column);
    at = static_cast<std::size_t>(found - kept.columns.begin());
    return found != kept.columns.end();
}

void TakeCell(void* cell, std::size_t size, void* context) {
    auto& reader = *static_cast<RecordReader*>(context);
    if (reader.failure || reader.skipping) {
        return;
    }
    const std::size_t column = reader.record.cellCount++;
    if (reader.record.IsCut()) {
        // Handed over at once, with the row it is on: nothing of it is needed beyond this.
        ++reader.record.row;
        reader.Hand();
        --reader.record.row;
        reader.skipping = true;
        return;
    }
    try {
        std::size_t at = 0;
        if (!KeptAt(reader.kept, column, at)) {
            return;
        }
        // Cells are assigned over those of the last record, whose buffers then serve again. An
        // empty cell may come without a buffer behind it.
        const char* text = size == 0 ? "" : static_cast<const char*>(cell);
        std::vector<std::string>& cells = reader.record.cells;
        if (at >= cells.size()) {
            cells.resize(at + 1);
        }
        cells[at].assign(text, size);
    } catch (...) {
        reader.failure = std::current_exception();
    }
}

void EndRecord(int terminator, void* context) {
    auto& reader = *static_cast<RecordReader*>(context);
    if (reader.failure) {
        return;
    }
    CsvRecord& record = reader.record;
    // Every line break is reported, so that blank lines are seen; the LF of a CR LF pair
    // belongs to the row its CR ended.
    const bool endsNoRow =
        record.cellCount == 0 && terminator == CSV_LF && reader.lastTerminator == CSV_CR;
    reader.lastTerminator = terminator;
    if (endsNoRow) {
        return;
    }
    ++record.row;
    if (!reader.skipping) {
        const std::size_t kept =
            reader.kept.columns.empty() ? record.cellCount : reader.kept.columns.size();
        record.cells.resize(record.cellCount == 0 ? 0 : kept);
        reader.Hand();
    }
    reader.skipping = false;
    record.cellCount = 0;
    for (std::string& cell : record.cells) {
        cell.clear();  // a shorter row leaves no text of this one in its kept cells
    }
}

class CsvParser {
  public:
    CsvParser() {
        if (csv_init(&parser_, CSV_REPALL_NL) != 0) {
            throw std::bad_alloc();
        }
    }
    ~CsvParser() { csv_free(&parser_); }
    CsvParser(const CsvParser&) = delete;
    CsvParser& operator=(const CsvParser&) = delete;

    csv_parser* get() { return &parser_; }
    bool InOpenQuote() const { return parser_.pstate == kFieldBegun && parser_.quoted != 0; }

  private:
    csv_parser parser_{};
};

}  // namespace

char DetectDelimiter(std::string_view text) {
    bool quoted = false;
    bool content = false;
    bool tab = false;
    bool semicolon = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\r' || c == '\n')) {
            if (content) {
                break;
            }
            continue;
        } else if (!quoted) {
            tab = tab || c == '\t';
            semicolon = semicolon || c == ';';
        }
        content = content || c != ' ';
    }
    if (tab) {
        return '\t';
    }
    return semicolon ? ';' : ',';
}

void ForEachCsvRecord(std::string_view text, char delimiter, const CsvColumns& kept,
                      const std::function<void(const CsvRecord&)>& onRecord) {
    CsvParser parser;
    csv_set_delim(parser.get(), static_cast<unsigned char>(delimiter));
    RecordReader reader{kept, onRecord, {}, false, 0, nullptr};
    while (!text.empty() && !reader.failure) {
        const std::size_t size = std::min(text.size(), kPieceSize);
        if (csv_parse(parser.get(), text.data(), size, TakeCell, EndRecord, &reader) != size) {
            // Without strict mode the library fails only for want of memory.
            throw std::bad_alloc();
        }
        text.remove_prefix(size);
    }
    if (!reader.failure && parser.InOpenQuote() && !reader.skipping) {
        // The library would take the rest of the file as one cell.
        throw RunError(RowName(reader.record.row + 1) + ", column " +
                       std::to_string(reader.record.cellCount + 1) +
                       ": a quote opens the cell and none closes it before the end of the file");
    }
    if (!reader.failure) {
        csv_fini(parser.get(), TakeCell, EndRecord, &reader);
    }
    if (reader.failure) {
        std::rethrow_exception(reader.failure);
    }
}

}  // namespace sf
