#include "ui/figures_table_model.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QStyle>
#include <array>
#include <utility>

#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

// How a column shows its numbers.
enum class Shown { salesPoint, sum, rate, error, constant, count, flag };

struct Column {
    const char* header;  // a line feed where a narrow column breaks it
    const char* explanation;
    Shown shown;
    std::optional<double> (*value)(const Figures&);
};

constexpr int kErrorDecimals = 3;

// In the order of summary.csv.
constexpr std::array<Column, 16> kColumns = {{
    {"Sales\npoint", "The sales point; \"all\" sums every sales point", Shown::salesPoint, nullptr},
    {"Demand", "Demand summed over the outcome window S..P", Shown::sum,
     [](const Figures& f) -> std::optional<double> { return f.demand; }},
    {"Sales", "Sales summed over the outcome window, as in the report", Shown::sum,
     [](const Figures& f) -> std::optional<double> { return f.sales; }},
    {"Lost\nsales", "Lost sales summed over the outcome window, as in the report", Shown::sum,
     [](const Figures& f) -> std::optional<double> { return f.lostSales; }},
    {"Returns", "Returns summed over the outcome window, as in the report", Shown::sum,
     [](const Figures& f) -> std::optional<double> { return f.returns; }},
    {"Deliveries", "Deliveries summed over the outcome window", Shown::sum,
     [](const Figures& f) -> std::optional<double> { return f.deliveries; }},
    {"Fill\nrate", "Sales / demand", Shown::rate, [](const Figures& f) { return f.fillRate; }},
    {"Cycle service\nlevel", "The share of periods without a lost sale", Shown::rate,
     [](const Figures& f) { return f.cycleServiceLevel; }},
    {"Return\nrate", "Returns / deliveries", Shown::rate,
     [](const Figures& f) { return f.returnRate; }},
    {"Bias", "The mean of forecast - demand", Shown::error,
     [](const Figures& f) { return f.bias; }},
    {"MAE", "The mean of |forecast - demand|", Shown::error,
     [](const Figures& f) { return f.mae; }},
    {"RMSE", "The root of the mean of (forecast - demand)²", Shown::error,
     [](const Figures& f) { return f.rmse; }},
    {"Mean\nα", "The mean of the alphas the periods of the rolling forecast used", Shown::constant,
     [](const Figures& f) { return f.alphaMean; }},
    {"Mean\nβ", "The mean of the betas the periods of the rolling forecast used", Shown::constant,
     [](const Figures& f) { return f.betaMean; }},
    {"Unstable", "A smoothing constant left 0..1 or sigma fell below 0; for all, how many",
     Shown::flag, [](const Figures& f) -> std::optional<double> { return f.unstable; }},
    {"Negative\ndeliveries", "How many deliveries were below 0", Shown::count,
     [](const Figures& f) -> std::optional<double> { return f.negativeDeliveries; }},
}};

const Column& ColumnAt(int column) {
    return kColumns[static_cast<std::size_t>(column)];
}

QString CellText(const Column& column, const std::optional<double>& value, bool allRow) {
    switch (column.shown) {
        case Shown::salesPoint:
        case Shown::count:
            return ScreenNumber(value, 0);
        case Shown::sum:
            return ScreenSum(*value);
        case Shown::rate:
            return ScreenNumber(value, kRateDecimals);
        case Shown::error:
            return ScreenNumber(value, kErrorDecimals);
        case Shown::constant:
            return ScreenNumber(value, kRateDecimals);
        case Shown::flag:
            return allRow ? ScreenNumber(value, 0)
                          : (*value != 0.0 ? QStringLiteral("yes") : QString());
    }
    return {};
}

const QColor kUnstableBackground(255, 236, 179);
const char kUnstableExplanation[] =
    "A smoothing constant of this sales point left 0 to 1 or its sigma fell below 0, so its "
    "forecasts may diverge.";

}  // namespace

void FiguresTableModel::SetFigures(RunFigures figures) {
    beginResetModel();
    figures_ = std::move(figures);
    endResetModel();
}

std::optional<int> FiguresTableModel::SalesPointOfRow(int row) const {
    if (row < 0 || row >= AllRow()) {
        return std::nullopt;
    }
    return row + 1;
}

int FiguresTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || figures_.salesPoints.empty() ? 0 : AllRow() + 1;
}

int FiguresTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

QVariant FiguresTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Column& column = ColumnAt(index.column());
    const std::optional<int> salesPoint = SalesPointOfRow(index.row());
    const Figures& figures = FiguresOfRow(index.row());
    const std::optional<double> value =
        column.value != nullptr ? column.value(figures)
                                : (salesPoint ? std::optional<double>(*salesPoint) : std::nullopt);
    const bool unstable = salesPoint && figures.unstable != 0;
    switch (role) {
        case Qt::DisplayRole:
            return salesPoint || column.shown != Shown::salesPoint
                       ? CellText(column, value, !salesPoint)
                       : QStringLiteral("all");
        case kValueRole:
            return value ? QVariant(*value) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::AlignVCenter |
                (column.shown == Shown::salesPoint ? Qt::AlignLeft : Qt::AlignRight));
        case Qt::DecorationRole:
            if (unstable && column.shown == Shown::salesPoint) {
                return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            }
            return {};
        case Qt::BackgroundRole:
            return unstable ? QVariant(kUnstableBackground) : QVariant();
        case Qt::ForegroundRole:
            // Dark text on the light marking, whatever the colour scheme.
            return unstable ? QVariant(QColor(Qt::black)) : QVariant();
        case Qt::FontRole:
            if (!salesPoint) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::ToolTipRole:
            return unstable ? QString(kUnstableExplanation) : QString();
        default:
            return {};
    }
}

QVariant FiguresTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(kColumns.size())) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromUtf8(ColumnAt(section).header);
        case Qt::ToolTipRole:
            return QString::fromUtf8(ColumnAt(section).explanation);
        default:
            return {};
    }
}

const Figures& FiguresTableModel::FiguresOfRow(int row) const {
    return row < AllRow() ? figures_.salesPoints[static_cast<std::size_t>(row)] : figures_.all;
}

FiguresSortModel::FiguresSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(kValueRole);
}

bool FiguresSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const int allRow = static_cast<const FiguresTableModel*>(sourceModel())->AllRow();
    const bool leftAll = left.row() == allRow;
    const bool rightAll = right.row() == allRow;
    if (leftAll || rightAll) {
        // Largest when rising, smallest when falling: last either way.
        return leftAll != rightAll && (sortOrder() == Qt::AscendingOrder ? rightAll : leftAll);
    }
    const QVariant leftValue = left.data(kValueRole);
    const QVariant rightValue = right.data(kValueRole);
    if (!leftValue.isValid() || !rightValue.isValid()) {
        return !leftValue.isValid() && rightValue.isValid();
    }
    return leftValue.toDouble() < rightValue.toDouble();
}

QString TabSeparatedText(const QAbstractItemModel& table) {
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < table.columnCount(); ++column) {
        cells << table.headerData(column, Qt::Horizontal).toString().replace('\n', ' ');
    }
    lines << cells.join('\t');
    for (int row = 0; row < table.rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < table.columnCount(); ++column) {
            const QModelIndex index = table.index(row, column);
            const QVariant value = index.data(kValueRole);
            cells << (value.isValid() ? FullNumber(value.toDouble()) : index.data().toString());
        }
        lines << cells.join('\t');
    }
    return lines.join('\n') + '\n';
}

}  // namespace sf::ui
