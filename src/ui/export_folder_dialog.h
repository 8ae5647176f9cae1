#pragma once

#include <QString>
#include <QWidget>

namespace sf::ui {

// Asks for the folder an export goes into: an existing one, or the name of a new one, which the
// export creates. Empty when the user cancelled.
QString AskExportFolder(QWidget& parent, const QString& start);

}  // namespace sf::ui
