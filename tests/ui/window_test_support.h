#pragma once

// What the window suites share: messages kept instead of shown, and the batch command's report
// for the same inputs.
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <map>

#include "ui/message_sink.h"

class RecordingMessages : public sf::ui::MessageSink {
  public:
    void ShowNotice(QWidget&, const QString& text) override { notices << text; }
    void ShowClosingMessage(QWidget&, const QString& text) override { closings << text; }
    void ShowError(QWidget&, const QString& text) override { errors << text; }

    QStringList notices;
    QStringList closings;
    QStringList errors;
};

inline QStringList Words(const char* text) {
    return QString(text).split(' ');
}

// The batch command's option for each box.
inline const std::map<QString, QString> kBoxOfOption = {
    {"--sales-points", "Endpointnumber"},
    {"--periods", "Periodnumber"},
    {"--init-periods", "periodsforinitialization"},
    {"--alpha-beta-periods", "periodsforalphabeta"},
    {"--warm-up", "warmuptx"},
    {"--horizon", "horizontx"},
    {"--tau", "tau_tx"},
    {"--p1-low", "p1low"},
    {"--p1-up", "p1up"},
    {"--p2-low", "p2low"},
    {"--p2-up", "p2up"},
    {"--p3", "p3"},
};

struct BatchResult {
    QByteArray report;
    QString output;
    QString errors;    // the notices or the failure
    QString warnings;  // after a complete run
};

inline BatchResult RunBatchCommand(const QStringList& arguments) {
    QTemporaryDir folder;
    QProcess batch;
    batch.setWorkingDirectory(folder.path());
    batch.start(SALES_FORECAST_CLI, arguments);
    batch.waitForFinished(60000);
    QFile report(folder.filePath("out.txt"));
    report.open(QIODevice::ReadOnly);
    QStringList errors;
    QStringList warnings;
    for (const QString& line : QString::fromLocal8Bit(batch.readAllStandardError()).split('\n')) {
        if (line.startsWith("Warning: ")) {
            warnings << line.mid(9);
        } else if (!line.isEmpty()) {
            errors << line;
        }
    }
    return {report.readAll(), QString::fromLocal8Bit(batch.readAllStandardOutput()).trimmed(),
            errors.join('\n'), warnings.join('\n')};
}

inline QByteArray ReadReport() {
    QFile report("out.txt");
    report.open(QIODevice::ReadOnly);
    return report.readAll();
}
