#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <vector>

#include "state/sales_history.h"
#include "ui/message_sink.h"

namespace sf::ui {

// The window's way to run on a sales history instead of simulated demand. "Use sales history..."
// loads a file, "Use simulated demand" goes back. While a history is in use, the two count boxes
// show its numbers and, with the model's options and limits, take no input; the file's name and
// size stand under the model frame. A chosen or dropped file is shown in a preview first, where
// the user settles how it is read.
class SalesHistoryPanel : public QObject {
    Q_OBJECT

  public:
    SalesHistoryPanel(QWidget& window, MessageSink& messages);

    const std::optional<SalesHistory>& History() const { return history_; }
    // No file can be loaded or dropped during a run; afterwards the history keeps its lock.
    void SetRunning(bool running);
    // What the two buttons do, for the File menu too.
    void ChooseFile();
    void UseSimulatedDemand();
    // Opens the preview of the file at path with the choices it was last read with; OK there uses
    // it as read with the choices shown.
    void Preview(const QString& path);
    // Loads the file at path without a preview, read as it was last time (or as the reader finds
    // it); true when it is in use.
    bool UseFile(const QString& path);
    // The history a scenario names, read again as it says; false, with the reason shown, when
    // it cannot be (it is gone, say).
    bool UseScenarioHistory(const HistorySource& source, const std::filesystem::path& scenarioFile);
    // The history the form was left with, read again with the choices it was read with then;
    // none when it is in use, else why it cannot be (it is gone, or no longer reads), for the
    // status line: a new start shows no message box.
    std::optional<QString> UseRememberedHistory(const HistorySource& source);

  signals:
    // A file was loaded and is in use.
    void FileUsed(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Use(SalesHistory history);
    static void RememberFolder(const QString& path);
    void ApplyLock();

    QWidget& window_;
    MessageSink& messages_;
    QPushButton* useSalesHistory_;
    QPushButton* useSimulatedDemand_;
    QLabel* demandSource_;
    QLineEdit* salesPoints_;
    QLineEdit* periods_;
    std::vector<QWidget*> modelInputs_;  // what a history makes meaningless
    // The texts typed in the count boxes before a history took them over.
    QString typedSalesPoints_;
    QString typedPeriods_;
    std::optional<SalesHistory> history_;
    bool running_ = false;
};

}  // namespace sf::ui
