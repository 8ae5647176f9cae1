#include "ui/screen_numbers.h"

#include <QLocale>
#include <cmath>

namespace sf::ui {
namespace {

constexpr int kSumDecimals = 2;

}  // namespace

QString ScreenNumber(const std::optional<double>& value, int decimals) {
    if (!value) {
        return {};
    }
    if (std::abs(*value) >= kCompactFrom) {
        return QLocale().toString(*value, 'E', 1);
    }
    return QLocale().toString(*value, 'f', decimals);
}

QString ScreenSum(double value) {
    return ScreenNumber(value, std::trunc(value) == value ? 0 : kSumDecimals);
}

QString ScreenShort(double value, int decimals) {
    if (std::abs(value) >= kCompactFrom) {
        return ScreenNumber(value, decimals);
    }
    const double scale = std::pow(10.0, decimals);
    return QLocale().toString(std::round(value * scale) / scale, 'f',
                              QLocale::FloatingPointShortest);
}

QString ScreenTau(double tau) {
    return ScreenShort(tau, kTauDecimals);
}

QString FullNumber(double value) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> ScreenNumberFromText(const QString& text) {
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace sf::ui
