#pragma once

#include <QString>

namespace sf::ui {

// Where the report goes when the user has not chosen: out.txt in the folder the program was
// started from, as the batch command writes it, unless that folder cannot be written (a
// launcher that starts in "/"); then out.txt in the home folder.
struct ReportLocation {
    QString path;
    bool fellBack = false;  // the start folder could not be written
};

ReportLocation DefaultReportLocation(const QString& startFolder, const QString& homeFolder);

}  // namespace sf::ui
