#include "history/history_dates.h"

#include <algorithm>
#include <cstdio>

#include "history/cell_text.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

// Later than one step after: the periods between are missing.
bool IsBeyondStep(sys_days earlier, sys_days later, DateStep step) {
    switch (step) {
        case DateStep::day:
            return (later - earlier).count() > 1;
        case DateStep::week:
            return (later - earlier).count() > 7;
        case DateStep::month: {
            const year_month_day from{earlier};
            const year_month_day to{later};
            return std::chrono::year_month(to.year(), to.month()) >
                   std::chrono::year_month(from.year(), from.month()) + std::chrono::months(1);
        }
    }
    return false;
}

std::string_view StepName(DateStep step) {
    switch (step) {
        case DateStep::day:
            return "a day";
        case DateStep::week:
            return "a week";
        case DateStep::month:
            return "a month";
    }
    return "";
}

// "row 5" for a date in a column of dates, "row 1, column 4" for one in a header of dates.
std::string PlaceOf(const DatedRow& date) {
    return date.column < 0 ? RowName(date.row)
                           : RowName(date.row) + ", column " + std::to_string(date.column + 1);
}

// Where `earlier` is, said after `later`: its column alone where both share a header row.
std::string EarlierPlace(const DatedRow& earlier, const DatedRow& later) {
    return earlier.column >= 0 && earlier.row == later.row
               ? "column " + std::to_string(earlier.column + 1)
               : PlaceOf(earlier);
}

// "row 5: 2023-01-23 follows 2023-01-09 of row 4"
std::string Following(const DatedRow& earlier, const DatedRow& later) {
    return PlaceOf(later) + ": " + IsoText(later.day) + " follows " + IsoText(earlier.day) +
           " of " + EarlierPlace(earlier, later);
}

// The days between two dates a whole number of steps apart; empty when no run of steps leads
// from the one to the other.
std::optional<std::vector<sys_days>> DaysBetween(sys_days earlier, sys_days later, DateStep step) {
    std::vector<sys_days> between;
    const year_month_day from{earlier};
    const year_month_day to{later};
    // A month steps to the same day, or from a last day to the last day.
    const bool lastDays = IsLastOfMonth(from) && IsLastOfMonth(to);
    for (int steps = 1;; ++steps) {
        sys_days next = earlier + std::chrono::days(steps);
        if (step == DateStep::week) {
            next = earlier + std::chrono::weeks(steps);
        } else if (step == DateStep::month) {
            const std::chrono::year_month month =
                std::chrono::year_month(from.year(), from.month()) + std::chrono::months(steps);
            const year_month_day day =
                lastDays ? year_month_day(std::chrono::year_month_day_last(
                               month.year(), std::chrono::month_day_last(month.month())))
                         : year_month_day(month.year(), month.month(), from.day());
            if (!day.ok() || (!lastDays && from.day() != to.day())) {
                return std::nullopt;
            }
            next = sys_days(day);
        }
        if (next >= later) {
            return next == later ? std::optional(between) : std::nullopt;
        }
        between.push_back(next);
    }
}

// Two dates that are not one step apart: refused, or with gaps filled, the days between them
// added to `days`.
void CheckGap(const DatedRow& earlier, const DatedRow& later, DateStep step, PeriodGaps gaps,
              std::size_t mostPeriods, std::vector<sys_days>& days) {
    const std::string stepName(StepName(step));
    if (!IsBeyondStep(earlier.day, later.day, step)) {
        throw RunError(Following(earlier, later) + ": the dates step by " + stepName +
                       ", and this is not " + stepName + " later");
    }
    if (gaps == PeriodGaps::refused) {
        throw RunError(Following(earlier, later) + " with a gap: the dates step by " + stepName +
                       ", so periods are missing between them");
    }
    // A gap of more periods than a history may hold is refused before its days are counted.
    const int leastDaysPerStep = step == DateStep::day ? 1 : step == DateStep::week ? 7 : 31;
    const auto leastSteps =
        static_cast<std::size_t>((later.day - earlier.day).count() / leastDaysPerStep);
    std::optional<std::vector<sys_days>> between;
    if (days.size() + leastSteps <= mostPeriods) {
        between = DaysBetween(earlier.day, later.day, step);
        if (!between) {
            throw RunError(Following(earlier, later) + ": the dates step by " + stepName +
                           ", and this is not a whole number of steps later");
        }
    }
    if (!between || days.size() + between->size() + 1 > mostPeriods) {
        throw RunError(Following(earlier, later) + ": with the periods between them, more than " +
                       std::to_string(mostPeriods) + " periods");
    }
    days.insert(days.end(), between->begin(), between->end());
}

}  // namespace

std::vector<sys_days> PeriodDays(const std::vector<DatedRow>& dates, PeriodGaps gaps,
                                 std::size_t mostPeriods) {
    for (std::size_t at = 1; at < dates.size(); ++at) {
        const DatedRow& earlier = dates[at - 1];
        const DatedRow& later = dates[at];
        if (later.day == earlier.day) {
            throw RunError(PlaceOf(later) + " repeats the date " + IsoText(later.day) + " of " +
                           EarlierPlace(earlier, later));
        }
        if (later.day < earlier.day) {
            throw RunError(Following(earlier, later) +
                           ": the dates must go forward, one period after another");
        }
    }
    std::optional<DateStep> step;
    for (const DateStep candidate : {DateStep::day, DateStep::week, DateStep::month}) {
        for (std::size_t at = 1; at < dates.size() && !step; ++at) {
            if (IsStep(dates[at - 1].day, dates[at].day, candidate)) {
                step = candidate;
            }
        }
    }
    if (!step && dates.size() > 1) {
        throw RunError(Following(dates[0], dates[1]) + " after " +
                       std::to_string((dates[1].day - dates[0].day).count()) +
                       " days: the dates must step by a day, a week or a month");
    }
    std::vector<sys_days> days;
    for (std::size_t at = 0; at < dates.size(); ++at) {
        if (at > 0 && !IsStep(dates[at - 1].day, dates[at].day, *step)) {
            CheckGap(dates[at - 1], dates[at], *step, gaps, mostPeriods, days);
        }
        days.push_back(dates[at].day);
    }
    return days;
}

}  // namespace sf
