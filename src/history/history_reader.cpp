#include "history/history_reader.h"

#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "history/csv_records.h"
#include "history/history_cells.h"
#include "history/history_text.h"
#include "history/rows_history.h"
#include "history/tidy_history.h"
#include "history/wide_history.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

// The record with only the cells of the columns kept, as the reading hands them once it knows.
CsvRecord KeptCells(const CsvRecord& record, const CsvColumns& kept) {
    CsvRecord cells{record.row, record.cellCount, {}};
    for (const std::size_t column : kept.columns) {
        cells.cells.push_back(column < record.cells.size() ? record.cells[column] : "");
    }
    return cells;
}

}  // namespace

SalesHistory ParseSalesHistory(std::string_view bytes, const HistoryChoices& choices,
                               HistoryLayout* found, HistoryReading reading) {
    HistoryLayout ownLayout;
    HistoryLayout& layout = found != nullptr ? *found : ownLayout;
    layout = {};
    std::string converted;
    HistoryEncoding encoding = HistoryEncoding::utf8;
    const std::string_view text = HistoryText(bytes, choices.encoding, converted, encoding);
    layout.encoding = encoding;
    layout.delimiter = DetectDelimiter(text);
    std::vector<CsvRecord> firstRows;
    std::optional<WideHistory> wide;
    std::optional<RowsHistory> rows;
    std::optional<TidyHistory> tidy;
    CsvColumns kept;
    // Once the first rows have said how the file is read, they are read as all later ones.
    const auto decide = [&] {
        DecideLayout(firstRows, choices, layout);
        if (layout.shape == HistoryShape::longTable) {
            tidy.emplace(layout, choices, reading);
            kept = tidy->KeptColumns();  // of a long table, only the three cells it reads
            for (const CsvRecord& record : firstRows) {
                tidy->Take(KeptCells(record, kept));
            }
        } else if (layout.shape == HistoryShape::rows) {
            rows.emplace(layout);
            for (const CsvRecord& record : firstRows) {
                rows->Take(record);
            }
        } else {
            wide.emplace(layout);
            for (const CsvRecord& record : firstRows) {
                wide->Take(record);
            }
        }
    };
    int blankRow = 0;  // the first blank line after the first row
    ForEachCsvRecord(
        text, layout.delimiter, kept,
        [&](const CsvRecord& record) {
            if (record.cellCount == 0) {
                // Blank lines before and after the rows are no periods; among them they would be.
                if (!firstRows.empty() && blankRow == 0) {
                    blankRow = record.row;
                }
                return;
            }
            if (blankRow != 0) {
                throw RunError(RowName(blankRow) + " is empty");
            }
            if (tidy) {
                tidy->Take(record);
            } else if (rows) {
                rows->Take(record);
            } else if (wide) {
                wide->Take(record);
            } else {
                firstRows.push_back(record);
                if (firstRows.size() == kLayoutRows) {
                    decide();
                }
            }
        },
        reading);
    if (firstRows.empty()) {
        throw RunError("the file is empty");
    }
    if (!tidy && !rows && !wide) {
        decide();
    }
    SalesHistory history = tidy   ? tidy->Finish()
                           : rows ? rows->Finish(choices)
                                  : wide->Finish(choices);
    history.choices = choices;
    return history;
}

SalesHistory ReadSalesHistory(const std::filesystem::path& path, const HistoryChoices& choices,
                              StandardInput standardInput, HistoryLayout* found) {
    const std::string named = "The sales history \"" + path.string() + "\"";
    try {
        std::optional<std::string> bytes;
        // Bytes that cannot be text end the reading at once, as an endless stream would not.
        std::string notText;
        const auto checkText = [&notText](std::string_view read, std::size_t fresh) {
            try {
                CheckBytesRead(read, fresh);
            } catch (const RunError& refusal) {
                notText = refusal.what();
                throw;
            }
        };
        try {
            bytes = ReadInputFile(path, kLargestHistoryFile, standardInput, checkText);
        } catch (const RunError& refusal) {
            throw RunError(notText.empty() ? named + " " + refusal.what() : named + ": " + notText);
        }
        if (!bytes) {
            throw RunError(named +
                           " is larger than 8 GB, more than the sales history of any catalogue "
                           "of 10,000 periods needs");
        }
        SalesHistory history;
        try {
            history = ParseSalesHistory(*bytes, choices, found);
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

SalesHistory ReadScenarioHistory(const HistorySource& source,
                                 const std::filesystem::path& scenarioFile) {
    const std::string named = "The sales history \"" + source.path.string() +
                              "\" of the scenario file \"" + scenarioFile.string() + "\"";
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(source.path, error))) {
        throw RunError(named + " is gone: no file has that name now");
    }
    try {
        return ReadSalesHistory(source.path, source.choices);
    } catch (const RunError& refusal) {
        throw RunError(std::string(refusal.what()) + " (it is named by the scenario file \"" +
                       scenarioFile.string() + "\")");
    }
}

}  // namespace sf
