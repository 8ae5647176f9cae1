#include "runtime/number_locale.h"

#include <clocale>

namespace sf {

NumberLocale ReadUserNumberLocale() {
    std::setlocale(LC_ALL, "");
    const std::lconv* conventions = std::localeconv();
    NumberLocale locale;
    if (conventions->decimal_point != nullptr && conventions->decimal_point[0] != '\0') {
        locale.decimalPoint = conventions->decimal_point;
    }
    // A locale that groups in no way has no separator to write.
    if (conventions->thousands_sep != nullptr && conventions->grouping != nullptr &&
        conventions->grouping[0] > 0) {
        locale.thousandsSeparator = conventions->thousands_sep;
    }
    return locale;
}

}  // namespace sf
