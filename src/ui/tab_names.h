#pragma once

#include <QString>
#include <QTabWidget>
#include <QWidget>

namespace sf::ui {

// A page's tab name in full, and a shorter one that keeps its meaning, for a tab bar too
// narrow for the full names side by side (a screen below 1,366 pixels). Each may hold a '&'
// before its key letter.
void SetTabNames(QWidget& page, const char* full, const char* shortName);
// The full name without its '&', as a file named after the tab takes it.
QString FullTabName(const QWidget& page);

// Every tab takes its page's full name where all of them fit the tab bar, else its short one,
// so that the bar shows every tab without scrolling; the tooltip holds the full name.
void FitTabNames(QTabWidget& tabs);

}  // namespace sf::ui
