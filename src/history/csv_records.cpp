#include "history/csv_records.h"

#include <csv.h>

#include <algorithm>
#include <exception>
#include <new>

#include "history/cell_text.h"
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

// A blank the library drops around a cell that is not quoted. A tab delimiter never stands
// inside a cell, so it is never taken for one.
bool IsBlankAround(char c) {
    return c == ' ' || c == '\t';
}

// The cell text[first, last) without the blanks around it, handed over as the library would.
void TakeTrimmed(std::string_view text, std::size_t first, std::size_t last, RecordReader& reader) {
    while (first < last && IsBlankAround(text[first])) {
        ++first;
    }
    while (last > first && IsBlankAround(text[last - 1])) {
        --last;
    }
    TakeCell(const_cast<char*>(text.data() + first), last - first, &reader);
}

// Past the last cell kept, the rest of a row is only counted, where that cannot cut it.
bool CountsOnly(RecordReader& reader, std::string_view rest, char delimiter) {
    const std::vector<std::size_t>& kept = reader.kept.columns;
    std::size_t& count = reader.record.cellCount;
    if (kept.empty() || count <= *std::ranges::max_element(kept)) {
        return false;
    }
    const auto cells = static_cast<std::size_t>(std::ranges::count(rest, delimiter)) + 1;
    if (count + cells > kMostCells) {
        // The row is cut beyond kMostCells cells, and none of those before is kept: they only
        // count, so the next cell taken is the one that cuts it (counting them one by one would
        // take the square of a long row's length).
        count = kMostCells;
        return false;
    }
    count += cells;
    return true;
}

// Hands over the records of the lines before the first quote as the library would: the cells
// between delimiters without the blanks around them, no cell for a line of blanks, and a line
// end of its own for each CR and LF. A last line without its end ends as the library's
// csv_fini ends it. What is left, from the line of the first quote on, is the library's to read.
std::string_view SplitQuoteFreeLines(std::string_view text, char delimiter, RecordReader& reader) {
    const std::size_t quote = text.find('"');
    // The end of the last whole line before the quote, or of the text when there is none.
    std::size_t split = text.size();
    if (quote != std::string_view::npos) {
        const std::size_t lineEnd = text.find_last_of("\r\n", quote);
        split = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
    }
    std::size_t at = 0;
    while (at < split && !reader.failure) {
        // The first CR or LF: the first LF, unless a CR comes before it.
        const std::size_t lf = std::min(text.find('\n', at), split);
        const std::size_t end = std::min(text.substr(0, lf).find('\r', at), lf);
        const std::string_view line = text.substr(at, end - at);
        std::size_t cellEnd = line.find(delimiter);
        const bool blank =
            cellEnd == std::string_view::npos && std::ranges::all_of(line, IsBlankAround);
        for (std::size_t cellStart = 0; !blank && !reader.failure && !reader.skipping;
             cellStart = cellEnd + 1, cellEnd = line.find(delimiter, cellStart)) {
            if (CountsOnly(reader, line.substr(cellStart), delimiter)) {
                break;
            }
            TakeTrimmed(line, cellStart, std::min(cellEnd, line.size()), reader);
            if (cellEnd == std::string_view::npos) {
                break;
            }
        }
        if (end == text.size()) {
            if (!blank) {
                EndRecord(-1, &reader);
            }
        } else {
            EndRecord(static_cast<unsigned char>(text[end]), &reader);
        }
        at = end + 1;
    }
    return at < text.size() ? text.substr(at) : std::string_view();
}

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
                      const std::function<void(const CsvRecord&)>& onRecord,
                      HistoryReading reading) {
    CsvParser parser;
    csv_set_delim(parser.get(), static_cast<unsigned char>(delimiter));
    RecordReader reader{kept, onRecord, {}, false, 0, nullptr};
    if (reading == HistoryReading::quick) {
        text = SplitQuoteFreeLines(text, delimiter, reader);
    }
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
