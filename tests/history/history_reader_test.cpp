#include "history/history_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/run_error.h"
#include "test_folder.h"

namespace sf {
namespace {

// The message of a refusal, or "" when the bytes were taken.
std::string Refusal(const std::string& bytes) {
    try {
        ParseSalesHistory(bytes);
    } catch (const RunError& refusal) {
        return refusal.what();
    }
    return "";
}

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

struct Taken {
    const char* name;
    std::string bytes;
    int salesPoints;
    int periods;
    std::vector<double> demand;  // sales points outer
    std::vector<std::string> names = {};
};

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
        {"tabs, with points or commas", "1.5\t2\n3\t4,25\n", 2, 2, {1.5, 3, 2, 4.25}},
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
        SCOPED_TRACE(taken.name);
        const SalesHistory history = ParseSalesHistory(taken.bytes);
        EXPECT_EQ(history.salesPoints, taken.salesPoints);
        EXPECT_EQ(history.periods, taken.periods);
        EXPECT_EQ(history.demand, taken.demand);
        EXPECT_EQ(history.names, taken.names);
    }
}

TEST(HistoryReader, TakesTheLargestHistory) {
    const SalesHistory wide = ParseSalesHistory(Grid(600, 100));
    EXPECT_EQ(wide.salesPoints, 100);
    EXPECT_EQ(wide.periods, 600);
    EXPECT_EQ(wide.Demand(100, 600), 599 + 99);
    EXPECT_EQ(wide.Demand(2, 1), 1);
}

TEST(HistoryReader, RefusesABadFileSayingWhereAndWhy) {
    const std::string tidy = "sales_point,period,demand\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "the file is empty"},
        {"\xEF\xBB\xBF\r\n  \r\n", "the file is empty"},
        {"A,B\n", "row 1 holds names only: there is no demand in the file"},
        {tidy, "row 1 holds names only: there is no demand in the file"},
        {"A,B\n1,x\n", "row 2, column 2 (\"B\"): \"x\" is not a number"},
        {"1,2\n3,x\n", "row 2, column 2: \"x\" is not a number"},
        {"nan,1\n", "row 1, column 1: \"nan\" is not a number"},
        {"1e999\n", "row 1, column 1: \"1e999\" is a number too large to hold"},
        {"1;-0,1e-400\n", "row 1, column 2: \"-0,1e-400\" is a number too close to 0 to hold"},
        {std::string(4, '\0'), "this is not a text file: byte 1 is a NUL byte"},
        {std::string(200, ','), "row 1 has more than 102 cells: more than 100 sales points"},
        {"1,2\n" + std::string(1 << 20, ','), "row 2 has more than 102 cells where row 1 has 2"},
        {"1,2\n\"1,5\",2\n", "row 2, column 1: \"1,5\" is not a number"},
        {"1,2\n3,\n", "row 2, column 2: the cell is empty"},
        {"1,\" \"\n", "row 1, column 2: the cell is empty"},
        {"1,2,3\n4,5\n", "row 2 has 2 cells where row 1 has 3"},
        {"A,B\n1,2,3\n", "row 2 has 3 cells where row 1 has 2"},
        {"1,2\n\"3,4\n5,6\n",
         "row 2, column 1: a quote opens the cell and none closes it before the end of the file"},
        {"1,\"2\"x\n3,4\n",
         "row 1, column 2: a quote opens the cell and none closes it before the end of the file"},
        {"1\r\n2\r\n\r\n3\r\n", "row 3 is empty"},
        {Grid(1, 101), "row 1 has 101 cells: more than 100 sales points"},
        {Grid(601, 2, "A,B\n"), "row 602 would be period 601: more than 600 periods"},
        {"1," + std::string(40, '7') + "x\n",
         "row 1, column 2: \"77777777777777777777777777777...\" is not a number"},
        {tidy + "1,1,5\n1,2,6\n1,1,7\n", "sales point 1, period 1: two rows (rows 2 and 4)"},
        {tidy + "1,1,5\n1,3,6\n",
         "sales point 1, period 2 is missing: every sales point needs a row for each period 1 "
         "to 3"},
        {tidy + "1,1,5\n1,2,6\n2,1,7\n",
         "sales point 2, period 2 is missing: every sales point needs a row for each period 1 "
         "to 2"},
        {tidy + "1,1,5\n3,1,6\n",
         "sales point 2 is missing: the sales points must be numbered 1 to 3 without a gap"},
        {tidy + "1,1,5\n1,2,x\n", "sales point 1, period 2 (row 3): \"x\" is not a number"},
        {tidy + "1,1,\n", "sales point 1, period 1 (row 2): the cell is empty"},
        {tidy + "x,1,5\n", "row 2, column 1 (sales_point): \"x\" is not a number"},
        {tidy + "1,0,5\n", "row 2, column 2 (period): \"0\" is not a period number (1, 2, 3 ...)"},
        {tidy + "1,2.5,5\n",
         "row 2, column 2 (period): \"2.5\" is not a period number (1, 2, 3 ...)"},
        {tidy + "101,1,5\n", "row 2 names sales point \"101\": more than 100 sales points"},
        {tidy + "1,601,5\n", "row 2 names period \"601\": more than 600 periods"},
        {tidy + "1,1\n", "row 2 has 2 cells where the header has 3"},
        {tidy + std::string(500, ','), "row 2 has more than 102 cells where the header has 3"},
        {"period" + std::string(200, ',') + "\n",
         "row 1 has more than 102 cells: more columns than a sales history may have"},
        {tidy + "1,1,5\n\n1,2,6\n", "row 3 is empty"},
        {tidy + "1,1,5\n1,2,\n1,3,7\n", "sales point 1, period 2 (row 3): the cell is empty"},
        {tidy + "1,1,5\n1,1, \n", "sales point 1, period 1 (row 3): the cell is empty"},
        {tidy + "1,1,\n1,1201,\n", "row 3 names period \"1201\": more than 1200 periods"},
        {"sales_point,period,qty\n",
         "row 1 has no column named \"demand\"; a file with sales_point and period columns needs "
         "all three of sales_point, period and demand"},
        {"sales_point,period,demand,Demand\n", "row 1, column 4: a second column named \"demand\""},
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
    std::filesystem::resize_file(folder.Path("huge.csv"), (std::uintmax_t{64} << 20) + 1);
    try {
        ReadSalesHistory(folder.Path("huge.csv"));
        ADD_FAILURE();
    } catch (const RunError& refusal) {
        EXPECT_TRUE(std::string(refusal.what())
                        .ends_with("huge.csv\" is larger than 64 MB, more "
                                   "than any sales history of 100 sales "
                                   "points and 600 periods needs"));
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
        if (good) {
            EXPECT_NO_THROW(ReadSalesHistory(entry.path()));
        } else {
            EXPECT_THROW(ReadSalesHistory(entry.path()), RunError);
        }
        ++seeds;
    }
    EXPECT_GE(seeds, 10);
}

}  // namespace
}  // namespace sf
