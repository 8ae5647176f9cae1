#include "history/history_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "history/history_reading.h"
#include "runtime/run_error.h"
#include "test_folder.h"

namespace sf {
namespace {

// Cells joined by the delimiter, rows by LF.
std::string Grid(int rows, int columns, const std::string& header = "") {
    std::string text = header;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            text += (column == 0 ? "" : ",") + std::to_string(row + column);
        }
        text += '\n';
    }
    return text;
}

TEST(HistoryReader, TakesBothShapesInEveryDialect) {
    const std::string series =
        "sales_point,period,demand_mean,demand,forecast,mad,sigma,alpha,beta,delivery,lost_sale,"
        "returned,sales\n";
    const Taken cases[] = {
        {"wide, no header", "1,2,3\n4,5,6\n", 3, 2, {1, 4, 2, 5, 3, 6}},
        {"wide, byte-order mark, header, CR LF",
         "\xEF\xBB\xBFStore A,Store B\r\n1,2\r\n3,4\r\n",
         2,
         2,
         {1, 3, 2, 4},
         {"Store A", "Store B"}},
        {"semicolons and decimal commas",
         "A;B\n1,5;2\n-0,25;1e3\n",
         2,
         2,
         {1.5, -0.25, 2, 1000},
         {"A", "B"}},
        {"tabs and decimal commas", "1,5\t2\n3\t4,25\n", 2, 2, {1.5, 3, 2, 4.25}},
        {"quoted cells and blanks",
         "\"Store, A\",\"B\"\"\"\n\"1\", 2 \n\" 3\",4\n",
         2,
         2,
         {1, 3, 2, 4},
         {"Store, A", "B\""}},
        {"a header with blanks and an empty cell",
         " A , ,B\n1,2,3\n",
         3,
         1,
         {1, 2, 3},
         {"A", "", "B"}},
        {"one sales point, no last line end", "5\n6\n7", 1, 3, {5, 6, 7}},
        {"blank lines before and after", "\n\r\n1,2\n\n\n", 2, 1, {1, 2}},
        {"CR line ends", "1,2\r3,4\r", 2, 2, {1, 3, 2, 4}},
        {"the series of an export, in any order",
         series + "2,1,,7,,,,,,,,,\n1,2,3,6,,,,,,,,,\n1,1,3,5,1,2,3,4,5,6,7,8,9\n2,2,,8,,,,,,,,,\n",
         2,
         2,
         {5, 6, 7, 8}},
        {"tidy columns in any order and case", "Demand;Period;SALES_POINT\n1,5;1;1\n", 1, 1, {1.5}},
        {"an export's coming periods, without demand, beyond period 600",
         series + "1,1,,5,,,,,,,,,\n1,2,,6,,,,,,,,,\n1,3,,,,,,,,,,,\n1,603,,,,,,,,,,,\n",
         1,
         2,
         {5, 6}},
    };
    for (const Taken& taken : cases) {
        ExpectTaken(taken);
    }
}

// Files as shops and spreadsheets write them read to the same demand as the plain file
// "1234.5,20\n11,2000\n12,22\n".
TEST(HistoryReader, ReadsExportsAsThePlainFile) {
    const std::vector<double> plain = {1234.5, 11, 12, 20, 2000, 22};
    const std::vector<std::string> weeks = {"2023-01-02", "2023-01-09", "2023-01-16"};
    const std::vector<std::string> milkAndBread = {"Milk 1L", "Bread"};
    HistoryChoices numericHeader;
    numericHeader.header = HeaderChoice::yes;
    HistoryChoices chosenColumns;
    chosenColumns.columns = HistoryColumns{"Store", "2", "qty"};
    HistoryChoices thousands;
    thousands.decimal = DecimalChoice::comma;
    const Taken cases[] = {
        {"wide with dates and names",
         "date,Milk 1L,Bread\n2023-01-02,1234.5,20\n2023-01-09,11,2000\n2023-01-16,12,22\n", 2, 3,
         plain, milkAndBread, weeks},
        {"long, product,week,units, names in order of first appearance",
         "product,week,units\nMilk 1L,2023-01-02,1234.5\nBread,2023-01-02,20\n"
         "Bread,2023-01-09,2000\nMilk 1L,2023-01-09,11\nMilk 1L,2023-01-16,12\n"
         "Bread,2023-01-16,22\n",
         2, 3, plain, milkAndBread, weeks},
        {"long, numbered weeks and an extra column",
         "product;week;units;price\nMilk 1L;1;1.234,5;2\nBread;1;20;1\nMilk 1L;2;11;2\n"
         "Bread;2;2.000;1\nMilk 1L;3;12;2\nBread;3;22;1\n",
         2, 3, plain, milkAndBread},
        {"long, columns chosen by header name and number",
         "qty,when,Store\n1234.5,1,A\n11,2,A\n12,3,A\n20,1,B\n2000,2,B\n22,3,B\n",
         2,
         3,
         plain,
         {"A", "B"},
         {},
         chosenColumns},
        {"German decimal comma with thousands",
         "Milch;Brot\n1.234,5;20\n11;2.000\n12;22\n",
         2,
         3,
         plain,
         {"Milch", "Brot"}},
        {"thousands without a decimal comma, as the user said",
         "1.234,5;20\n11;2.000\n12;22\n",
         2,
         3,
         plain,
         {},
         {},
         thousands},
        {"a trailing delimiter on every row",
         "A;B;\n1234,5;20;\n11;2000;\n12;22;\n",
         2,
         3,
         plain,
         {"A", "B"}},
        {"a trailing delimiter, no header", "1234.5,20,\n11,2000,\n12,22,\n", 2, 3, plain},
        {"CR LF and a byte-order mark",
         "\xEF\xBB\xBF"
         "1234.5,20\r\n11,2000\r\n12,22\r\n",
         2, 3, plain},
        {"an all-numeric header the user called one",
         "101,102\n1234.5,20\n11,2000\n12,22\n",
         2,
         3,
         plain,
         {"101", "102"},
         {},
         numericHeader},
        {"month ends",
         "date,A\n2023-01-31,1\n2023-02-28,2\n2023-03-31,3\n",
         1,
         3,
         {1, 2, 3},
         {"A"},
         {"2023-01-31", "2023-02-28", "2023-03-31"}},
        // Each of these was once read wrong.
        {"a comma file whose quoted names hold semicolons",
         "\"North; A\",\"South; B\"\n400.5,475.5\n",
         2,
         1,
         {400.5, 475.5},
         {"North; A", "South; B"}},
        {"a headerless row of decimal commas", "1,5;2,5\n3;4\n", 2, 2, {1.5, 3, 2.5, 4}},
        {"a tab file whose names hold semicolons",
         "North;A\tSouth;B\n1,5\t2\n",
         2,
         1,
         {1.5, 2},
         {"North;A", "South;B"}},
        {"a semicolon file after a blank line", "\n A;B\n1,5;2\n", 2, 1, {1.5, 2}, {"A", "B"}},
    };
    for (const Taken& taken : cases) {
        ExpectTaken(taken);
    }
}

TEST(HistoryReader, RefusesAnExportItCannotReadSayingWhy) {
    HistoryChoices zero;
    zero.missing = MissingRows::zero;
    HistoryChoices badColumns;
    badColumns.columns = HistoryColumns{"store", "week", "Store"};
    HistoryChoices noSuchColumn;
    noSuchColumn.columns = HistoryColumns{"shop", "2", "9"};
    const std::string weekly = "date,A\n2023-01-02,1\n2023-01-09,2\n";
    const std::tuple<std::string, HistoryChoices, std::string> cases[] = {
        {weekly + "2023-01-23,3\n",
         {},
         "row 4: 2023-01-23 follows 2023-01-09 of row 3 with a gap: the dates step by a week, so "
         "periods are missing between them"},
        {weekly + "2023-01-09,3\n", {}, "row 4 repeats the date 2023-01-09 of row 3"},
        {weekly + "2023-01-05,3\n",
         {},
         "row 4: 2023-01-05 follows 2023-01-09 of row 3: the dates must go forward, one period "
         "after another"},
        {"date,A\n2023-01-02,1\n2023-01-05,2\n",
         {},
         "row 3: 2023-01-05 follows 2023-01-02 of row 2 after 3 days: the dates must step by a "
         "day, a week or a month"},
        {"date,A\n2.1.23,1\n",
         {},
         "row 2, column 1: \"2.1.23\" is not a date in a form that is read: YYYY-MM-DD, "
         "DD.MM.YYYY, DD/MM/YYYY, MM/DD/YYYY or the week YYYY-Www, each with or without the time "
         "00:00:00"},
        {"date,A\n2023-02-30,1\n",
         {},
         "row 2, column 1: \"2023-02-30\" is not a day of the calendar"},
        {"A;B\n1.687;2.134\n",
         {},
         "row 2, column 1: \"1.687\" may have a decimal point or a point between thousands, and "
         "no number in the file has a decimal comma to tell which: set the decimal separator to "
         "a comma or a point"},
        {"1.5\t2\n3\t4,25\n",
         {},
         "row 1, column 1: \"1.5\" is not a number with a decimal comma: a point may only stand "
         "between groups of three digits (1.234,5)"},
        {std::string("A\0,\0B\0", 6),
         {},
         "this is UTF-16 text without a byte-order mark, which is not read: save the file as "
         "UTF-8 (in a spreadsheet, \"CSV UTF-8\") and use that"},
        {"sales_point,period,demand\n1,1,5\n1000,1000,5\n", zero,
         "1000 sales points by 1000 periods need 1000000 demand cells, more than 64 for each of "
         "the file's 2 rows: missing rows read as zero fill the gaps of a history, they do not "
         "make one"},
        {"product,week,units\nMilk,1,5\nBread,2,6\n",
         {},
         "sales point \"Milk\", period 2 is missing: every sales point needs a row for each "
         "period 1 to 2, unless missing rows are read as zero"},
        {"product,week,units\nMilk,2023-01-02,5\nMilk,2023-01-16,6\n", zero,
         "row 3: 2023-01-16 follows 2023-01-02 of row 2 after 14 days: the dates must step by a "
         "day, a week or a month"},
        {"store,week,units\nA,1,5\n", badColumns,
         "column 1 (\"store\") is chosen for both the sales points and the demand"},
        {"store,week,units\nA,1,5\n", noSuchColumn,
         "the column \"shop\" chosen for the sales points is not in the header of row 1 nor a "
         "column number from 1 to 3"},
    };
    for (const auto& [bytes, choices, message] : cases) {
        EXPECT_EQ(Refusal(bytes, choices), message) << bytes.substr(0, 80);
    }
}

// Missing rows read as zero reach the last sales point and period a run may have.
TEST(HistoryReader, ReadsMissingRowsAsZeroWhenTold) {
    HistoryChoices zero;
    zero.missing = MissingRows::zero;
    const SalesHistory history =
        ParseSalesHistory("sales_point,period,demand\n1,1,4\n100,600,5\n", zero);
    EXPECT_EQ(history.salesPoints, 100);
    EXPECT_EQ(history.periods, 600);
    EXPECT_EQ(history.Demand(1, 1), 4);
    EXPECT_EQ(history.Demand(100, 600), 5);
    EXPECT_EQ(history.Demand(50, 300), 0);
    EXPECT_EQ(history.choices, zero);
}

// The day of a period from 2020-01-01 on, as YYYY-MM-DD.
std::string DayOf(int period) {
    using namespace std::chrono;
    const year_month_day day{sys_days(2020y / January / 1) + days(period - 1)};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

// Beyond 100 sales points or 600 periods a long table reads as the same history wide, whatever
// the order of its rows and whether names, numbers or dates key them.
TEST(HistoryReader, ReadsALongTableOfAnySizeAsTheSameWideOne) {
    enum class Keys { numbers, names, dates };
    struct Case {
        int salesPoints;
        int periods;
        Keys keys;
        bool periodsOuter;  // the rows period by period, else sales point by sales point
    };
    const Case cases[] = {
        {150, 700, Keys::numbers, true},
        {101, 3, Keys::names, false},
        {2, 601, Keys::names, true},
        {3, 750, Keys::dates, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.salesPoints) + " x " + std::to_string(c.periods));
        const auto name = [&](int salesPoint) { return "Shop " + std::to_string(salesPoint); };
        std::string wide = c.keys == Keys::dates ? "date" : "";
        for (int salesPoint = 1; salesPoint <= c.salesPoints; ++salesPoint) {
            wide += (wide.empty() ? "" : ",") + name(salesPoint);
        }
        wide += '\n';
        for (int period = 1; period <= c.periods; ++period) {
            wide += c.keys == Keys::dates ? DayOf(period) + "," : "";
            for (int salesPoint = 1; salesPoint <= c.salesPoints; ++salesPoint) {
                wide += (salesPoint == 1 ? "" : ",") + std::to_string(period * 7 % 13 + salesPoint);
            }
            wide += '\n';
        }
        std::string tidy =
            c.keys == Keys::numbers ? "sales_point,period,demand\n" : "store,date,units\n";
        const auto row = [&](int salesPoint, int period) {
            tidy += (c.keys == Keys::numbers ? std::to_string(salesPoint) : name(salesPoint)) +
                    "," + (c.keys == Keys::dates ? DayOf(period) : std::to_string(period)) + "," +
                    std::to_string(period * 7 % 13 + salesPoint) + "\n";
        };
        const int outer = c.periodsOuter ? c.periods : c.salesPoints;
        const int inner = c.periodsOuter ? c.salesPoints : c.periods;
        for (int first = 1; first <= outer; ++first) {
            for (int second = 1; second <= inner; ++second) {
                c.periodsOuter ? row(second, first) : row(first, second);
            }
        }
        const Outcome fromWide = ReadBothWays(wide);
        const Outcome fromTidy = ReadBothWays(tidy);
        ASSERT_EQ(fromTidy.refusal, "");
        EXPECT_EQ(fromTidy.history.salesPoints, c.salesPoints);
        EXPECT_EQ(fromTidy.history.periods, c.periods);
        EXPECT_EQ(fromTidy.history.demand, fromWide.history.demand);
        EXPECT_EQ(fromTidy.history.dates, fromWide.history.dates);
        if (c.keys != Keys::numbers) {
            EXPECT_EQ(fromTidy.history.names, fromWide.history.names);
        }
    }
}

// Missing rows read as zero fill a history beyond 100 x 600 where the rows are not too sparse:
// here 2,501 rows for 140,000 cells.
TEST(HistoryReader, FillsMissingRowsAsZeroBeyond100By600) {
    HistoryChoices zero;
    zero.missing = MissingRows::zero;
    std::string tidy = "sales_point,period,demand\n";
    for (int salesPoint = 1; salesPoint <= 200; salesPoint += 2) {
        for (int period = 1; period <= 25; ++period) {
            tidy += std::to_string(salesPoint) + "," + std::to_string(period) + ",1\n";
        }
    }
    tidy += "200,700,7\n";
    const Outcome outcome = ReadBothWays(tidy, zero);
    ASSERT_EQ(outcome.refusal, "");
    EXPECT_EQ(outcome.history.salesPoints, 200);
    EXPECT_EQ(outcome.history.periods, 700);
    EXPECT_EQ(outcome.history.Demand(199, 25), 1);
    EXPECT_EQ(outcome.history.Demand(199, 26), 0);
    EXPECT_EQ(outcome.history.Demand(200, 1), 0);
    EXPECT_EQ(outcome.history.Demand(200, 700), 7);
    EXPECT_EQ(outcome.layout.filledPeriods, 700 - 25 - 1);
}

TEST(HistoryReader, TakesTheLargestHistory) {
    const SalesHistory wide = ReadBothWays(Grid(600, 100)).history;
    EXPECT_EQ(wide.salesPoints, 100);
    EXPECT_EQ(wide.periods, 600);
    EXPECT_EQ(wide.Demand(100, 600), 599 + 99);
    EXPECT_EQ(wide.Demand(2, 1), 1);

    std::string tidy = "sales_point,period,demand\n";
    for (int period = 1; period <= 600; ++period) {
        for (int salesPoint = 1; salesPoint <= 100; ++salesPoint) {
            tidy += std::to_string(salesPoint) + "," + std::to_string(period) + "," +
                    std::to_string(period - 1 + salesPoint - 1) + "\n";
        }
    }
    EXPECT_EQ(ReadBothWays(tidy).history.demand, wide.demand);
}

TEST(HistoryReader, RefusesABadFileSayingWhereAndWhy) {
    const std::string tidy = "sales_point,period,demand\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "the file is empty"},
        {"\xEF\xBB\xBF\r\n  \r\n", "the file is empty"},
        {"A,B\n", "row 1 holds names only: there is no demand in the file"},
        {tidy, "row 1 holds names only: there is no demand in the file"},
        {"3.01.2023\n", "row 1 holds dates only: no column of demand beside them"},
        {"date\n2023-01-03\n2023-01-04\n",
         "row 1 holds dates only: no column of demand beside them"},
        {"A,B\n1,x\n", "row 2, column 2 (\"B\"): \"x\" is not a number"},
        {"1,2\n3,x\n", "row 2, column 2: \"x\" is not a number"},
        {"1,2\nnan,1\n", "row 2, column 1: \"nan\" is not a number"},
        {"1e999\n", "row 1, column 1: \"1e999\" is a number too large to hold"},
        {"1;-0,1e-400\n", "row 1, column 2: \"-0,1e-400\" is a number too close to 0 to hold"},
        {std::string(4, '\0'), "this is not a text file: row 1, byte 1 is a NUL byte"},
        {std::string(1'000'002, ','),
         "row 1 has more than 1000002 cells: more sales points than a history may hold"},
        {"1,2\n" + std::string(1 << 20, ','),
         "row 2 has more than 1000002 cells where row 1 has 2"},
        {"1,2\n\"1,5\",2\n", "row 2, column 1: \"1,5\" is not a number with a decimal point"},
        {"1,2\n3,\n", "row 2, column 2: the cell is empty"},
        {"1,\" \"\n2,3\n", "row 1, column 2: the cell is empty"},
        {"1,2,3\n4,5\n", "row 2 has 2 cells where row 1 has 3"},
        // A row short of cells is refused before a bad cell in an earlier row.
        {tidy + "1,1,x\n1,2\n", "row 3 has 2 cells where the header has 3"},
        {"A,B\n1,2,3\n", "row 2 has 3 cells where row 1 has 2"},
        {"1,2\n\"3,4\n5,6\n",
         "row 2, column 1: a quote opens the cell and none closes it before the end of the file"},
        {"1,\"2\"x\n3,4\n",
         "row 1, column 2: a quote opens the cell and none closes it before the end of the file"},
        {"1\r\n2\r\n\r\n3\r\n", "row 3 is empty"},
        {Grid(10001, 2, "A,B\n"), "row 10002 would be period 10001: more than 10000 periods"},
        {"1,2\n1," + std::string(40, '7') + "x\n",
         "row 2, column 2: \"77777777777777777777777777777...\" is not a number"},
        {tidy + "1,1,5\n1,2,6\n1,1,7\n",
         "sales point 1, period 1: two rows (rows 2 and 4), which are added up only when the user "
         "says so (--history-duplicates sum)"},
        {tidy + "1,1,5\n1,3,6\n",
         "sales point 1, period 2 is missing: every sales point needs a row for each period 1 "
         "to 3, unless missing rows are read as zero"},
        {tidy + "1,1,5\n1,2,6\n2,1,7\n",
         "sales point 2, period 2 is missing: every sales point needs a row for each period 1 "
         "to 2, unless missing rows are read as zero"},
        {tidy + "1,1,5\n3,1,6\n",
         "sales point 2 is missing: the sales points must be numbered 1 to 3 without a gap, unless "
         "missing rows are read as zero"},
        {tidy + "1,1,5\n1,2,x\n", "row 3, column 3 (\"demand\"): \"x\" is not a number"},
        {tidy + "1,1,\n", "row 2, column 3 (\"demand\"): the cell is empty"},
        {tidy + "x,1,5\n", "row 2, column 1 (\"sales_point\"): \"x\" is not a number"},
        {tidy + "1,0,5\n",
         "row 2, column 2 (\"period\"): \"0\" is not a period number (1, 2, 3 ...)"},
        {tidy + "1,2.5,5\n",
         "row 2, column 2 (\"period\"): \"2.5\" is not a period number (1, 2, 3 ...)"},
        {tidy + "1000001,1,5\n",
         "row 2 names sales point \"1000001\": more than 1000000 sales points"},
        {tidy + "1,10001,5\n", "row 2 names period \"10001\": more than 10000 periods"},
        {tidy + "1,1,5\n1000,1000,5\n",
         "1000 sales points by 1000 periods need 1000000 demand cells, and the file has 2 rows: "
         "every sales point needs a row for each period, unless missing rows are read as zero"},
        {tidy + "101,1,5\n",
         "sales point 1 is missing: the sales points must be numbered 1 to 101 without a gap, "
         "unless missing rows are read as zero"},
        {tidy + "1,1\n", "row 2 has 2 cells where the header has 3"},
        {tidy + std::string(1'000'002, ','),
         "row 2 has more than 1000002 cells where the header has 3"},
        {"store,period,units" + std::string(1'000'002, ',') + "\n",
         "row 1 has more than 1000002 cells: more columns than a sales history may have"},
        {tidy + "1,1,5\n\n1,2,6\n", "row 3 is empty"},
        {tidy + "1,1,5\n1,2,\n1,3,7\n", "row 3, column 3 (\"demand\"): the cell is empty"},
        {tidy + "1,1,5\n1,1, \n", "row 3, column 3 (\"demand\"): the cell is empty"},
        {tidy + "1,1,\n1,20001,\n", "row 3 names period \"20001\": more than 20000 periods"},
        {"sales_point,period,qty\n", "row 1 holds names only: there is no demand in the file"},
        {"sales_point,period,demand,Demand\n",
         "column 3 (\"demand\") and column 4 (\"Demand\") could both be the demand, and no header "
         "word tells which: choose the columns (--history-columns NAME,PERIOD,DEMAND)"},
    };
    for (const auto& [bytes, message] : cases) {
        EXPECT_EQ(Refusal(bytes), message) << bytes.substr(0, 80);
    }
}

TEST(HistoryReader, NamesTheFileInWhatItSaysAndKeepsItsName) {
    TestFolder folder;
    folder.Write("demand.csv", "1,2\n3,4\n");
    EXPECT_EQ(ReadSalesHistory(folder.Path("demand.csv")).name, "demand.csv");

    folder.Write("bad.csv", "1,2\n3\n");
    const std::filesystem::path unusable[] = {folder.Path("bad.csv"), folder.Path("none.csv"),
                                              folder.Root()};
    const std::string reasons[] = {": row 2 has 1 cell where row 1 has 2",
                                   " could not be read: No such file or directory",
                                   " is a folder, not a file"};
    for (int at = 0; at < 3; ++at) {
        try {
            ReadSalesHistory(unusable[at]);
            ADD_FAILURE() << unusable[at];
        } catch (const RunError& refusal) {
            EXPECT_EQ(refusal.what(),
                      "The sales history \"" + unusable[at].string() + "\"" + reasons[at]);
        }
    }
}

TEST(HistoryReader, RefusesAFileFarLargerThanAnyHistory) {
    TestFolder folder;
    folder.Write("huge.csv", "");
    std::filesystem::resize_file(folder.Path("huge.csv"), (std::uintmax_t{8} << 30) + 1);
    try {
        ReadSalesHistory(folder.Path("huge.csv"));
        ADD_FAILURE();
    } catch (const RunError& refusal) {
        EXPECT_TRUE(std::string(refusal.what())
                        .ends_with("huge.csv\" is larger than 8 GB, more than the sales "
                                   "history of any catalogue of 10,000 periods needs"));
    }
}

// The fuzz target's seeds: each "good-" file is taken, each "bad-" file refused.
TEST(HistoryReader, TakesTheGoodSeedsAndRefusesTheBadOnes) {
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(HISTORY_READER_CORPUS)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const bool good = name.starts_with("good-");
        ASSERT_TRUE(good || name.starts_with("bad-"));
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        EXPECT_EQ(ReadBothWays(bytes).refusal.empty(), good);
        ++seeds;
    }
    EXPECT_GE(seeds, 10);
}

}  // namespace
}  // namespace sf
