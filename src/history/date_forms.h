#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "state/history_choices.h"

namespace sf {

// The forms of a date that a sales history may hold, each with or without the time 00:00:00
// after a blank or a "T": 2024-03-01, 01.03.2024 (day first), 01/03/2024 or 03/01/2024 (as the
// whole column says) and the ISO week 2024-W09, which is read as its Monday.

// Which of day and month comes first in a date written with slashes.
enum class DateOrder { dayFirst, monthFirst };

// Written like a date: three groups of digits parted by "-", "." or "/" (2023-01-02,
// 02.01.2023, 1/2/2023) or an ISO week (2024-W09), whatever follows them.
bool LooksLikeDate(std::string_view cell);

// The day of an ISO date YYYY-MM-DD within blanks; empty for any other text and for a day the
// calendar does not have.
std::optional<std::chrono::sys_days> IsoDate(std::string_view cell);

// Why a cell is no date, to follow its quoted text: the forms that are read, a time of day that
// is not 00:00:00, or that the calendar has no such day (read in the order chosen).
std::string NotADateWhy(std::string_view cell, DateOrderChoice order = DateOrderChoice::found);

// The dates of one column, taken as they come and read as days once the whole column has told
// the order of day and month in its slashed dates (as the decimal separator is decided).
class DateColumn {
  public:
    explicit DateColumn(DateOrderChoice choice) : choice_(choice) {}

    // The cell's date as written, for Day; empty when it is no date of a form read or no day
    // of the calendar either way (in the order chosen, where the user chose one).
    std::optional<int> Take(std::string_view cell, int row);
    // The order of the column's slashed dates: the one chosen, else the one every date allows.
    // A RunError naming where(row) a date is when each reads both ways, or when one reads only
    // day first and another only month first.
    DateOrder Decide(const std::function<std::string(int row)>& where) const;
    // The day of a date Take gave, in the order Decide gave.
    static std::chrono::sys_days Day(int written, DateOrder order);
    // Whether any date taken was written with slashes, so that the order was read.
    bool AnySlashed() const { return bothWays_.row + dayFirst_.row + monthFirst_.row != 0; }

  private:
    struct Seen {
        int row = 0;
        std::string cell;
    };
    DateOrderChoice choice_;
    Seen bothWays_;    // the first slashed date that reads day first and month first
    Seen dayFirst_;    // the first that reads day first only
    Seen monthFirst_;  // the first that reads month first only
};

}  // namespace sf
