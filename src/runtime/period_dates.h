#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sf {

// How far apart the periods of a dated sales history lie.
enum class DateStep { day, week, month };

// YYYY-MM-DD, as every file the program writes names a day.
std::string IsoText(std::chrono::sys_days day);
// The day of a text IsoText wrote; none for any other text or a day the calendar lacks.
std::optional<std::chrono::sys_days> IsoTextDay(std::string_view text);

bool IsLastOfMonth(const std::chrono::year_month_day& date);
// Whether `later` is one step after `earlier`: a month is the same day of the next month, or
// the last day of the next month after a last day.
bool IsStep(std::chrono::sys_days earlier, std::chrono::sys_days later, DateStep step);
// The day `steps` steps after `last`; a month step lands on `monthDay` or the month's last day.
std::chrono::sys_days StepsAfter(std::chrono::sys_days last, DateStep step, int steps,
                                 std::chrono::day monthDay);

// The days of periods 1..count as YYYY-MM-DD: the dates a history gave its periods, then on by
// their step, for the coming periods after them. A month keeps the latest day of the month the
// dates hold, or the last day of a shorter month (01-31, 02-28, 03-31). Without two dates there
// is no step: the periods after them have no day (an empty text). Every front end and file
// names the coming periods by these.
std::vector<std::string> ContinuedDates(const std::vector<std::string>& dates, int count);

}  // namespace sf
