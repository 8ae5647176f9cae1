#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "runtime/number_locale.h"
#include "ui/completed_run.h"

namespace sf::ui {

// Reads an export folder into a completed run on a thread of its own, so that the window stays
// alive while a large folder is read and checked, then hands the run, or the reason it was
// refused, to `done` on the thread of `owner`; nothing when `owner` is gone by then.
using ResultsFolderRead =
    std::function<void(std::shared_ptr<CompletedRun> run, const QString& refusal)>;
void ReadResultsFolder(QObject& owner, const QString& folder, const NumberLocale& shownIn,
                       ResultsFolderRead done);

}  // namespace sf::ui
