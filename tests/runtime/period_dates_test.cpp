// The days that name periods: the text every file writes, and the coming periods after a
// dated history.
#include "runtime/period_dates.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace sf {
namespace {

using std::chrono::sys_days;

// The coming dates step as the history's did, and a month keeps month ends.
TEST(PeriodDates, ContinueByTheHistorysStep) {
    const std::tuple<std::vector<std::string>, int, std::vector<std::string>> continued[] = {
        {{"2023-01-31", "2023-02-28"}, 4, {"2023-01-31", "2023-02-28", "2023-03-31", "2023-04-30"}},
        {{"2023-01-28", "2023-02-28"}, 3, {"2023-01-28", "2023-02-28", "2023-03-28"}},
        {{"2023-11-30", "2023-12-31"}, 4, {"2023-11-30", "2023-12-31", "2024-01-31", "2024-02-29"}},
        {{"2024-02-26", "2024-03-04"}, 3, {"2024-02-26", "2024-03-04", "2024-03-11"}},
        {{"2024-12-30", "2024-12-31"}, 3, {"2024-12-30", "2024-12-31", "2025-01-01"}},
        // Fewer wanted than the history has: its first ones.
        {{"2024-01-01", "2024-01-02", "2024-01-03"}, 2, {"2024-01-01", "2024-01-02"}},
        // Without two dates, or with a text that is no day, there is no step.
        {{"2024-01-01"}, 3, {"2024-01-01", "", ""}},
        {{"2024-01-01", "x"}, 3, {"2024-01-01", "x", ""}},
        {{}, 2, {"", ""}},
        {{"2024-01-01", "2024-01-02"}, 0, {}},
    };
    for (const auto& [dates, count, expected] : continued) {
        EXPECT_EQ(ContinuedDates(dates, count), expected) << testing::PrintToString(dates);
    }
}

// Every day of three centuries reads back as the day IsoText wrote; texts of another form
// or days the calendar lacks are none.
TEST(PeriodDates, ReadsBackWhatItWrites) {
    const sys_days first{std::chrono::year(1900) / 1 / 1};
    const sys_days last{std::chrono::year(2200) / 12 / 31};
    for (sys_days day = first; day <= last; day += std::chrono::days(1)) {
        ASSERT_EQ(IsoTextDay(IsoText(day)), day) << IsoText(day);
    }
    for (const char* text : {"2023-02-29", "2024-13-01", "2024-00-10", "2024-1-01", " 2024-01-01",
                             "2024-01-01 ", "2024/01/01", "+024-01-01", "2024-01-0x", ""}) {
        EXPECT_EQ(IsoTextDay(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace sf
