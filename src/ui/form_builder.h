#pragma once

#include <QWidget>

namespace sf::ui {

// Creates every control of the form on the window: named, captioned and placed as designed, the
// frame beneath the options drawn over it, and the focus moving in the order of the tab indexes.
void BuildForm(QWidget& window);

}  // namespace sf::ui
