#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/date_forms.h"
#include "runtime/period_dates.h"

namespace sf {

// A period's day and the row of the file that first gave it; a header across the periods
// names each date's column (from 0) too.
struct DatedRow {
    std::chrono::sys_days day;
    int row;
    int column = -1;
};

// Whether periods that no date names between the first date and the last are refused or taken
// as periods of their own (their demand then zero).
enum class PeriodGaps { refused, filled };

// Dates in the order of their periods must step by a day, a week or a month (the same day of
// the next month, or the last day of each), the smallest step among them, without a repeat, and
// without a gap unless gaps are filled. The days of every period from the first date to the
// last; a RunError that names the later row and both dates otherwise, or when the periods would
// be more than `mostPeriods`.
std::vector<std::chrono::sys_days> PeriodDays(const std::vector<DatedRow>& dates, PeriodGaps gaps,
                                              std::size_t mostPeriods);

}  // namespace sf
