#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sf {

// The most cells a row of a sales history holds: a wide history's row of a million sales points
// (a catalogue's articles side by side), far more than ten name columns and 10,000 periods. A
// row with more is cut there, so that a file of endless delimiters costs no more memory.
inline constexpr std::size_t kMostCells = 1'000'002;

// Far more than 100 sales points by 600 periods take in any export table of ours, however many
// other columns it carries: a larger file is no export table.
inline constexpr std::size_t kLargestCsvFile = std::size_t{64} << 20;
// A catalogue's sales history: some 30,000 articles by 2,000 days in rows or wide take a few
// hundred megabytes, a long table of them a few gigabytes.
inline constexpr std::size_t kLargestHistoryFile = std::size_t{8} << 30;

// One record of a CSV text: its row as a spreadsheet numbers it (blank lines count; a CR LF pair
// ends one row, not two), how many cells it has (kMostCells + 1 for a row that was cut) and the
// cells kept, as the library unquoted them.
struct CsvRecord {
    int row = 0;
    std::size_t cellCount = 0;
    std::vector<std::string> cells;  // none for a blank line

    bool IsCut() const { return cellCount > kMostCells; }
};

// Which cells of the coming records are kept: every cell while `columns` is empty; else the
// cells of these columns only, in this order (an empty text where a row is too short).
struct CsvColumns {
    std::vector<std::size_t> columns;
};

// How a file is read. Quick: the lines before the first quote are split by hand, as the library
// splits them, and a long table's rows are read as they come where the decimal separator is
// known before them. Plain: the library splits every line, and a long table's rows are read
// once all are in. Both say the same of every file; the plain reading is what the quick one is
// held to.
enum class HistoryReading { quick, plain };

// The delimiter of the first line that holds anything: a tab if it has one outside quotes, else
// a semicolon, else a comma. A semicolon wins over a comma, which may be a decimal comma then.
char DetectDelimiter(std::string_view text);

// Hands every record of text to onRecord in order, blank lines included; a record that is cut
// is handed over as soon as it is, and the rest of its row is skipped. `kept` may change between
// records. What onRecord throws stops the reading and comes out of this call; so does a quote
// that is never closed, as a RunError naming its row and column.
void ForEachCsvRecord(std::string_view text, char delimiter, const CsvColumns& kept,
                      const std::function<void(const CsvRecord&)>& onRecord,
                      HistoryReading reading = HistoryReading::quick);

}  // namespace sf
