#pragma once

#include <QString>

namespace sf::ui {

// The help page (F1 and the Help menu), as rich text: how a run goes, the form's boxes, the
// options, the Results window, the two evaluations, every figure, warnings and notes, the sales
// history format, the scenario file and the shortcuts.
QString HelpPage();

}  // namespace sf::ui
