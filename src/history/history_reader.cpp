#include "history/history_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "history/csv_records.h"
#include "history/history_cells.h"
#include "history/tidy_history.h"
#include "history/wide_history.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Far more than 100 sales points by 600 periods take in either shape, however many other
// columns a tidy file carries: a larger file is no sales history.
constexpr std::size_t kLargestFile = std::size_t{64} << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string FileProblem(const std::string& named, const char* what, int error) {
    return named + " " + what + (error != 0 ? std::string(": ") + std::strerror(error) : "");
}

[[noreturn]] void TooLarge(const std::string& named) {
    throw RunError(named +
                   " is larger than 64 MB, more than any sales history of 100 sales "
                   "points and 600 periods needs");
}

std::string ReadWholeFile(const std::filesystem::path& path, const std::string& named) {
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw RunError(FileProblem(named, "could not be read", errno));
    }
    // Refused before reading where the size is known; the reading checks it again for a file
    // that grows or has no size, such as a pipe.
    std::error_code noSize;
    const std::uintmax_t size = std::filesystem::file_size(path, noSize);
    if (!noSize && size > kLargestFile) {
        TooLarge(named);
    }
    std::string bytes;
    bytes.reserve(noSize ? 0 : size);
    char piece[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(piece, 1, sizeof(piece), file.get())) > 0) {
        bytes.append(piece, got);
        if (bytes.size() > kLargestFile) {
            TooLarge(named);
        }
    }
    if (std::ferror(file.get()) != 0) {
        throw RunError(FileProblem(named, "could not be read", errno));
    }
    return bytes;
}

}  // namespace

SalesHistory ParseSalesHistory(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    const char delimiter = DetectDelimiter(bytes);
    std::optional<WideHistory> wide;
    std::optional<TidyHistory> tidy;
    int blankRow = 0;  // the first blank line after the first row
    ForEachCsvRecord(bytes, delimiter, [&](const CsvRecord& record) {
        const bool started = wide || tidy;
        if (record.cells.empty()) {
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

SalesHistory ReadSalesHistory(const std::filesystem::path& path) {
    const std::string named = "The sales history \"" + path.string() + "\"";
    try {
        const std::string bytes = ReadWholeFile(path, named);
        SalesHistory history;
        try {
            history = ParseSalesHistory(bytes);
        } catch (const RunError& refusal) {
            throw RunError(named + ": " + refusal.what());
        }
        history.name = path.filename().string();
        return history;
    } catch (const std::bad_alloc&) {
        throw RunError(named + " could not be read: not enough memory");
    }
}

}  // namespace sf
