#include "ui/results_folder_reading.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include "export_reader/opened_export.h"
#include "runtime/run_error.h"

namespace sf::ui {
namespace {

struct Reading {
    std::shared_ptr<CompletedRun> run;
    QString refusal;
};

Reading Read(const QString& folder, const NumberLocale& shownIn) {
    const std::filesystem::path path = QFile::encodeName(QDir::cleanPath(folder)).toStdString();
    try {
        OpenedExport opened = ReadExportFolder(path, shownIn);
        // No random source comes with it: its demand cannot be drawn again.
        return {std::make_shared<CompletedRun>(
                    CompletedRun{std::move(opened.results), std::move(opened.record),
                                 std::move(opened.health), std::nullopt, path}),
                {}};
    } catch (const RunError& refusal) {
        return {nullptr, QStringLiteral("The results folder \"%1\" could not be opened: %2.")
                             .arg(folder, QString::fromUtf8(refusal.what()))};
    }
}

}  // namespace

void ReadResultsFolder(QObject& owner, const QString& folder, const NumberLocale& shownIn,
                       ResultsFolderRead done) {
    auto reading = std::make_shared<Reading>();
    QThread* thread =
        QThread::create([reading, folder, shownIn] { *reading = Read(folder, shownIn); });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    // Queued to the owner and dropped with it.
    QObject::connect(thread, &QThread::finished, &owner,
                     [reading, done = std::move(done)] { done(reading->run, reading->refusal); });
    thread->start();
}

}  // namespace sf::ui
