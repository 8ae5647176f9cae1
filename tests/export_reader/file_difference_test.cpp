// A file of a folder that differs from the one written anew is named by its first difference:
// the row and column of a table, the line of run.json.
#include "export_reader/file_difference.h"

#include <gtest/gtest.h>

#include "runtime/run_error.h"

namespace sf {
namespace {

struct Difference {
    const char* what;
    void (*require)(std::string_view, std::string_view, std::string_view);
    const char* held;
    const char* recomputed;
    const char* refusal;  // empty: the same
};

TEST(FileDifference, TheFirstDifferenceIsNamedByRowAndColumnOrLine) {
    const std::string_view table = "a,b,c\n1,2,3\n4,5,6\n";
    const Difference differences[] = {
        {"the same", RequireSameTable, "a,b,c\n1,2,3\n", "a,b,c\n1,2,3\n", ""},
        {"a cell", RequireSameTable, "a,b,c\n1,2,3\n4,9,6\n", table.data(),
         "x.csv, row 3, column b: the folder holds \"9\" where the rest of it gives \"5\""},
        {"the first of two cells", RequireSameTable, "a,b,c\n1,2,3\n4,7,7\n", table.data(),
         "x.csv, row 3, column b:"},
        {"a header", RequireSameTable, "a,B,c\n1,2,3\n4,5,6\n", table.data(),
         "x.csv, row 1, column b: the folder holds \"B\""},
        {"a row too few", RequireSameTable, "a,b,c\n1,2,3\n", table.data(),
         "x.csv, row 3: the file ends where the rest of the folder gives \"4,5,6\""},
        {"a row too many", RequireSameTable, "a,b,c\n1,2,3\n4,5,6\n7,8,9\n", table.data(),
         "x.csv, row 4: the folder holds \"7,8,9\" after the end"},
        {"a cell too many", RequireSameTable, "a,b,c\n1,2,3,4\n4,5,6\n", table.data(),
         "x.csv, row 2: the folder holds \"1,2,3,4\" where the rest of it gives \"1,2,3\""},
        {"no line end after the last row", RequireSameTable, "a,b,c\n1,2,3", "a,b,c\n1,2,3\n",
         "x.csv, row 2: the last line ends otherwise than an export ends it"},
        {"line ends of another system, shown", RequireSameTable, "a,b,c\r\n1,2,3\r\n",
         "a,b,c\n1,2,3\n", "x.csv, row 1, column c: the folder holds \"c\\r\" where"},
        {"a line of run.json", RequireSameLines, "{\n  \"a\": 1\n}\n", "{\n  \"a\": 2\n}\n",
         "x.csv, line 2: the folder holds \"  \"a\": 1\" where the rest of it gives \"  \"a\": "
         "2\""},
    };
    for (const Difference& difference : differences) {
        SCOPED_TRACE(difference.what);
        try {
            difference.require("x.csv", difference.held, difference.recomputed);
            EXPECT_STREQ(difference.refusal, "");
        } catch (const RunError& refusal) {
            EXPECT_NE(std::string_view(difference.refusal), "");
            EXPECT_EQ(std::string(refusal.what()).rfind(difference.refusal, 0), 0u)
                << refusal.what();
        }
    }
}

}  // namespace
}  // namespace sf
