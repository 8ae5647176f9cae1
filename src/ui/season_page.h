#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

#include "results/run_series.h"
#include "ui/chart_builder.h"
#include "ui/chart_content.h"

namespace sf::ui {

// The season indices of one sales point over the positions 1..M, position 1 being period 1's;
// a closed position at 0.
ChartContent SeasonChart(const RunSeries& series, int salesPoint, const QString& caption);

// The indices of the sales point selected in the figures table, when the run had a season; a
// line saying why there is no chart otherwise (no season, or a row of several sales points).
class SeasonPage : public QWidget {
    Q_OBJECT

  public:
    SeasonPage();

    // salesPoint 0: the selected row is not one sales point.
    void Show(const RunSeries& series, int salesPoint, const QString& caption);
    ChartPanel& Chart() const { return *chart_; }

  private:
    QLabel* note_ = nullptr;
    ChartPanel* chart_ = nullptr;
};

}  // namespace sf::ui
