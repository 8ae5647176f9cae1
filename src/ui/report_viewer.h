#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace sf::ui {

// Opens a file in the desktop's viewer for it. Where the desktop's opener (xdg-open) is there,
// it is run and watched: it ends at once with an error when no viewer takes the file, which a
// detached start never hears of, so `noViewer` is called with what it said. Elsewhere the
// toolkit opens it, and `noViewer` is called when that fails. The call may come later, from the
// event loop, and not at all once `context` is gone.
void OpenInViewer(const QString& path, QObject& context,
                  const std::function<void(const QString& why)>& noViewer);

}  // namespace sf::ui
