#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QWidget>
#include <optional>
#include <vector>

#include "results/next_deliveries.h"
#include "results/run_results.h"

namespace sf::ui {

// What to deliver in the periods after the last, as next.csv holds it: forecast, sigma and the
// deliveries at the run's tau and at the taus that answer the targets and the costs. Beside it
// the target cycle service level, whose tau gives deliveries too.
class NextDeliveriesPage : public QWidget {
    Q_OBJECT

  public:
    NextDeliveriesPage();

    // The target cycle service level typed; none when the box is empty or cannot be read,
    // which the page then says beside it.
    std::optional<double> TargetServiceLevel();
    // Whether the run shown can be asked again (see TradeoffPage::SetAskable).
    void SetAskable(bool askable);
    // The coming periods of a run, its rows next, at the taus its as_forecast answers give.
    void Show(const RunResults& results, const std::vector<NextDelivery>& next);
    // Puts the table on the clipboard as tab-separated text, header first, then the total to
    // decide now.
    void CopyTable();

  signals:
    void TargetChanged();

  private:
    QLineEdit* target_ = nullptr;
    QLabel* answer_ = nullptr;
    QLabel* caption_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    std::optional<QString> targetProblem_;
    QString total_;  // the proposals' total to decide now, in words
};

}  // namespace sf::ui
