#include "ui/figures_table_model.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QStyle>
#include <utility>

#include "results/summary_columns.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

constexpr int kErrorDecimals = 3;

// The table's first column, the sales point, comes before those of the figures.
constexpr int kFirstFigureColumn = 1;
constexpr char kSalesPointLabel[] = "Sales point";
constexpr char kSalesPointDescription[] = "The sales point; \"all\" sums every sales point";

const SummaryColumn* FigureColumnAt(int column) {
    return column >= kFirstFigureColumn
               ? &kSummaryColumns[static_cast<std::size_t>(column - kFirstFigureColumn)]
               : nullptr;
}

QString TextOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Narrow columns break their heading before its last word.
QString Heading(std::string_view label) {
    QString heading = TextOf(label);
    if (const qsizetype lastSpace = heading.lastIndexOf(' '); lastSpace >= 0) {
        heading[lastSpace] = '\n';
    }
    return heading;
}

QString CellText(FigureKind kind, const std::optional<double>& value, bool allRow) {
    switch (kind) {
        case FigureKind::count:
            return ScreenNumber(value, 0);
        case FigureKind::sum:
            return ScreenSum(*value);
        case FigureKind::rate:
        case FigureKind::ratio:
        case FigureKind::constant:
            return ScreenNumber(value, kRateDecimals);
        case FigureKind::error:
            return ScreenNumber(value, kErrorDecimals);
        case FigureKind::flag:
            return allRow ? ScreenNumber(value, 0)
                          : (*value != 0.0 ? QStringLiteral("yes") : QString());
    }
    return {};
}

const QColor kDivergedBackground(255, 236, 179);
const char kDivergedExplanation[] =
    "The forecasts of this sales point diverged far outside its demand; the sound rows and the "
    "trade-off leave it out.";

}  // namespace

void FiguresTableModel::SetFigures(EvaluationFigures figures, std::vector<bool> sound) {
    beginResetModel();
    figures_ = std::move(figures);
    sound_ = std::move(sound);
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
    return parent.isValid() ? 0 : kFirstFigureColumn + static_cast<int>(kSummaryColumns.size());
}

QVariant FiguresTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const SummaryColumn* column = FigureColumnAt(index.column());
    const std::optional<int> salesPoint = SalesPointOfRow(index.row());
    const Figures& figures = FiguresOfRow(index.row());
    const std::optional<double> value =
        column != nullptr ? column->value(figures)
                          : (salesPoint ? std::optional<double>(*salesPoint) : std::nullopt);
    const bool diverged = salesPoint && !sound_[static_cast<std::size_t>(*salesPoint - 1)];
    switch (role) {
        case Qt::DisplayRole:
            if (column == nullptr) {
                return salesPoint ? ScreenNumber(value, 0) : QStringLiteral("all");
            }
            return CellText(column->kind, value, !salesPoint);
        case kValueRole:
            return value ? QVariant(*value) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (column == nullptr ? Qt::AlignLeft : Qt::AlignRight));
        case Qt::DecorationRole:
            if (diverged && column == nullptr) {
                return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            }
            return {};
        case Qt::BackgroundRole:
            return diverged ? QVariant(kDivergedBackground) : QVariant();
        case Qt::ForegroundRole:
            // Dark text on the light marking, whatever the colour scheme.
            return diverged ? QVariant(QColor(Qt::black)) : QVariant();
        case Qt::FontRole:
            if (!salesPoint) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::ToolTipRole:
            return diverged ? QString(kDivergedExplanation) : QString();
        default:
            return {};
    }
}

QVariant FiguresTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const SummaryColumn* column = FigureColumnAt(section);
    switch (role) {
        case Qt::DisplayRole:
            return Heading(column != nullptr ? column->label : kSalesPointLabel);
        case Qt::ToolTipRole:
            return TextOf(column != nullptr ? column->description : kSalesPointDescription);
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
