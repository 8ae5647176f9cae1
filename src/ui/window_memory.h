#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <optional>

#include "runtime/number_locale.h"
#include "scenario/scenario.h"

namespace sf::ui {

// What the window keeps between starts, in the user's settings.
QSettings WindowSettings();

// The form as the user left it, kept as a scenario file's text; none when nothing was kept or
// what was kept no longer reads as a scenario.
std::optional<Scenario> RememberedForm(const QSettings& settings, const NumberLocale& locale);
void RememberForm(QSettings& settings, const Scenario& form, const NumberLocale& locale);

// The report path the user left; empty when none was kept.
QString RememberedReportPath(const QSettings& settings);
void RememberReportPath(QSettings& settings, const QString& path);

// Forgets the form and the report path, for a new scenario; recent files stay.
void ForgetForm(QSettings& settings);

// A window's size and place as the user left it (QWidget::saveGeometry), by the window's
// object name; empty when none was kept.
QByteArray RememberedPlace(const QSettings& settings, const QString& window);
void RememberPlace(QSettings& settings, const QString& window, const QByteArray& place);

// Files opened lately, the latest first, at most kRecentFiles of them.
inline constexpr int kRecentFiles = 8;
enum class RecentKind { scenario, salesHistory };
QStringList RecentFiles(const QSettings& settings, RecentKind kind);
void AddRecentFile(QSettings& settings, RecentKind kind, const QString& path);

// How a sales history was last read, so that it is read that way when it is opened again: kept
// as a scenario keeps a history's choices, every one of them, for the recent histories and the
// file just read. The choices found by the reader for a file without any kept.
HistoryChoices RememberedHistoryChoices(const QSettings& settings, const QString& path);
void RememberHistoryChoices(QSettings& settings, const QString& path,
                            const HistoryChoices& choices);

}  // namespace sf::ui
