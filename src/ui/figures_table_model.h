#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <optional>
#include <vector>

#include "results/figures.h"

namespace sf::ui {

// The number behind a cell, a double; no value where the figure has none (and in the sales
// point column of the row "all").
inline constexpr int kValueRole = Qt::UserRole;

// One evaluation's figures as summary.csv holds them: one row per sales point and a last row
// "all". Sales points whose forecasts diverged are marked.
class FiguresTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    // sound: sales point sp at sp - 1, whether its forecasts diverged in neither evaluation.
    void SetFigures(EvaluationFigures figures, std::vector<bool> sound);

    // The sales point a row shows, none for the row "all".
    std::optional<int> SalesPointOfRow(int row) const;
    int RowOfSalesPoint(int salesPoint) const { return salesPoint - 1; }
    int AllRow() const { return static_cast<int>(figures_.salesPoints.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    const Figures& FiguresOfRow(int row) const;

    EvaluationFigures figures_;
    std::vector<bool> sound_;
};

// Sorts by the numbers of a column, cells without a value first, and keeps the row "all" last
// in either order.
class FiguresSortModel : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    explicit FiguresSortModel(QObject* parent = nullptr);

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

// The rows of a table as the user sees them, header first, cells separated by tabs and rows by
// line feeds: numbers with every digit in the user's locale, other cells as shown.
QString TabSeparatedText(const QAbstractItemModel& table);

}  // namespace sf::ui
