#pragma once

#include <QLabel>
#include <QTableView>
#include <QWidget>
#include <vector>

#include "results/run_results.h"
#include "ui/figures_table_model.h"

namespace sf::ui {

// The figures table under its caption: a run's figures per sales point, sortable by any column
// with the rows "sound" and "all" last, or the runs compared side by side. The page keeps the
// row whose series the charts show.
class FiguresPage : public QWidget {
    Q_OBJECT

  public:
    FiguresPage();

    // A run's figures per sales point in the evaluation; the row selected stays selected where
    // the run has it, else the nearest sales point.
    void ShowSalesPoints(const RunResults& results, Evaluation evaluation);
    // The figures of runs compared, a row each, over the sound sales points common to them:
    // sound of the of sales points.
    void ShowRuns(std::vector<FiguresRow> rows, Evaluation evaluation, int sound, int of);
    // A sales point, "sound" or "all": the last such row selected.
    RowSubject SelectedRow() const { return selected_; }
    // Puts the table on the clipboard as tab-separated text, as sorted, header first.
    void CopyTable();
    void FocusTable() { table_->setFocus(); }

  signals:
    void RowSelected();
    void Copied();

  private:
    void SelectRow(const RowSubject& row);
    void AddTableKeys();

    RowSubject selected_{RowSubject::Kind::salesPoint, 1};

    QLabel* caption_ = nullptr;
    FiguresTableModel* figures_ = nullptr;
    FiguresSortModel* sorted_ = nullptr;
    QTableView* table_ = nullptr;
};

}  // namespace sf::ui
