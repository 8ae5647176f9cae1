#include "history/csv_records.h"

#include <csv.h>

#include <algorithm>
#include <exception>
#include <new>

namespace sf {
namespace {

// Small enough that a failure found early stops the reading soon.
constexpr std::size_t kPieceSize = std::size_t{1} << 16;

// What the library's callbacks share. Nothing may be thrown through the library's C code, so
// the first failure is kept here and every later callback does nothing.
struct RecordReader {
    const std::function<void(const CsvRecord&)>& onRecord;
    CsvRecord record;
    std::size_t cellCount = 0;  // of the record being read; its cells keep their buffers
    int lastTerminator = 0;
    std::exception_ptr failure;
};

void TakeCell(void* cell, std::size_t size, void* context) {
    auto& reader = *static_cast<RecordReader*>(context);
    if (reader.failure) {
        return;
    }
    try {
        // Cells are assigned over those of the last record, whose buffers then serve again. An
        // empty cell may come without a buffer behind it.
        const char* text = size == 0 ? "" : static_cast<const char*>(cell);
        std::vector<std::string>& cells = reader.record.cells;
        if (reader.cellCount < cells.size()) {
            cells[reader.cellCount].assign(text, size);
        } else {
            cells.emplace_back(text, size);
        }
        ++reader.cellCount;
    } catch (...) {
        reader.failure = std::current_exception();
    }
}

void EndRecord(int terminator, void* context) {
    auto& reader = *static_cast<RecordReader*>(context);
    if (reader.failure) {
        return;
    }
    // Every line break is reported, so that blank lines are seen; the LF of a CR LF pair
    // belongs to the row its CR ended.
    const bool endsNoRow =
        reader.cellCount == 0 && terminator == CSV_LF && reader.lastTerminator == CSV_CR;
    reader.lastTerminator = terminator;
    if (endsNoRow) {
        return;
    }
    ++reader.record.row;
    reader.record.cells.resize(reader.cellCount);
    reader.cellCount = 0;
    try {
        reader.onRecord(reader.record);
    } catch (...) {
        reader.failure = std::current_exception();
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

void ForEachCsvRecord(std::string_view text, char delimiter,
                      const std::function<void(const CsvRecord&)>& onRecord) {
    CsvParser parser;
    csv_set_delim(parser.get(), static_cast<unsigned char>(delimiter));
    RecordReader reader{onRecord, {}, 0, 0, nullptr};
    while (!text.empty() && !reader.failure) {
        const std::size_t size = std::min(text.size(), kPieceSize);
        if (csv_parse(parser.get(), text.data(), size, TakeCell, EndRecord, &reader) != size) {
            // Without strict mode the library fails only for want of memory.
            throw std::bad_alloc();
        }
        text.remove_prefix(size);
    }
    if (!reader.failure) {
        csv_fini(parser.get(), TakeCell, EndRecord, &reader);
    }
    if (reader.failure) {
        std::rethrow_exception(reader.failure);
    }
}

}  // namespace sf
