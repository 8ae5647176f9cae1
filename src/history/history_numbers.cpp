#include "history/history_numbers.h"

#include "history/cell_text.h"
#include "runtime/number_locale.h"
#include "runtime/run_error.h"
#include "runtime/text_to_number.h"

namespace sf {
namespace {

const NumberLocale kDecimalPoint{".", ""};
const NumberLocale kDecimalComma{",", ""};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits and separators of a number, without its sign and exponent: "1.234,5" of
// "-1.234,5e3". Empty when the cell does not look like a number.
std::string_view Mantissa(std::string_view cell) {
    std::string_view text = WithoutBlanks(cell);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    std::size_t at = 0;
    bool digit = false;
    while (at < text.size() && (IsDigit(text[at]) || text[at] == '.' || text[at] == ',')) {
        digit = digit || IsDigit(text[at]);
        ++at;
    }
    if (!digit) {
        return {};
    }
    const std::string_view mantissa = text.substr(0, at);
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            ++at;
        }
        const std::size_t digits = at;
        while (at < text.size() && IsDigit(text[at])) {
            ++at;
        }
        if (at == digits) {
            return {};
        }
    }
    return at == text.size() ? mantissa : std::string_view();
}

// One to three digits, then groups of a point and three digits: 1.687, 12.345.678.
bool PointsBetweenThousands(std::string_view digits) {
    const std::size_t first = digits.find('.');
    if (first == std::string_view::npos || first == 0 || first > 3) {
        return false;
    }
    for (std::size_t at = 0; at < digits.size(); ++at) {
        const bool pointHere = at >= first && (at - first) % 4 == 0;
        if (pointHere ? digits[at] != '.' : !IsDigit(digits[at])) {
            return false;
        }
    }
    return (digits.size() - first) % 4 == 0;
}

// The cell with a decimal point in place of its decimal comma and without the points between
// its thousands; empty when a point stands anywhere else.
std::optional<std::string> WithDecimalPoint(std::string_view cell) {
    const std::string_view mantissa = Mantissa(cell);
    const std::string_view whole = mantissa.substr(0, mantissa.find(','));
    if (whole.find('.') != std::string_view::npos && !PointsBetweenThousands(whole)) {
        return std::nullopt;
    }
    std::string text;
    text.reserve(cell.size());
    for (const char c : cell) {
        if (c == ',') {
            text += '.';
        } else if (c != '.') {
            text += c;
        }
    }
    return text;
}

}  // namespace

bool LooksLikeNumber(std::string_view cell) {
    return !Mantissa(cell).empty();
}

bool IsWholeNumber(std::string_view cell) {
    const std::string_view text = WithoutBlanks(cell);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

void DecimalEvidence::See(std::string_view cell, int row, std::size_t column) {
    const std::string_view mantissa = Mantissa(cell);
    if (mantissa.find(',') != std::string_view::npos) {
        comma_ = true;
    } else if (mantissa.find('.') != std::string_view::npos) {
        point_ = true;
        if (!PointsBetweenThousands(mantissa)) {
            pointOnlyInGroups_ = false;
        } else if (groupedRow_ == 0) {
            groupedCell_ = cell;
            groupedRow_ = row;
            groupedColumn_ = column;
        }
    }
}

DecimalSeparator DecimalEvidence::Decide(char delimiter, DecimalChoice choice) const {
    switch (choice) {
        case DecimalChoice::comma:
            return DecimalSeparator::comma;
        case DecimalChoice::point:
            return DecimalSeparator::point;
        case DecimalChoice::found:
            break;
    }
    if (delimiter == ',' || !comma_) {
        if (delimiter != ',' && point_ && pointOnlyInGroups_) {
            throw RunError(RowName(groupedRow_) + ", column " + std::to_string(groupedColumn_ + 1) +
                           ": " + ShownCell(groupedCell_) +
                           " may have a decimal point or a point between thousands, and no "
                           "number in the file has a decimal comma to tell which: set the "
                           "decimal separator to a comma or a point");
        }
        return DecimalSeparator::point;
    }
    return DecimalSeparator::comma;
}

std::optional<double> HistoryNumber(std::string_view cell, DecimalSeparator separator) {
    if (separator == DecimalSeparator::point) {
        return TextToDouble(cell, kDecimalPoint);
    }
    if (cell.find('.') == std::string_view::npos) {
        return TextToDouble(cell, kDecimalComma);
    }
    const std::optional<std::string> text = WithDecimalPoint(cell);
    return text ? TextToDouble(*text, kDecimalPoint) : std::nullopt;
}

std::string NotANumberWhy(std::string_view cell, DecimalSeparator separator) {
    if (separator == DecimalSeparator::point) {
        const std::string_view reason = NotANumberReason(cell, kDecimalPoint);
        if (reason == kNotANumber && LooksLikeNumber(cell) &&
            cell.find(',') != std::string_view::npos) {
            return std::string(reason) + " with a decimal point";
        }
        return std::string(reason);
    }
    const std::optional<std::string> text = WithDecimalPoint(cell);
    if (!text) {
        return std::string(kNotANumber) +
               " with a decimal comma: a point may only stand between groups of three digits "
               "(1.234,5)";
    }
    return std::string(NotANumberReason(*text, kDecimalPoint));
}

std::string_view SeparatorName(DecimalSeparator separator) {
    return separator == DecimalSeparator::comma ? "comma" : "point";
}

}  // namespace sf
