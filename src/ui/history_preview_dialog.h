#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <optional>

#include "history/history_layout.h"
#include "state/history_choices.h"
#include "state/sales_history.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QTableWidget;

namespace sf::ui {

// Shows a sales history file as the program will read it before it is used: the first periods
// of every sales point, what the reader found (shape, encoding, delimiter, decimal separator,
// columns, periods filled) and
// the choices that settle what the file does not. Each change of a choice reads the file again,
// off the user-interface thread; the newest read wins. A refusal stands in the dialog and keeps
// OK disabled.
class HistoryPreviewDialog : public QDialog {
    Q_OBJECT

  public:
    // Opens with the choices given, as the file was last read.
    HistoryPreviewDialog(const QString& path, const HistoryChoices& choices, QWidget* parent);

    // The file as read with the choices shown; none while it is read or when it is refused.
    const std::optional<SalesHistory>& History() const { return history_; }

  signals:
    // The newest read is shown.
    void ReadFinished();

  private:
    struct Reading {
        std::optional<SalesHistory> history;
        HistoryLayout layout;
        QString refusal;
    };
    static Reading Read(const QString& path, const HistoryChoices& choices);

    void ReadAgain();
    void Show(const Reading& reading);
    void ShowHistory(const SalesHistory& history);
    void ShowCells(const HistoryLayout& layout);
    void FillColumnChoices(const HistoryLayout& layout);
    void TakeChoices();

    QString path_;
    HistoryChoices choices_;
    std::optional<SalesHistory> history_;
    int newestRead_ = 0;
    QLabel* found_;
    QLabel* refusal_;
    QTableWidget* rows_;
    QComboBox* header_;
    QComboBox* decimal_;
    QComboBox* missing_;
    QComboBox* dateOrder_;
    QComboBox* encoding_;
    QComboBox* layout_;
    QComboBox* duplicates_;
    std::array<QComboBox*, 3> columns_{};  // name, period, demand
    QDialogButtonBox* buttons_;
};

}  // namespace sf::ui
