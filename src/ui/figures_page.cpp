#include "ui/figures_page.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/run_charts.h"

namespace sf::ui {

FiguresPage::FiguresPage() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    figures_ = new FiguresTableModel(this);
    sorted_ = new FiguresSortModel(this);
    sorted_->setSourceModel(figures_);
    table_ = NewFiguresTable(sorted_, QStringLiteral("FiguresTable"));
    table_->horizontalHeader()->setHighlightSections(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                const RowSubject row = figures_->SubjectOfRow(sorted_->mapToSource(current).row());
                // A run's row has no series of its own: the charts keep the row they show.
                if (current.isValid() && row.kind != RowSubject::Kind::run) {
                    selected_ = row;
                    emit RowSelected();
                }
            });
    AddTableKeys();

    caption_ = new QLabel;
    caption_->setObjectName(QStringLiteral("FiguresCaption"));
    caption_->setBuddy(table_);
    caption_->setWordWrap(true);
    layout->addWidget(caption_);
    layout->addWidget(table_);
}

// Keys in the table: copy it, and sort by the column of the current cell.
void FiguresPage::AddTableKeys() {
    const auto tableKey = [this](QKeySequence keys, auto act) {
        auto* action = new QAction(table_);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, act);
        table_->addAction(action);
    };
    tableKey(QKeySequence::Copy, &FiguresPage::CopyTable);
    for (const auto& [key, order] : {std::pair(Qt::Key_Up, Qt::AscendingOrder),
                                     std::pair(Qt::Key_Down, Qt::DescendingOrder)}) {
        tableKey(QKeySequence(Qt::CTRL | Qt::SHIFT | key), [this, order = order] {
            table_->sortByColumn(std::max(table_->currentIndex().column(), 0), order);
        });
    }
}

void FiguresPage::ShowSalesPoints(const RunResults& results, Evaluation evaluation) {
    caption_->setText(QStringLiteral("Figures per sales &point %1 (click a heading to sort; "
                                     "marked rows diverged):")
                          .arg(EvaluationWords(evaluation)));
    figures_->SetRows(SalesPointRows(results, evaluation), QStringLiteral("Sales point"),
                      QStringLiteral("The sales point by its name; \"sound\" sums the sales "
                                     "points whose forecasts did not diverge, \"all\" every one"));
    table_->resizeColumnsToContents();
    const int salesPoints = static_cast<int>(results.figures.sound.size());
    if (selected_.kind == RowSubject::Kind::salesPoint) {
        selected_.number = std::clamp(selected_.number, 1, std::max(salesPoints, 1));
    }
    SelectRow(selected_);
}

void FiguresPage::ShowRuns(std::vector<FiguresRow> rows, Evaluation evaluation, int sound, int of) {
    // Each run over its own sound sales points would total different demand: a run that
    // diverged less would look worse for the harder sales points it keeps.
    caption_->setText(QStringLiteral("Figures of the selected runs %1, each over the same %2 of %3 "
                                     "sales &points, those sound in every run shown:")
                          .arg(EvaluationWords(evaluation))
                          .arg(sound)
                          .arg(of));
    figures_->SetRows(std::move(rows), QStringLiteral("Run"),
                      QStringLiteral("The run by its place in the list of runs"));
    table_->resizeColumnsToContents();
}

void FiguresPage::SelectRow(const RowSubject& row) {
    const QModelIndex index = sorted_->mapFromSource(figures_->index(figures_->RowOf(row), 0));
    table_->setCurrentIndex(index);
    table_->scrollTo(index);
    emit RowSelected();
}

void FiguresPage::CopyTable() {
    QGuiApplication::clipboard()->setText(TabSeparatedText(*sorted_));
    emit Copied();
}

}  // namespace sf::ui
