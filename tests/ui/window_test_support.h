#pragma once

// What the window suites share: messages kept instead of shown, and the batch command's report
// for the same inputs.
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>

#include "runtime/number_locale.h"
#include "state/box_keys.h"
#include "ui/forecast_window.h"
#include "ui/history_preview_dialog.h"
#include "ui/message_sink.h"

class RecordingMessages : public sf::ui::MessageSink {
  public:
    void ShowNotice(QWidget&, const QString& text) override { notices << text; }
    void ShowClosingMessage(QWidget&, const QString& text) override {
        closings << text;
        order << "closing";
    }
    void ShowError(QWidget&, const QString& text) override { errors << text; }
    void ShowWarning(QWidget&, const QString& text) override {
        warnings << text;
        order << "warning";
    }
    bool Ask(QWidget&, const QString& text) override {
        questions << text;
        return answer;
    }

    QStringList notices;
    QStringList closings;
    QStringList errors;
    QStringList warnings;
    QStringList order;  // of the closing messages and the warnings
    QStringList questions;
    bool answer = false;  // to every question
};

// A Forecast form of its own, shown, its messages recorded in *messages.
inline std::unique_ptr<sf::ui::ForecastWindow> OpenForm(RecordingMessages*& messages) {
    auto recording = std::make_unique<RecordingMessages>();
    messages = recording.get();
    auto form =
        std::make_unique<sf::ui::ForecastWindow>(sf::ReadUserNumberLocale(), std::move(recording));
    form->show();
    return form;
}

// Waits for the sales history preview the form opened and for its read, then presses OK when
// the file reads, else Cancel. The refusal the preview showed, empty when OK was pressed.
inline QString AnswerHistoryPreview(QWidget& form) {
    sf::ui::HistoryPreviewDialog* preview = nullptr;
    QLabel* refusal = nullptr;
    const bool read = QTest::qWaitFor([&] {
        for (auto* open : form.findChildren<sf::ui::HistoryPreviewDialog*>()) {
            if (open->isVisible()) {
                preview = open;
                refusal = open->findChild<QLabel*>(QStringLiteral("HistoryRefusal"));
                return refusal->text() != QStringLiteral("Reading...");
            }
        }
        return false;
    });
    if (!read) {
        return QStringLiteral("no preview was read");
    }
    if (preview->History()) {
        preview->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return QString();
    }
    const QString refused = refusal->text();
    preview->reject();
    return refused;
}

inline QStringList Words(const char* text) {
    return QString(text).split(' ');
}

// The text box that a box option of the batch command fills.
inline QString BoxOfOption(const QString& option) {
    for (const sf::BoxKey& box : sf::kBoxKeys) {
        if (option == "--" + QString::fromUtf8(box.key)) {
            return QString::fromUtf8(box.control);
        }
    }
    qFatal("no box option %s", qPrintable(option));
}

// A message names the report by its full path, which differs from folder to folder.
inline QString InAnyFolder(QString message, const QString& folder) {
    return message.replace(QDir(folder).canonicalPath(), "<folder>");
}

inline const QByteArray kLastReport = "the last report\r\n";

// Empty when there is no such file.
inline QByteArray ReadReport(const QString& name = "out.txt") {
    QFile report(name);
    return report.open(QIODevice::ReadOnly) ? report.readAll() : QByteArray();
}

inline void WriteLastReport(const QString& name = "out.txt") {
    QFile report(name);
    report.open(QIODevice::WriteOnly);
    report.write(kLastReport);
}

// The batch command's run over the last report.
struct BatchResult {
    QByteArray report;
    QByteArray incomplete;  // the lines of a run that stopped part-way
    QString output;
    QString errors;    // the notices or the failure, its folder written <folder>
    QString warnings;  // after a complete run
};

inline BatchResult RunBatchCommand(const QStringList& arguments) {
    QTemporaryDir folder;
    WriteLastReport(folder.filePath("out.txt"));
    QProcess batch;
    batch.setWorkingDirectory(folder.path());
    batch.start(SALES_FORECAST_CLI, arguments);
    batch.waitForFinished(60000);
    QStringList errors;
    QStringList warnings;
    // A warning's line names the run it comes from, which the window's warning does not.
    static const QRegularExpression warning("^Warning: .+?, run \\d+: ");
    for (const QString& line : QString::fromLocal8Bit(batch.readAllStandardError()).split('\n')) {
        if (const QRegularExpressionMatch match = warning.match(line); match.hasMatch()) {
            warnings << line.mid(match.capturedLength());
        } else if (!line.isEmpty()) {
            errors << line;
        }
    }
    return {ReadReport(folder.filePath("out.txt")),
            ReadReport(folder.filePath("out.txt.incomplete")),
            QString::fromLocal8Bit(batch.readAllStandardOutput()).trimmed(),
            InAnyFolder(errors.join('\n'), folder.path()), warnings.join('\n')};
}
