// The dates and the text of a sales history as shop systems and spreadsheets write them.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "history/history_dates.h"
#include "history/history_reading.h"

namespace sf {
namespace {

HistoryChoices DateOrderOf(DateOrderChoice order) {
    HistoryChoices choices;
    choices.dateOrder = order;
    return choices;
}

HistoryChoices MissingZero() {
    HistoryChoices choices;
    choices.missing = MissingRows::zero;
    return choices;
}

HistoryChoices EncodingOf(EncodingChoice encoding) {
    HistoryChoices choices;
    choices.encoding = encoding;
    return choices;
}

// Each byte of a text as UTF-16 with a byte-order mark; the text is ASCII.
std::string Utf16(const std::string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text) {
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return bytes;
}

// Every form of a date reads to the same days as its ISO date.
TEST(HistoryDates, ReadsTheDatesExportsWrite) {
    const std::vector<double> demand = {1, 2};
    const std::vector<std::string> march = {"2024-03-01", "2024-03-02"};
    const std::vector<std::string> a = {"A"};
    const Taken cases[] = {
        {"dotted, day first", "date,A\n01.03.2024,1\n2.3.2024,2\n", 1, 2, demand, a, march},
        {"slashed, a day above 12 says day first",
         "date,A\n29/02/2024,1\n01/03/2024,2\n",
         1,
         2,
         demand,
         a,
         {"2024-02-29", "2024-03-01"}},
        {"slashed, a day above 12 says month first",
         "date,A\n02/29/2024,1\n03/01/2024,2\n",
         1,
         2,
         demand,
         a,
         {"2024-02-29", "2024-03-01"}},
        {"slashed both ways, day first as chosen", "date,A\n01/03/2024,1\n02/03/2024,2\n", 1, 2,
         demand, a, march, DateOrderOf(DateOrderChoice::dayFirst)},
        {"slashed both ways, month first as chosen", "date,A\n03/01/2024,1\n03/02/2024,2\n", 1, 2,
         demand, a, march, DateOrderOf(DateOrderChoice::monthFirst)},
        {"the time 00:00:00", "date,A\n2024-03-01 00:00:00,1\n2024-03-02T00:00:00,2\n", 1, 2,
         demand, a, march},
        {"ISO weeks, read as their Mondays",
         "week,A\n2024-W09,1\n2024-W10,2\n",
         1,
         2,
         demand,
         a,
         {"2024-02-26", "2024-03-04"}},
        {"week 53 of a year that has one",
         "week,A\n2020-W53,1\n2021-W01,2\n",
         1,
         2,
         demand,
         a,
         {"2020-12-28", "2021-01-04"}},
        {"a long table of slashed dates, month first",
         "store,date,units\nA,02/28/2024,1\nA,02/29/2024,2\n",
         1,
         2,
         demand,
         a,
         {"2024-02-28", "2024-02-29"}},
        {"a long table of dotted dates with time",
         "store,date,units\nA,01.03.2024 00:00:00,1\nA,02.03.2024 00:00:00,2\n", 1, 2, demand, a,
         march},
    };
    for (const Taken& taken : cases) {
        ExpectTaken(taken);
    }
}

// A month steps to the same day or from a month's last day to the next one's.
TEST(HistoryDates, StepsByMonthsAsTheCalendarHasThem) {
    EXPECT_EQ(Refusal("date,A\n2023-01-15,1\n2023-02-15,2\n2023-03-31,3\n"),
              "row 4: 2023-03-31 follows 2023-02-15 of row 3: the dates step by a month, and "
              "this is not a month later");
}

TEST(HistoryDates, RefusesADateThatCannotBeReadSayingWhichChoiceWould) {
    const std::tuple<std::string, HistoryChoices, std::string> cases[] = {
        {"date,A\n01/03/2024,1\n01/04/2024,2\n",
         {},
         "row 2, column 1: \"01/03/2024\" may be day first or month first, and no date in the "
         "column tells which: set the date order to day first (dmy) or month first (mdy)"},
        {"store,date,units\nA,13/01/2024,1\nA,01/14/2024,2\n",
         {},
         "row 3, column 2 (\"date\"): \"01/14/2024\" reads month first only, and \"13/01/2024\" "
         "of row 2 day first only: the dates of a column are written one way"},
        {"date,A\n13/01/2024,1\n", DateOrderOf(DateOrderChoice::monthFirst),
         "row 2, column 1: \"13/01/2024\" is not a day of the calendar read month first "
         "(MM/DD/YYYY)"},
        {"date,A\n2024-03-01 12:30:00,1\n",
         {},
         "row 2, column 1: \"2024-03-01 12:30:00\" has a time of day other than 00:00:00: a "
         "period is a day, a week or a month"},
        {"date,A\n2021-W53,1\n", {}, "row 2, column 1: \"2021-W53\" is not a week of that year"},
        {"date,A\n31.02.2024,1\n",
         {},
         "row 2, column 1: \"31.02.2024\" is not a day of the calendar"},
    };
    for (const auto& [bytes, choices, message] : cases) {
        EXPECT_EQ(Refusal(bytes, choices), message) << bytes;
    }
}

// A shop closed on Sundays: with missing rows read as zero, a day no row names is a period of
// zeros for every sales point, and the reader says how many there were.
TEST(HistoryDates, FillsThePeriodsNoRowNamesWhenMissingRowsAreZero) {
    const std::string closedOnSunday =
        "store,date,units\nA,2024-03-02,1\nB,2024-03-02,2\nA,2024-03-04,3\nB,2024-03-04,4\n"
        "A,2024-03-05,5\nB,2024-03-05,6\n";
    const Outcome days = ReadBothWays(closedOnSunday, MissingZero());
    ASSERT_EQ(days.refusal, "");
    EXPECT_EQ(days.history.demand, (std::vector<double>{1, 0, 3, 5, 2, 0, 4, 6}));
    EXPECT_EQ(days.history.dates,
              (std::vector<std::string>{"2024-03-02", "2024-03-03", "2024-03-04", "2024-03-05"}));
    EXPECT_EQ(days.layout.filledPeriods, 1);

    const Outcome monthEnds = ReadBothWays(
        "store,date,units\nA,31.01.2023,1\nA,30.04.2023,4\nA,31.05.2023,5\n", MissingZero());
    EXPECT_EQ(monthEnds.history.dates,
              (std::vector<std::string>{"2023-01-31", "2023-02-28", "2023-03-31", "2023-04-30",
                                        "2023-05-31"}));
    EXPECT_EQ(monthEnds.layout.filledPeriods, 2);

    const Outcome wide =
        ReadBothWays("date;A;B\n2024-01-01;1;2\n2024-01-15;5;6\n2024-01-22;7;8\n", MissingZero());
    EXPECT_EQ(wide.history.demand, (std::vector<double>{1, 0, 5, 7, 2, 0, 6, 8}));
    EXPECT_EQ(wide.layout.filledPeriods, 1);

    const Outcome numbered = ReadBothWays("store,week,units\nA,1,1\nA,4,4\nB,2,2\n", MissingZero());
    EXPECT_EQ(numbered.history.periods, 4);
    EXPECT_EQ(numbered.layout.filledPeriods, 1);

    EXPECT_EQ(Refusal(closedOnSunday),
              "row 4: 2024-03-04 follows 2024-03-02 of row 2 with a gap: the dates step by a "
              "day, so periods are missing between them");
    EXPECT_EQ(Refusal("store,date,units\nA,2024-01-01,1\nA,2024-01-02,1\nA,2060-01-01,1\n",
                      MissingZero()),
              "row 4: 2060-01-01 follows 2024-01-02 of row 3: with the periods between them, "
              "more than 10000 periods");
}

TEST(HistoryText, ReadsWindows1252AndUtf16AsUtf8) {
    const std::vector<double> demand = {1, 2};
    const std::vector<std::string> names = {"M\xC3\xA4nner", "\xE2\x82\xAC"};
    const Taken cases[] = {
        {"Windows-1252", "M\xE4nner;\x80\n1;2\n", 2, 1, demand, names},
        {"Windows-1252 as chosen, though the bytes are UTF-8 too",
         "\xC3\xA4;b\n1;2\n",
         2,
         1,
         demand,
         {"\xC3\x83\xC2\xA4", "b"},
         {},
         EncodingOf(EncodingChoice::windows1252)},
        {"UTF-16, little-endian", Utf16("A,B\n1,2\n", false), 2, 1, demand, {"A", "B"}},
        {"UTF-16, big-endian", Utf16("A,B\n1,2\n", true), 2, 1, demand, {"A", "B"}},
        {"a name of 256 characters",
         std::string(256, 'x') + ",B\n1,2\n",
         2,
         1,
         demand,
         {std::string(256, 'x'), "B"}},
    };
    for (const Taken& taken : cases) {
        ExpectTaken(taken);
    }
    EXPECT_EQ(ReadBothWays(cases[0].bytes).layout.encoding, HistoryEncoding::windows1252);
    EXPECT_EQ(ReadBothWays(cases[3].bytes).layout.encoding, HistoryEncoding::utf16BigEndian);
}

TEST(HistoryText, RefusesWhatIsNoTextNamingWhere) {
    const std::string longName(257, 'x');
    const std::tuple<std::string, HistoryChoices, std::string> cases[] = {
        {"A;B\n1;2\nM\xE4nner;3\n", EncodingOf(EncodingChoice::utf8),
         "row 3, byte 2: 0xE4 is not UTF-8 text: set the encoding to Windows-1252 "
         "(windows-1252) or save the file as UTF-8"},
        {"A;B\r\n1;\x81\r\n",
         {},
         "row 2, byte 3: 0x81 is neither UTF-8 nor Windows-1252 text: save the file as UTF-8 (in "
         "a spreadsheet, \"CSV UTF-8\") and use that"},
        {std::string("1,2\n3,\0\n", 8), {}, "this is not a text file: row 2, byte 3 is a NUL byte"},
        {Utf16("A,B\n", false) + std::string(2, '\0'),
         {},
         "this is not a text file: byte 11 begins a NUL character"},
        {Utf16("A,B\n", false) + "x",
         {},
         "this UTF-16 text ends in half a character: the file is cut short"},
        {longName + ",B\n1,2\n",
         {},
         "row 1, column 1: a name of 257 characters; a name may have 256 at most"},
        {"store,week,units\n" + longName + ",1,5\n",
         {},
         "row 2, column 1 (\"store\"): a name of 257 characters; a name may have 256 at most"},
    };
    for (const auto& [bytes, choices, message] : cases) {
        EXPECT_EQ(Refusal(bytes, choices), message) << bytes.substr(0, 40);
    }
}

// A grouping of thousands has one to three digits before its first point.
TEST(HistoryNumbers, ReadsFourLeadingDigitsAsNoThousands) {
    ExpectTaken({"a decimal point", "A;B\n1234.567;2\n", 2, 1, {1234.567, 2}, {"A", "B"}});
    EXPECT_EQ(
        Refusal("A;B\n1234.567;2,5\n"),
        "row 2, column 1 (\"A\"): \"1234.567\" is not a number with a decimal comma: a point may "
        "only stand between groups of three digits (1.234,5)");
}

}  // namespace
}  // namespace sf
