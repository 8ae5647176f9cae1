#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sf {

// Written like a date in one of the forms spreadsheets use: three groups of digits parted by
// "-", "." or "/" (2023-01-02, 02.01.2023, 1/2/2023), whatever follows them.
bool LooksLikeDate(std::string_view cell);

// The day of an ISO date YYYY-MM-DD within blanks; empty for any other text and for a day the
// calendar does not have.
std::optional<std::chrono::sys_days> IsoDate(std::string_view cell);

// Why a cell is no date, to follow its quoted text: the form that is read, or that the
// calendar has no such day.
std::string NotADateWhy(std::string_view cell);

std::string IsoText(std::chrono::sys_days day);

// A period's day and the row of the file that first gave it.
struct DatedRow {
    std::chrono::sys_days day;
    int row;
};

// Dates in the order of their periods must step by a day, a week or a month (the same day of
// the next month, or the last day of each), the smallest step among them, without a gap or a
// repeat. A RunError that names the later row and both dates otherwise.
void CheckConsecutive(const std::vector<DatedRow>& dates);

// The days of periods 1..count as YYYY-MM-DD: the dates a history gave its periods (as
// CheckConsecutive accepts them), then on by their step. A month keeps the latest day of the
// month the dates hold, or the last day of a shorter month (01-31, 02-28, 03-31). Without two
// dates there is no step: the periods after them have no day (an empty text).
std::vector<std::string> ContinuedDates(const std::vector<std::string>& dates, int count);

}  // namespace sf
