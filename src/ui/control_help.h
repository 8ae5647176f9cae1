#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <span>
#include <string_view>

namespace sf::ui {

// What a box of the form means and which values it takes, shared by the box and the labels
// that name it: their tooltip, and an entry of the help page.
struct ControlHelp {
    std::string_view title;
    std::string_view text;
    std::array<std::string_view, 3> controls;  // object names; unused places are empty
};

// In the order of the form, top left to bottom right.
std::span<const ControlHelp> FormHelp();

// Gives every control of the form named in FormHelp() its tooltip.
void SetToolTips(QWidget& window);

// A tooltip's text as rich text, which wraps at a readable width.
QString WrappedToolTip(const QString& text);

}  // namespace sf::ui
