#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QString>
#include <QTableView>
#include <optional>
#include <vector>

#include "results/figures.h"
#include "results/run_results.h"

namespace sf::ui {

// The number behind a cell, a double; no value where the figure has none (and in the first
// column of the rows "sound" and "all").
inline constexpr int kValueRole = Qt::UserRole;

// What a row of the figures table stands for.
struct RowSubject {
    enum class Kind { salesPoint, sound, all, run };
    Kind kind = Kind::all;
    int number = 0;  // the sales point's, or the run's place in the list of runs

    bool operator==(const RowSubject&) const = default;
};

struct FiguresRow {
    RowSubject subject;
    QString label;  // the first column: the sales point's name, "sound", "all" or the run
    Figures figures;
    bool diverged = false;  // marked, with the reason in its tooltip
};

// One evaluation's figures per sales point as summary.csv holds them, then the rows "sound" and
// "all"; the sales points are named as the run names them.
std::vector<FiguresRow> SalesPointRows(const RunResults& results, Evaluation evaluation);

// The figures of a table, a row each: the columns of summary.csv after a first column that
// names the row. The rows "sound" and "all" stay last however the table is sorted.
class FiguresTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    // firstHeading and its tooltip name what the rows are: sales points or runs.
    void SetRows(std::vector<FiguresRow> rows, const QString& firstHeading,
                 const QString& firstDescription);

    RowSubject SubjectOfRow(int row) const;
    // -1 when no row stands for it.
    int RowOf(const RowSubject& subject) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    std::vector<FiguresRow> rows_;
    QString firstHeading_;
    QString firstDescription_;
};

// Sorts by the numbers of a column, cells without a value first, and keeps the rows "sound"
// and "all" last, in that order, either way.
class FiguresSortModel : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    explicit FiguresSortModel(QObject* parent = nullptr);

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

// A table of figures as every page shows one: sorted by the first column, whole rows selected one
// at a time, Tab leaving it, compact rows without numbers.
QTableView* NewFiguresTable(QSortFilterProxyModel* sorted, const QString& name);

// The rows of a table as the user sees them, header first, cells separated by tabs and rows by
// line feeds: numbers with every digit in the user's locale, other cells as shown.
QString TabSeparatedText(const QAbstractItemModel& table);

}  // namespace sf::ui
