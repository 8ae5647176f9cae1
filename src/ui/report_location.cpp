#include "ui/report_location.h"

#include <QDir>
#include <QFileInfo>

namespace sf::ui {
namespace {

constexpr char kReportName[] = "out.txt";

}  // namespace

ReportLocation DefaultReportLocation(const QString& startFolder, const QString& homeFolder) {
    const QFileInfo start(startFolder);
    const bool writable = start.isDir() && start.isWritable();
    return {QDir(writable ? startFolder : homeFolder).absoluteFilePath(kReportName), !writable};
}

}  // namespace sf::ui
