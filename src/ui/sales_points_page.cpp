#include "ui/sales_points_page.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "ui/run_charts.h"

namespace sf::ui {
namespace {

// The sales points' rows alone: "sound" and "all" are the totals panel's.
std::vector<FiguresRow> OnlySalesPoints(std::vector<FiguresRow> rows) {
    std::erase_if(rows, [](const FiguresRow& row) {
        return row.subject.kind != RowSubject::Kind::salesPoint;
    });
    return rows;
}

}  // namespace

SalesPointsPage::SalesPointsPage() {
    setObjectName(QStringLiteral("SalesPointsPage"));
    figures_ = new FiguresTableModel(this);
    sorted_ = new FiguresSortModel(this);
    sorted_->setSourceModel(figures_);
    sorted_->setFilterKeyColumn(0);
    sorted_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    table_ = NewFiguresTable(sorted_, QStringLiteral("SalesPointsTable"));
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && !filling_) {
                    Select(figures_->SubjectOfRow(sorted_->mapToSource(current).row()).number);
                }
            });

    filter_ = new QLineEdit;
    filter_->setObjectName(QStringLiteral("SalesPointFilter"));
    filter_->setPlaceholderText(tr("part of a name"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, this, &SalesPointsPage::Filter);
    auto* filterLabel = new QLabel(tr("Filter by na&me:"));
    filterLabel->setBuddy(filter_);
    count_ = new QLabel;
    count_->setObjectName(QStringLiteral("SalesPointsCount"));
    heading_ = new QLabel;
    heading_->setWordWrap(true);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_, 1);
    filterRow->addWidget(count_);
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(heading_);
    leftLayout->addLayout(filterRow);
    leftLayout->addWidget(table_, 1);

    charts_ = new QTabWidget;
    charts_->setObjectName(QStringLiteral("SalesPointCharts"));
    demand_ = new ChartPanel;
    demand_->setObjectName(QStringLiteral("AloneDemandChart"));
    constants_ = new ChartPanel;
    constants_->setObjectName(QStringLiteral("AloneConstantsChart"));
    charts_->addTab(demand_, tr("Demand, forecast and delivery"));
    charts_->addTab(constants_, tr("Smoothing constants"));

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(charts_);
    splitter->setChildrenCollapsible(false);
    // Half for the table, so that its first figures show beside the name.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);  // the charts keep their height in a short window
    layout->addWidget(splitter);
}

void SalesPointsPage::ShowRun(const RunResults& results, Evaluation evaluation,
                              SalesPointSource source, const QString& caption) {
    source_ = std::move(source);
    caption_ = caption;
    shown_ = {};
    const int salesPoints = static_cast<int>(results.figures.sound.size());
    selected_ = salesPoints == 0 ? 0 : std::clamp(selected_, 1, salesPoints);
    ShowRows(results, evaluation);
}

void SalesPointsPage::ShowEvaluation(const RunResults& results, Evaluation evaluation) {
    ShowRows(results, evaluation);
}

void SalesPointsPage::ShowRows(const RunResults& results, Evaluation evaluation) {
    evaluation_ = evaluation;
    heading_->setText(tr("Every sales point %1; select one to chart its series (click a "
                         "heading to sort; marked rows diverged):")
                          .arg(EvaluationWords(evaluation)));
    figures_->SetRows(OnlySalesPoints(SalesPointRows(results, evaluation)), tr("Sales point"),
                      tr("The sales point by its name"));
    table_->resizeColumnsToContents();
    CountShown();
    // The same sales point: its series, once asked for, serve every evaluation.
    MarkSelected();
    drawn_ = false;
    DrawSelected();
}

// Typing a name computes nothing: the sales point charted stays the one selected.
void SalesPointsPage::Filter(const QString& text) {
    filling_ = true;  // rows leaving the view move the current row
    sorted_->setFilterFixedString(text);
    MarkSelected();
    CountShown();
}

// The row of the sales point charted is the current one where the filter shows it; else none is.
void SalesPointsPage::MarkSelected() {
    filling_ = true;
    const QModelIndex index = sorted_->mapFromSource(
        figures_->index(figures_->RowOf({RowSubject::Kind::salesPoint, selected_}), 0));
    if (index.isValid()) {
        table_->setCurrentIndex(index);
        table_->scrollTo(index);
    } else {
        table_->selectionModel()->clear();
    }
    filling_ = false;
}

void SalesPointsPage::Select(int salesPoint) {
    if (salesPoint == selected_ && (shown_.results || !shown_.problem.isEmpty())) {
        return;
    }
    selected_ = salesPoint;
    shown_ = {};
    drawn_ = false;
    DrawSelected();
}

void SalesPointsPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    DrawSelected();
}

// Only a page in sight asks for the series: a catalogue computes them again.
void SalesPointsPage::DrawSelected() {
    if (drawn_ || !isVisible() || selected_ == 0 || !source_) {
        return;
    }
    if (!shown_.results && shown_.problem.isEmpty()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        shown_ = source_(selected_);
        QGuiApplication::restoreOverrideCursor();
    }
    SalesPointCharts charts;
    if (shown_.results) {
        charts = ChartsOfSalesPoint(*shown_.results, shown_.at, selected_, evaluation_, caption_);
    } else {
        charts.demand.title = charts.constants.title = shown_.problem;
    }
    demand_->Draw(charts.demand);
    constants_->Draw(charts.constants);
    drawn_ = true;
}

void SalesPointsPage::CountShown() {
    count_->setText(tr("%1 of %2 shown").arg(sorted_->rowCount()).arg(figures_->rowCount()));
}

ChartPanel& SalesPointsPage::Chart() const {
    return charts_->currentWidget() == constants_ ? *constants_ : *demand_;
}

}  // namespace sf::ui
