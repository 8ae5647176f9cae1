#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "state/history_choices.h"

namespace sf {

enum class DecimalSeparator { point, comma };

// Meant as a number, whether or not it reads as one with either separator: blanks, a sign,
// digits among points and commas, an exponent.
bool LooksLikeNumber(std::string_view cell);

// A whole number as a sales point or a period is numbered: digits alone, within blanks.
bool IsWholeNumber(std::string_view cell);

// What the number cells a history reads tell about its decimal separator.
class DecimalEvidence {
  public:
    // A cell of the row and column a message would name them by.
    void See(std::string_view cell, int row, std::size_t column);

    // A comma when some number cell holds one, else a point. With a comma as the delimiter,
    // or when the user chose, that is the answer without a look. A RunError when no cell holds
    // a comma and every one with a point could be a thousands separator as well (1.687).
    DecimalSeparator Decide(char delimiter, DecimalChoice choice) const;

  private:
    bool comma_ = false;
    bool point_ = false;
    bool pointOnlyInGroups_ = true;  // every point sits between groups of three digits
    std::string groupedCell_;        // the first such cell, and where it is
    int groupedRow_ = 0;
    std::size_t groupedColumn_ = 0;
};

// A history's number: with a decimal comma, a point may separate the thousands (1.234,5).
// Empty when the cell holds no finite number.
std::optional<double> HistoryNumber(std::string_view cell, DecimalSeparator separator);

// Why a cell is no number, to follow its quoted text: "is not a number", what the decimal
// separator allows, or that a double cannot hold it. The empty cell is said to be empty.
std::string NotANumberWhy(std::string_view cell, DecimalSeparator separator);

// The separator's word, as the preview and a message show it.
std::string_view SeparatorName(DecimalSeparator separator);

}  // namespace sf
