#include "history/date_forms.h"

#include "history/cell_text.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

enum class DateForm { iso, dotted, slashed, week };

// A date as its cell writes it: the year and the two numbers after or before it, in the order
// written (for a week, the week and 0).
struct WrittenDate {
    DateForm form;
    int year;
    int first;
    int second;
};

enum class TimeOfDay { none, midnight, other };

// Slashed dates keep the order they are written in until the column decides it.
constexpr int kSlashed = 100'000'000;
constexpr char kMidnight[] = "00:00:00";

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

int Number(std::string_view digits) {
    int value = 0;
    for (const char digit : digits) {
        value = value * 10 + (digit - '0');
    }
    return value;
}

// Three groups of digits parted by one separator, their widths within the bounds given.
std::optional<WrittenDate> Groups(std::string_view text, char separator, DateForm form,
                                  std::array<std::size_t, 3> least,
                                  std::array<std::size_t, 3> most) {
    std::array<int, 3> numbers{};
    std::size_t at = 0;
    for (std::size_t group = 0; group < 3; ++group) {
        const std::size_t count = Digits(text, at, most[group]);
        if (count < least[group] || count == 0) {
            return std::nullopt;
        }
        numbers[group] = Number(text.substr(at, count));
        at += count;
        if (group < 2 && (at >= text.size() || text[at++] != separator)) {
            return std::nullopt;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    if (form == DateForm::iso) {
        return WrittenDate{form, numbers[0], numbers[1], numbers[2]};
    }
    return WrittenDate{form, numbers[2], numbers[0], numbers[1]};
}

std::optional<WrittenDate> DateFields(std::string_view text) {
    if (text.size() == 8 && text.substr(4, 2) == "-W" && Digits(text, 0, 4) == 4 &&
        Digits(text, 6, 2) == 2) {
        return WrittenDate{DateForm::week, Number(text.substr(0, 4)), Number(text.substr(6)), 0};
    }
    if (auto iso = Groups(text, '-', DateForm::iso, {4, 2, 2}, {4, 2, 2})) {
        return iso;
    }
    if (auto dotted = Groups(text, '.', DateForm::dotted, {1, 1, 4}, {2, 2, 4})) {
        return dotted;
    }
    return Groups(text, '/', DateForm::slashed, {1, 1, 4}, {2, 2, 4});
}

// The date part of a cell and what follows it: nothing, the time 00:00:00 or another.
std::optional<WrittenDate> Written(std::string_view cell, TimeOfDay& time) {
    std::string_view text = WithoutBlanks(cell);
    time = TimeOfDay::none;
    const std::size_t end = text.find_first_of(" \tT");
    if (end != std::string_view::npos) {
        const std::string_view after = WithoutBlanks(text.substr(end + 1));
        time = after == kMidnight ? TimeOfDay::midnight : TimeOfDay::other;
        text = text.substr(0, end);
    }
    return DateFields(text);
}

std::optional<sys_days> CalendarDay(int year, int month, int day) {
    const year_month_day date{std::chrono::year{year},
                              std::chrono::month{static_cast<unsigned>(month)},
                              std::chrono::day{static_cast<unsigned>(day)}};
    return date.ok() ? std::optional<sys_days>(date) : std::nullopt;
}

// The Monday of an ISO week; week 1 holds the year's first Thursday.
std::optional<sys_days> WeekMonday(int year, int week) {
    const sys_days fourth{std::chrono::year{year} / std::chrono::January / 4};
    const sys_days monday = fourth -
                            std::chrono::days(std::chrono::weekday(fourth).iso_encoding() - 1) +
                            std::chrono::weeks(week - 1);
    const bool inYear =
        year_month_day(monday + std::chrono::days(3)).year() == std::chrono::year{year};
    return week >= 1 && week <= 53 && inYear ? std::optional<sys_days>(monday) : std::nullopt;
}

std::optional<sys_days> InOrder(const WrittenDate& date, DateOrder order) {
    switch (date.form) {
        case DateForm::week:
            return WeekMonday(date.year, date.first);
        case DateForm::iso:
            return CalendarDay(date.year, date.first, date.second);
        case DateForm::dotted:
            return CalendarDay(date.year, date.second, date.first);
        case DateForm::slashed:
            break;
    }
    return order == DateOrder::dayFirst ? CalendarDay(date.year, date.second, date.first)
                                        : CalendarDay(date.year, date.first, date.second);
}

int Packed(int year, int first, int second) {
    return year * 10'000 + first * 100 + second;
}

std::string_view OrderName(DateOrder order) {
    return order == DateOrder::dayFirst ? "day first (DD/MM/YYYY)" : "month first (MM/DD/YYYY)";
}

}  // namespace

bool LooksLikeDate(std::string_view cell) {
    const std::string_view text = WithoutBlanks(cell);
    const std::size_t year = Digits(text, 0, 4);
    if (year == 4 && text.substr(4, 2) == "-W") {
        return true;
    }
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
    const std::optional<WrittenDate> date = DateFields(WithoutBlanks(cell));
    if (!date || date->form != DateForm::iso) {
        return std::nullopt;
    }
    return InOrder(*date, DateOrder::dayFirst);
}

std::string NotADateWhy(std::string_view cell, DateOrderChoice order) {
    TimeOfDay time = TimeOfDay::none;
    const std::optional<WrittenDate> date = Written(cell, time);
    if (!date) {
        return "is not a date in a form that is read: YYYY-MM-DD, DD.MM.YYYY, DD/MM/YYYY, "
               "MM/DD/YYYY or the week YYYY-Www, each with or without the time 00:00:00";
    }
    if (time == TimeOfDay::other) {
        return "has a time of day other than 00:00:00: a period is a day, a week or a month";
    }
    if (date->form == DateForm::week) {
        return "is not a week of that year";
    }
    if (date->form == DateForm::slashed && order != DateOrderChoice::found) {
        const DateOrder chosen =
            order == DateOrderChoice::dayFirst ? DateOrder::dayFirst : DateOrder::monthFirst;
        return "is not a day of the calendar read " + std::string(OrderName(chosen));
    }
    return "is not a day of the calendar";
}

std::optional<int> DateColumn::Take(std::string_view cell, int row) {
    TimeOfDay time = TimeOfDay::none;
    const std::optional<WrittenDate> date = Written(cell, time);
    if (!date || time == TimeOfDay::other) {
        return std::nullopt;
    }
    if (date->form != DateForm::slashed) {
        const std::optional<sys_days> day = InOrder(*date, DateOrder::dayFirst);
        if (!day) {
            return std::nullopt;
        }
        const year_month_day fields{*day};
        return Packed(static_cast<int>(fields.year()), static_cast<int>(unsigned(fields.month())),
                      static_cast<int>(unsigned(fields.day())));
    }
    const bool dayFirst = InOrder(*date, DateOrder::dayFirst).has_value();
    const bool monthFirst = InOrder(*date, DateOrder::monthFirst).has_value();
    const bool readable = choice_ == DateOrderChoice::dayFirst     ? dayFirst
                          : choice_ == DateOrderChoice::monthFirst ? monthFirst
                                                                   : dayFirst || monthFirst;
    if (!readable) {
        return std::nullopt;
    }
    Seen& seen = dayFirst && monthFirst ? bothWays_ : dayFirst ? dayFirst_ : monthFirst_;
    if (seen.row == 0) {
        seen = {row, std::string(cell)};
    }
    return kSlashed + Packed(date->year, date->first, date->second);
}

DateOrder DateColumn::Decide(const std::function<std::string(int row)>& where) const {
    switch (choice_) {
        case DateOrderChoice::dayFirst:
            return DateOrder::dayFirst;
        case DateOrderChoice::monthFirst:
            return DateOrder::monthFirst;
        case DateOrderChoice::found:
            break;
    }
    if (dayFirst_.row != 0 && monthFirst_.row != 0) {
        throw RunError(where(monthFirst_.row) + ": " + ShownCell(monthFirst_.cell) +
                       " reads month first only, and " + ShownCell(dayFirst_.cell) + " of " +
                       RowName(dayFirst_.row) +
                       " day first only: the dates of a column are written one way");
    }
    if (bothWays_.row != 0 && dayFirst_.row == 0 && monthFirst_.row == 0) {
        throw RunError(where(bothWays_.row) + ": " + ShownCell(bothWays_.cell) +
                       " may be day first or month first, and no date in the column tells "
                       "which: set the date order to day first (dmy) or month first (mdy)");
    }
    return monthFirst_.row != 0 ? DateOrder::monthFirst : DateOrder::dayFirst;
}

sys_days DateColumn::Day(int written, DateOrder order) {
    const bool slashed = written >= kSlashed;
    const int fields = slashed ? written - kSlashed : written;
    const WrittenDate date{slashed ? DateForm::slashed : DateForm::iso, fields / 10'000,
                           fields / 100 % 100, fields % 100};
    // Take gave only dates that read in the order the column decides.
    return InOrder(date, order).value_or(sys_days{});
}

}  // namespace sf
