#pragma once

#include <QString>
#include <optional>

#include "ui/completed_run.h"

namespace sf::ui {

// What exporting a run did: why nothing was written, or the line that says what was.
struct WrittenExport {
    std::optional<QString> problem;
    QString said;
};

// Writes the export folder of a run. A folder that is, or would replace, the run's report or
// sales history, or that cannot be written, is refused before anything is written.
WrittenExport ExportRun(const QString& folder, const CompletedRun& run);

}  // namespace sf::ui
