#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>
#include <memory>

#include "results/run_results.h"
#include "ui/chart_builder.h"
#include "ui/figures_table_model.h"
#include "ui/sales_point_source.h"

namespace sf::ui {

// Every sales point of a run by its figures, sortable by any column and filtered by a part of
// its name, beside the charts of the one selected. The page holds the figures of every sales
// point but the series of the selected one alone, asked of the run's source when it is selected
// (and drawn once the page is shown), so a catalogue of any size shows in little memory.
class SalesPointsPage : public QWidget {
    Q_OBJECT

  public:
    SalesPointsPage();

    // A run's sales points by their figures and names in the evaluation; caption names the run
    // in the charts' titles. The sales point selected stays selected where the run has it.
    void ShowRun(const RunResults& results, Evaluation evaluation, SalesPointSource source,
                 const QString& caption);
    // The same run in another evaluation: its series are not asked for again.
    void ShowEvaluation(const RunResults& results, Evaluation evaluation);

    // The sales point selected, by its number in the run; 0 for none.
    int Selected() const { return selected_; }
    // The chart of the tab shown.
    ChartPanel& Chart() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowRows(const RunResults& results, Evaluation evaluation);
    void Filter(const QString& text);
    void MarkSelected();
    void Select(int salesPoint);
    void DrawSelected();
    void CountShown();

    SalesPointSource source_;
    QString caption_;
    Evaluation evaluation_ = Evaluation::asForecast;
    int selected_ = 0;
    SalesPointResults shown_;  // of the sales point selected, once asked for
    bool drawn_ = false;       // the charts show the selection
    bool filling_ = false;     // the table is being filled: its selection is the page's

    QLabel* heading_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* count_ = nullptr;
    FiguresTableModel* figures_ = nullptr;
    FiguresSortModel* sorted_ = nullptr;
    QTableView* table_ = nullptr;
    QTabWidget* charts_ = nullptr;
    ChartPanel* demand_ = nullptr;
    ChartPanel* constants_ = nullptr;
};

}  // namespace sf::ui
