#pragma once

#include <QWidget>

namespace sf::ui {

// A text box takes Ctrl with a letter for its own line editing (Ctrl+E: end of line), which
// would swallow the window's shortcuts while the cursor is in a box. This lets every Ctrl
// shortcut through from the boxes of window, now and added later, except the editing keys
// (copy, cut, paste, undo, redo, select all), which stay the box's.
void LetShortcutsThroughBoxes(QWidget& window);

}  // namespace sf::ui
