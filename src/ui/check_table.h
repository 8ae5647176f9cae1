#pragma once

#include <QLabel>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QWidget>
#include <memory>

#include "results/run_results.h"

namespace sf::ui {

// The check on unseen periods: a box for T, and what every tau answer, chosen on the
// as_forecast periods before T, reached on the periods T..P, pooled over the sound sales
// points and per sales point, as check.csv holds it.
class CheckTable : public QWidget {
    Q_OBJECT

  public:
    CheckTable();

    // The run and what was asked of it; the box keeps its period where the run has it. No run:
    // one that keeps no series, which the table says cannot be checked here.
    void Show(std::shared_ptr<const RunResults> results, const ResultsRequest& request);
    // The period typed; none while the box says no check.
    std::optional<int> CheckFrom() const;
    // It asks for no room of its own: a splitter below the trade-off chart gives it what the
    // user drags open, so a small screen keeps the chart and the figures table.
    QSize minimumSizeHint() const override { return {0, 0}; }

  private:
    void Draw();

    QSpinBox* from_ = nullptr;
    QLabel* caption_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    std::shared_ptr<const RunResults> results_;
    ResultsRequest request_;
};

}  // namespace sf::ui
