#include "history/csv_records.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/run_error.h"

namespace sf {
namespace {

// Every record handed over, or the refusal that ended the reading.
struct Records {
    std::vector<CsvRecord> records;
    std::string refusal;
};

Records Split(const std::string& text, char delimiter, const CsvColumns& kept,
              HistoryReading reading) {
    Records split;
    try {
        ForEachCsvRecord(
            text, delimiter, kept,
            [&](const CsvRecord& record) { split.records.push_back(record); }, reading);
    } catch (const RunError& refusal) {
        split.refusal = refusal.what();
    }
    return split;
}

void ExpectSameRecords(const std::string& text, char delimiter, const CsvColumns& kept) {
    const Records quick = Split(text, delimiter, kept, HistoryReading::quick);
    const Records plain = Split(text, delimiter, kept, HistoryReading::plain);
    const std::string shown = "delimiter '" + std::string(1, delimiter) + "', text \"" + text + '"';
    ASSERT_EQ(quick.refusal, plain.refusal) << shown;
    ASSERT_EQ(quick.records.size(), plain.records.size()) << shown;
    for (std::size_t at = 0; at < quick.records.size(); ++at) {
        const CsvRecord& mine = quick.records[at];
        const CsvRecord& library = plain.records[at];
        ASSERT_EQ(mine.row, library.row) << shown;
        ASSERT_EQ(mine.cellCount, library.cellCount) << shown << ", row " << mine.row;
        ASSERT_EQ(mine.cells, library.cells) << shown << ", row " << mine.row;
    }
}

// Lines split by hand are the records the library makes of them: over short texts of the
// characters that matter to it (blanks, the delimiters, line ends, quotes now and then), all
// cells kept or some.
TEST(CsvRecords, LinesSplitByHandAreTheLibrarysRecords) {
    const std::string common = "a1 \t,;\r\n";
    std::mt19937 generator(22);
    std::uniform_int_distribution<std::size_t> length(0, 24);
    std::uniform_int_distribution<std::size_t> pick(0, common.size() * 8);
    const CsvColumns keptSets[] = {{}, {{2, 0}}, {{1}}};
    for (const char delimiter : {',', ';', '\t'}) {
        for (const CsvColumns& kept : keptSets) {
            for (int trial = 0; trial < 4000; ++trial) {
                std::string text;
                for (std::size_t at = length(generator); at > 0; --at) {
                    const std::size_t chosen = pick(generator);
                    text += chosen < common.size() * 8 ? common[chosen % common.size()] : '"';
                }
                ExpectSameRecords(text, delimiter, kept);
            }
        }
    }
}

// Rows of a million cells and more: the sanitizer build leaves these to the optimised one, where
// a million cells take a second, not a minute.
TEST(CsvRecords, RowsTooWideAreCutAsTheLibraryCutsThem) {
    const CsvColumns keptSets[] = {{}, {{2, 0}}, {{1}}};
    for (const char delimiter : {',', ';', '\t'}) {
        for (const CsvColumns& kept : keptSets) {
            const std::string wideRow(kMostCells + 5, delimiter);
            for (const std::string& text : {wideRow + "\n1" + delimiter + "2\n", "1\n" + wideRow,
                                            std::string(kMostCells - 1, delimiter) + "\r\n" +
                                                std::string(kMostCells, delimiter),
                                            "\"a\n" + wideRow}) {
                ExpectSameRecords(text, delimiter, kept);
            }
        }
    }
}

}  // namespace
}  // namespace sf
