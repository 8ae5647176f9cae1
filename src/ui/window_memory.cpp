#include "ui/window_memory.h"

#include <QFile>
#include <QFileInfo>
#include <QVariantMap>
#include <string>

#include "runtime/run_error.h"
#include "scenario/scenario_format.h"

namespace sf::ui {
namespace {

constexpr char kFormKey[] = "form/scenario";
constexpr char kReportKey[] = "form/report";
constexpr char kHistoryChoicesKey[] = "recent/salesHistoryChoices";

QString RecentKey(RecentKind kind) {
    return kind == RecentKind::scenario ? QStringLiteral("recent/scenarios")
                                        : QStringLiteral("recent/salesHistories");
}

std::filesystem::path FilePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

QSettings WindowSettings() {
    return QSettings(QStringLiteral("sales-forecast"), QStringLiteral("sales-forecast"));
}

std::optional<Scenario> RememberedForm(const QSettings& settings, const NumberLocale& locale) {
    const QByteArray text = settings.value(kFormKey).toString().toUtf8();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    try {
        return ParseScenario(std::string_view(text.constData(), text.size()), locale);
    } catch (const RunError&) {
        // Kept by another version or edited by hand: the form starts as described instead.
        return std::nullopt;
    }
}

void RememberForm(QSettings& settings, const Scenario& form, const NumberLocale& locale) {
    try {
        settings.setValue(kFormKey, QString::fromStdString(ScenarioText(form, locale)));
    } catch (const RunError&) {
        // A box a scenario cannot hold: what was kept before stays.
    }
}

QString RememberedReportPath(const QSettings& settings) {
    return settings.value(kReportKey).toString();
}

void RememberReportPath(QSettings& settings, const QString& path) {
    settings.setValue(kReportKey, path);
}

void ForgetForm(QSettings& settings) {
    settings.remove(kFormKey);
    settings.remove(kReportKey);
}

QByteArray RememberedPlace(const QSettings& settings, const QString& window) {
    return settings.value(QStringLiteral("places/") + window).toByteArray();
}

void RememberPlace(QSettings& settings, const QString& window, const QByteArray& place) {
    settings.setValue(QStringLiteral("places/") + window, place);
}

QStringList RecentFiles(const QSettings& settings, RecentKind kind) {
    return settings.value(RecentKey(kind)).toStringList();
}

void AddRecentFile(QSettings& settings, RecentKind kind, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles(settings, kind);
    files.removeAll(absolute);
    files.prepend(absolute);
    settings.setValue(RecentKey(kind), files.mid(0, kRecentFiles));
}

HistoryChoices RememberedHistoryChoices(const QSettings& settings, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QByteArray text =
        settings.value(kHistoryChoicesKey).toMap().value(absolute).toString().toUtf8();
    try {
        const HistorySource kept =
            ParseHistorySource(std::string_view(text.constData(), text.size()));
        return kept.path == FilePath(absolute) ? kept.choices : HistoryChoices{};
    } catch (const RunError&) {
        return {};  // none kept, or kept by another version: the reader finds them
    }
}

void RememberHistoryChoices(QSettings& settings, const QString& path,
                            const HistoryChoices& choices) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QVariantMap kept = settings.value(kHistoryChoicesKey).toMap();
    // Only the recent histories' choices stay, and the file's just read.
    const QStringList recent = RecentFiles(settings, RecentKind::salesHistory);
    for (const QString& file : kept.keys()) {
        if (!recent.contains(file)) {
            kept.remove(file);
        }
    }
    try {
        kept.insert(absolute,
                    QString::fromStdString(HistorySourceText({FilePath(absolute), choices})));
    } catch (const RunError&) {
        return;  // columns that are not UTF-8: the file is read as found when opened again
    }
    settings.setValue(kHistoryChoicesKey, kept);
}

}  // namespace sf::ui
