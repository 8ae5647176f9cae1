#include "ui/report_viewer.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace sf::ui {

void OpenInViewer(const QString& path, QObject& context,
                  const std::function<void(const QString& why)>& noViewer) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
            noViewer(QStringLiteral("the desktop has no viewer for it"));
        }
        return;
    }
    // Without a parent: a viewer the opener waits for outlives the window and the program.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    const QPointer<QObject> alive(&context);
    QObject::connect(process, &QProcess::finished, process,
                     [process, alive, noViewer](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (alive && (status != QProcess::NormalExit || exitCode != 0)) {
                             noViewer(QStringLiteral("the desktop has no viewer for it "
                                                     "(xdg-open ended with status %1)")
                                          .arg(exitCode));
                         }
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, alive, noViewer](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) {
                             return;  // the end is told by finished
                         }
                         process->deleteLater();
                         if (alive) {
                             noViewer(QStringLiteral("xdg-open could not be started"));
                         }
                     });
    process->start(opener, {path});
}

}  // namespace sf::ui
