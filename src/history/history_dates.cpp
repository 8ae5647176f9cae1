#include "history/history_dates.h"

#include <algorithm>
#include <cstdio>

#include "history/cell_text.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

enum class DateStep { day, week, month };

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits from `at` on, at least one and at most `most`; their count, or 0.
std::size_t Digits(std::string_view text, std::size_t at, std::size_t most) {
    std::size_t count = 0;
    while (at + count < text.size() && IsDigit(text[at + count])) {
        ++count;
    }
    return count <= most ? count : 0;
}

// The year, month and day of YYYY-MM-DD, in range or not.
std::optional<year_month_day> IsoFields(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || Digits(text, 0, 4) != 4 ||
        Digits(text, 5, 2) != 2 || Digits(text, 8, 2) != 2) {
        return std::nullopt;
    }
    const auto number = [&](std::size_t at, std::size_t count) {
        int value = 0;
        for (std::size_t digit = at; digit < at + count; ++digit) {
            value = value * 10 + (text[digit] - '0');
        }
        return value;
    };
    return year_month_day{std::chrono::year{number(0, 4)},
                          std::chrono::month{static_cast<unsigned>(number(5, 2))},
                          std::chrono::day{static_cast<unsigned>(number(8, 2))}};
}

bool IsLastOfMonth(const year_month_day& date) {
    return date.day() == year_month_day(std::chrono::year_month_day_last(
                                            date.year(), std::chrono::month_day_last(date.month())))
                             .day();
}

// The same day of the next month, or the last day of the next month after a last day.
bool IsMonthAfter(sys_days earlier, sys_days later) {
    const year_month_day from{earlier};
    const year_month_day to{later};
    const std::chrono::year_month next =
        std::chrono::year_month(from.year(), from.month()) + std::chrono::months(1);
    return std::chrono::year_month(to.year(), to.month()) == next &&
           (to.day() == from.day() || (IsLastOfMonth(from) && IsLastOfMonth(to)));
}

bool IsStep(sys_days earlier, sys_days later, DateStep step) {
    switch (step) {
        case DateStep::day:
            return (later - earlier).count() == 1;
        case DateStep::week:
            return (later - earlier).count() == 7;
        case DateStep::month:
            return IsMonthAfter(earlier, later);
    }
    return false;
}

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

// "row 5: 2023-01-23 follows 2023-01-09 of row 4"
std::string Following(const DatedRow& earlier, const DatedRow& later) {
    return RowName(later.row) + ": " + IsoText(later.day) + " follows " + IsoText(earlier.day) +
           " of " + RowName(earlier.row);
}

// The day `steps` steps after `last`; a month step lands on `monthDay` or the month's last day.
sys_days StepsAfter(sys_days last, DateStep step, int steps, std::chrono::day monthDay) {
    switch (step) {
        case DateStep::day:
            return last + std::chrono::days(steps);
        case DateStep::week:
            return last + std::chrono::weeks(steps);
        case DateStep::month:
            break;
    }
    const year_month_day from{last};
    const std::chrono::year_month month =
        std::chrono::year_month(from.year(), from.month()) + std::chrono::months(steps);
    const std::chrono::day lastDay =
        std::chrono::year_month_day_last(month.year(), std::chrono::month_day_last(month.month()))
            .day();
    return sys_days(year_month_day(month.year(), month.month(), std::min(monthDay, lastDay)));
}

}  // namespace

bool LooksLikeDate(std::string_view cell) {
    const std::string_view text = WithoutBlanks(cell);
    const std::size_t year = Digits(text, 0, 4);
    if (year == 0 || year >= text.size()) {
        return false;
    }
    const char separator = text[year];
    if (separator != '-' && separator != '.' && separator != '/') {
        return false;
    }
    const std::size_t month = Digits(text, year + 1, 2);
    const std::size_t second = year + 1 + month;
    return month != 0 && second < text.size() && text[second] == separator &&
           Digits(text, second + 1, 4) != 0;
}

std::optional<sys_days> IsoDate(std::string_view cell) {
    const std::optional<year_month_day> fields = IsoFields(WithoutBlanks(cell));
    if (!fields || !fields->ok()) {
        return std::nullopt;
    }
    return sys_days(*fields);
}

std::string NotADateWhy(std::string_view cell) {
    if (IsoFields(WithoutBlanks(cell))) {
        return "is not a day of the calendar";
    }
    return "is not a date in the form that is read, YYYY-MM-DD (such as 2023-01-31)";
}

std::string IsoText(sys_days day) {
    const year_month_day date{day};
    char text[16];
    std::snprintf(text, sizeof(text), "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

void CheckConsecutive(const std::vector<DatedRow>& dates) {
    for (std::size_t at = 1; at < dates.size(); ++at) {
        const DatedRow& earlier = dates[at - 1];
        const DatedRow& later = dates[at];
        if (later.day == earlier.day) {
            throw RunError(RowName(later.row) + " repeats the date " + IsoText(later.day) + " of " +
                           RowName(earlier.row));
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
    for (std::size_t at = 1; at < dates.size(); ++at) {
        const DatedRow& earlier = dates[at - 1];
        const DatedRow& later = dates[at];
        if (IsStep(earlier.day, later.day, *step)) {
            continue;
        }
        const std::string stepName(StepName(*step));
        if (IsBeyondStep(earlier.day, later.day, *step)) {
            throw RunError(Following(earlier, later) + " with a gap: the dates step by " +
                           stepName + ", so periods are missing between them");
        }
        throw RunError(Following(earlier, later) + ": the dates step by " + stepName +
                       ", and this is not " + stepName + " later");
    }
}

std::vector<std::string> ContinuedDates(const std::vector<std::string>& dates, int count) {
    const auto wanted = static_cast<std::size_t>(std::max(count, 0));
    std::vector<std::string> continued(dates.begin(),
                                       dates.begin() + std::min(wanted, dates.size()));
    std::vector<sys_days> days;
    for (const std::string& date : dates) {
        if (const std::optional<sys_days> day = IsoDate(date)) {
            days.push_back(*day);
        }
    }
    if (days.size() < 2 || days.size() != dates.size()) {
        continued.resize(wanted);
        return continued;
    }
    DateStep step = DateStep::month;
    for (const DateStep candidate : {DateStep::day, DateStep::week}) {
        if (IsStep(days[0], days[1], candidate)) {
            step = candidate;
        }
    }
    std::chrono::day monthDay{1};
    for (const sys_days day : days) {
        monthDay = std::max(monthDay, year_month_day(day).day());
    }
    for (int steps = 1; continued.size() < wanted; ++steps) {
        continued.push_back(IsoText(StepsAfter(days.back(), step, steps, monthDay)));
    }
    return continued;
}

}  // namespace sf
