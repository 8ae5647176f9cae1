#include "runtime/period_dates.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace sf {

using std::chrono::sys_days;
using std::chrono::year_month_day;

namespace {

// The same day of the next month, or the last day of the next month after a last day.
bool IsMonthAfter(sys_days earlier, sys_days later) {
    const year_month_day from{earlier};
    const year_month_day to{later};
    const std::chrono::year_month next =
        std::chrono::year_month(from.year(), from.month()) + std::chrono::months(1);
    return std::chrono::year_month(to.year(), to.month()) == next &&
           (to.day() == from.day() || (IsLastOfMonth(from) && IsLastOfMonth(to)));
}

std::optional<int> Digits(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() ||
        !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string IsoText(sys_days day) {
    const year_month_day date{day};
    char text[16];
    std::snprintf(text, sizeof(text), "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::optional<sys_days> IsoTextDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const std::optional<int> year = Digits(text.substr(0, 4));
    const std::optional<int> month = Digits(text.substr(5, 2));
    const std::optional<int> day = Digits(text.substr(8, 2));
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const year_month_day date{std::chrono::year(*year),
                              std::chrono::month(static_cast<unsigned>(*month)),
                              std::chrono::day(static_cast<unsigned>(*day))};
    return date.ok() ? std::optional(sys_days(date)) : std::nullopt;
}

bool IsLastOfMonth(const year_month_day& date) {
    return date.day() == year_month_day(std::chrono::year_month_day_last(
                                            date.year(), std::chrono::month_day_last(date.month())))
                             .day();
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

std::vector<std::string> ContinuedDates(const std::vector<std::string>& dates, int count) {
    const auto wanted = static_cast<std::size_t>(std::max(count, 0));
    std::vector<std::string> continued(dates.begin(),
                                       dates.begin() + std::min(wanted, dates.size()));
    std::vector<sys_days> days;
    for (const std::string& date : dates) {
        if (const std::optional<sys_days> day = IsoTextDay(date)) {
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
