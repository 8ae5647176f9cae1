#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sf {

// One record of a CSV text: its cells as the library unquoted them, and its row as a
// spreadsheet numbers it (blank lines count; a CR LF pair ends one row, not two).
struct CsvRecord {
    int row = 0;
    std::vector<std::string> cells;  // none for a blank line
};

// The delimiter of the first line that holds anything: a tab if it has one outside quotes, else
// a semicolon, else a comma. A semicolon wins over a comma, which may be a decimal comma then.
char DetectDelimiter(std::string_view text);

// Hands every record of text to onRecord in order, blank lines included. What onRecord throws
// stops the reading and comes out of this call.
void ForEachCsvRecord(std::string_view text, char delimiter,
                      const std::function<void(const CsvRecord&)>& onRecord);

}  // namespace sf
