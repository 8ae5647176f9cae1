#include "history/history_reader.h"

#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "history/csv_records.h"
#include "history/history_cells.h"
#include "history/tidy_history.h"
#include "history/wide_history.h"
#include "runtime/input_file.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Far more than 100 sales points by 600 periods take in either shape, however many other
// columns a tidy file carries: a larger file is no sales history.
constexpr std::size_t kLargestFile = std::size_t{64} << 20;

}  // namespace

SalesHistory ParseSalesHistory(std::string_view bytes) {
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        throw RunError("this is not a text file: byte " + std::to_string(nul + 1) +
                       " is a NUL byte");
    }
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    const char delimiter = DetectDelimiter(bytes);
    std::optional<WideHistory> wide;
    std::optional<TidyHistory> tidy;
    CsvColumns kept;
    int blankRow = 0;  // the first blank line after the first row
    ForEachCsvRecord(bytes, delimiter, kept, [&](const CsvRecord& record) {
        const bool started = wide || tidy;
        if (record.cellCount == 0) {
            // Blank lines before and after the rows are no periods; among them they would be.
            if (started && blankRow == 0) {
                blankRow = record.row;
            }
            return;
        }
        if (blankRow != 0) {
            throw RunError(RowName(blankRow) + " is empty");
        }
        if (tidy) {
            tidy->Take(record);
        } else if (wide) {
            wide->Take(record);
        } else if (TidyHistory::IsHeader(record)) {
            tidy.emplace(record, delimiter);
            kept = tidy->KeptColumns();  // of a long table, only the three cells it reads
        } else {
            wide.emplace(delimiter);
            wide->Take(record);
        }
    });
    if (tidy) {
        return tidy->Finish();
    }
    if (wide) {
        return wide->Finish();
    }
    throw RunError("the file is empty");
}

SalesHistory ReadSalesHistory(const std::filesystem::path& path, StandardInput standardInput) {
    const std::string named = "The sales history \"" + path.string() + "\"";
    try {
        std::optional<std::string> bytes;
        try {
            bytes = ReadInputFile(path, kLargestFile, standardInput);
        } catch (const RunError& refusal) {
            throw RunError(named + " " + refusal.what());
        }
        if (!bytes) {
            throw RunError(named +
                           " is larger than 64 MB, more than any sales history of 100 sales "
                           "points and 600 periods needs");
        }
        SalesHistory history;
        try {
            history = ParseSalesHistory(*bytes);
        } catch (const RunError& refusal) {
            throw RunError(named + ": " + refusal.what());
        }
        history.name = path.filename().string();
        history.file = path;
        return history;
    } catch (const std::bad_alloc&) {
        throw RunError(named + " could not be read: not enough memory");
    }
}

}  // namespace sf
