#include "ui/figures_table_model.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QIcon>
#include <QStyle>
#include <utility>

#include "results/summary_columns.h"
#include "runtime/invariants.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

constexpr int kErrorDecimals = 3;

// The table's first column names the row; those of the figures follow.
constexpr int kFirstFigureColumn = 1;

const SummaryColumn* FigureColumnAt(int column) {
    return column >= kFirstFigureColumn
               ? &kSummaryColumns[static_cast<std::size_t>(column - kFirstFigureColumn)]
               : nullptr;
}

bool IsSummary(const RowSubject& subject) {
    return subject.kind == RowSubject::Kind::sound || subject.kind == RowSubject::Kind::all;
}

// Where a row stands when sorted: rows of their own, then "sound", then "all".
int Rank(const RowSubject& subject) {
    switch (subject.kind) {
        case RowSubject::Kind::salesPoint:
        case RowSubject::Kind::run:
            return 0;
        case RowSubject::Kind::sound:
            return 1;
        case RowSubject::Kind::all:
            return 2;
    }
    BreakInvariant("a row of no kind");
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

QString CellText(FigureKind kind, const std::optional<double>& value, bool rowOfMany) {
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
            return rowOfMany ? ScreenNumber(value, 0)
                             : (*value != 0.0 ? QStringLiteral("yes") : QString());
    }
    SF_UNREACHABLE("a figure of no kind");
}

const QColor kDivergedBackground(255, 236, 179);
const char kDivergedExplanation[] =
    "The forecasts of this sales point diverged far outside its demand; the sound rows and the "
    "trade-off leave it out.";

}  // namespace

std::vector<FiguresRow> SalesPointRows(const RunResults& results, Evaluation evaluation) {
    const EvaluationFigures& figures = results.figures.Of(evaluation);
    std::vector<FiguresRow> rows;
    rows.reserve(figures.salesPoints.size() + 2);
    for (std::size_t at = 0; at < figures.salesPoints.size(); ++at) {
        const int salesPoint = static_cast<int>(at) + 1;
        rows.push_back({{RowSubject::Kind::salesPoint, salesPoint},
                        QString::fromStdString(results.series.Name(salesPoint)),
                        figures.salesPoints[at],
                        !results.figures.sound[at]});
    }
    if (!rows.empty()) {
        rows.push_back({{RowSubject::Kind::sound, 0}, QStringLiteral("sound"), figures.sound});
        rows.push_back({{RowSubject::Kind::all, 0}, QStringLiteral("all"), figures.all});
    }
    return rows;
}

void FiguresTableModel::SetRows(std::vector<FiguresRow> rows, const QString& firstHeading,
                                const QString& firstDescription) {
    beginResetModel();
    rows_ = std::move(rows);
    firstHeading_ = firstHeading;
    firstDescription_ = firstDescription;
    endResetModel();
}

RowSubject FiguresTableModel::SubjectOfRow(int row) const {
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].subject
                                        : RowSubject{};
}

int FiguresTableModel::RowOf(const RowSubject& subject) const {
    for (std::size_t at = 0; at < rows_.size(); ++at) {
        if (rows_[at].subject == subject) {
            return static_cast<int>(at);
        }
    }
    return -1;
}

int FiguresTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FiguresTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFirstFigureColumn + static_cast<int>(kSummaryColumns.size());
}

QVariant FiguresTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const SummaryColumn* column = FigureColumnAt(index.column());
    const FiguresRow& row = rows_[static_cast<std::size_t>(index.row())];
    const bool summary = IsSummary(row.subject);
    const std::optional<double> value =
        column != nullptr ? column->value(row.figures)
                          : (summary ? std::nullopt : std::optional<double>(row.subject.number));
    const bool diverged = row.diverged;
    switch (role) {
        case Qt::DisplayRole:
            if (column == nullptr) {
                return row.label;
            }
            return CellText(column->kind, value, row.subject.kind != RowSubject::Kind::salesPoint);
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
            if (summary) {
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
            return column != nullptr ? Heading(column->label) : firstHeading_;
        case Qt::ToolTipRole:
            return column != nullptr ? TextOf(column->description) : firstDescription_;
        default:
            return {};
    }
}

FiguresSortModel::FiguresSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(kValueRole);
}

bool FiguresSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto& table = *static_cast<const FiguresTableModel*>(sourceModel());
    const int leftRank = Rank(table.SubjectOfRow(left.row()));
    const int rightRank = Rank(table.SubjectOfRow(right.row()));
    if (leftRank != rightRank || leftRank > 0) {
        // Largest when rising, smallest when falling: last either way.
        return sortOrder() == Qt::AscendingOrder ? leftRank < rightRank : leftRank > rightRank;
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

QTableView* NewFiguresTable(QSortFilterProxyModel* sorted, const QString& name) {
    auto* table = new QTableView;
    table->setObjectName(name);
    table->setModel(sorted);
    table->setSortingEnabled(true);
    table->sortByColumn(0, Qt::AscendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setAlternatingRowColors(true);
    table->setTabKeyNavigation(false);  // Tab leaves the table; the arrows move in it
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() * 3 / 2);
    table->horizontalHeader()->setSortIndicatorShown(true);
    return table;
}

}  // namespace sf::ui
