#include "ui/results_window.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "results/export_folder.h"
#include "runtime/file_clashes.h"
#include "runtime/run_error.h"
#include "ui/form_layout.h"
#include "ui/run_charts.h"
#include "ui/run_description.h"
#include "ui/tradeoff_boxes.h"

namespace sf::ui {
namespace {

// Label and value pairs side by side in the scenario.
constexpr int kScenarioPairsPerLine = 4;
constexpr int kTotalsPairsPerLine = 2;
// Room between the form and this window.
constexpr int kGap = 8;
// The share of the screen the window takes at most when it first opens.
constexpr double kScreenShare = 0.9;
constexpr QSize kPreferredSize(1400, 900);

const char kPngFilter[] = "PNG image (*.png)";
const char kSvgFilter[] = "SVG drawing (*.svg)";

std::filesystem::path PathOf(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

QString NameOf(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// Fills a grid with label and value pairs, pairsPerLine to a line; a wide item has its own.
void FillPairs(QGridLayout& grid, const std::vector<DescriptionItem>& items, int pairsPerLine) {
    while (QLayoutItem* item = grid.takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int line = 0;
    int pair = 0;
    for (const DescriptionItem& item : items) {
        if (item.wide && pair > 0) {
            ++line;
            pair = 0;
        }
        auto* label = new QLabel(item.label + QStringLiteral(":"));
        auto* value = new QLabel(item.value);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setObjectName(item.label);
        grid.addWidget(label, line, 2 * pair);
        grid.addWidget(value, line, 2 * pair + 1, 1, item.wide ? 2 * pairsPerLine - 1 : 1);
        if (item.wide || ++pair == pairsPerLine) {
            ++line;
            pair = 0;
        }
    }
}

QLineEdit* NumberBox(const QString& name, const QString& example) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setPlaceholderText(example);
    box->setClearButtonEnabled(true);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) * 2);
    return box;
}

QLabel* BuddyLabel(const QString& text, QWidget& buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(&buddy);
    return label;
}

QLabel* AnswerLabel(const QString& name) {
    auto* answer = new QLabel;
    answer->setObjectName(name);
    answer->setWordWrap(true);
    answer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return answer;
}

// An answer, or in red why the box cannot be answered.
void ShowAnswer(QLabel& label, const QString& text, bool problem) {
    label.setText(text);
    label.setStyleSheet(problem ? QStringLiteral("color: #b00020;") : QString());
}

}  // namespace

ResultsWindow::ResultsWindow(QWidget& form, MessageSink& messages)
    : QWidget(&form, Qt::Window), messages_(messages) {
    setObjectName(QStringLiteral("Results"));
    setWindowTitle(QStringLiteral("Results - %1").arg(kApplicationName));
    // The form alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(BuildTable());
    splitter->addWidget(BuildCharts());
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({2, 3});  // scaled to the height there is
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildHeader());
    layout->addWidget(splitter, 1);
    layout->addWidget(BuildButtons());
    table_->setFocus();

    auto* close = new QAction(this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

void ResultsWindow::ShowRun(std::shared_ptr<CompletedRun> run,
                            const std::vector<std::string>& warnings) {
    run_ = std::move(run);
    run_->record.warnings = warnings;
    ShowScenario();
    ShowTotals();
    ShowWarnings();
    const RunFigures& figures = run_->results.figures;
    figures_->SetFigures(figures.Of(run_->results.Headline()), figures.sound);
    table_->resizeColumnsToContents();
    const int salesPoints = static_cast<int>(figures.sound.size());
    SelectSalesPoint(std::clamp(selectedSalesPoint_, 1, std::max(salesPoints, 1)));
    AskAgain();
    Say({});
    if (!placed_) {
        PlaceBesideForm(*parentWidget());
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

void ResultsWindow::ChooseExportFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Export the results into"));
    if (!folder.isEmpty()) {
        ExportTo(folder);
    }
}

bool ResultsWindow::ExportTo(const QString& folder) {
    const std::filesystem::path path = PathOf(folder);
    const RunRecord& record = run_->record;
    const UsedPath paths[] = {
        {"the export folder", path, PathUse::replaced},
        {"the report", record.reportPath, PathUse::written},
        {"the sales history", record.inputs.history ? record.inputs.history->file : "",
         PathUse::read},
    };
    std::optional<std::string> problem = FindPathClash(paths);
    if (!problem) {
        problem = CheckExportFolder(path);
    }
    std::string note;
    if (!problem) {
        try {
            note = WriteExportFolder(path, run_->results, record);
        } catch (const RunError& error) {
            problem = error.what();
        }
    }
    if (problem) {
        messages_.ShowError(*this, QString::fromStdString(*problem));
        return false;
    }
    Say(QStringLiteral("%1 written into %2 %3")
            .arg(QString::fromStdString(ExportFileList()), folder, QString::fromStdString(note))
            .trimmed());
    return true;
}

void ResultsWindow::ChooseChartFile() {
    QString filter = QString(kPngFilter);
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save the chart"),
        charts_->tabText(charts_->currentIndex()).remove('&') + QStringLiteral(".png"),
        QStringLiteral("%1;;%2").arg(kPngFilter, kSvgFilter), &filter);
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += filter == kSvgFilter ? QStringLiteral(".svg") : QStringLiteral(".png");
    }
    SaveChartTo(path);
}

bool ResultsWindow::SaveChartTo(const QString& path) {
    if (const std::optional<QString> problem = VisibleChart().SaveAs(path)) {
        messages_.ShowError(*this, *problem);
        return false;
    }
    Say(QStringLiteral("The chart was saved as %1").arg(path));
    return true;
}

void ResultsWindow::OpenReport() {
    const QString report = NameOf(run_->record.reportPath);
    if (!QFile::exists(report)) {
        messages_.ShowError(*this, QStringLiteral("The report \"%1\" is not there.").arg(report));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(report))) {
        messages_.ShowError(
            *this,
            QStringLiteral("The report \"%1\" could not be opened: the desktop has no viewer for "
                           "it.")
                .arg(report));
    }
}

void ResultsWindow::CopyTable() {
    QGuiApplication::clipboard()->setText(TabSeparatedText(*sorted_));
    Say(QStringLiteral("The table was copied as tab-separated text."));
}

QWidget* ResultsWindow::BuildHeader() {
    auto* header = new QWidget;
    auto* layout = new QGridLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);

    scenario_ = new QGroupBox(QStringLiteral("Scenario"));
    scenario_->setObjectName(QStringLiteral("Scenario"));
    new QGridLayout(scenario_);
    totals_ = new QGroupBox(QStringLiteral("Totals over every sales point"));
    totals_->setObjectName(QStringLiteral("Totals"));
    new QGridLayout(totals_);

    warning_ = new QLabel;
    warning_->setObjectName(QStringLiteral("Warnings"));
    warning_->setWordWrap(true);
    warning_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    warning_->setStyleSheet(QStringLiteral(
        "QLabel { background: #fff3c4; color: black; border: 1px solid #e0b000; padding: 6px; }"));
    warning_->hide();

    layout->addWidget(scenario_, 0, 0);
    layout->addWidget(totals_, 0, 1);
    layout->addWidget(warning_, 1, 0, 1, 2);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);
    return header;
}

QWidget* ResultsWindow::BuildTable() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    figures_ = new FiguresTableModel(this);
    sorted_ = new FiguresSortModel(this);
    sorted_->setSourceModel(figures_);
    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("FiguresTable"));
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setAlternatingRowColors(true);
    table_->setTabKeyNavigation(false);  // Tab leaves the table; the arrows move in it
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() * 3 / 2);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                const std::optional<int> salesPoint =
                    figures_->SalesPointOfRow(sorted_->mapToSource(current).row());
                if (current.isValid()) {
                    selectedSalesPoint_ = salesPoint.value_or(0);
                    DrawSelectedSalesPoint();
                }
            });
    // Keys in the table: copy it, and sort by the column of the current cell.
    const auto tableKey = [this](QKeySequence keys, auto act) {
        auto* action = new QAction(table_);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, act);
        table_->addAction(action);
    };
    tableKey(QKeySequence::Copy, &ResultsWindow::CopyTable);
    for (const auto& [key, order] : {std::pair(Qt::Key_Up, Qt::AscendingOrder),
                                     std::pair(Qt::Key_Down, Qt::DescendingOrder)}) {
        tableKey(QKeySequence(Qt::CTRL | Qt::SHIFT | key), [this, order = order] {
            table_->sortByColumn(std::max(table_->currentIndex().column(), 0), order);
        });
    }

    auto* caption = BuddyLabel(
        QStringLiteral("Figures per sales &point over the outcome window (click a heading to "
                       "sort; marked rows diverged):"),
        *table_);
    layout->addWidget(caption);
    layout->addWidget(table_);
    return box;
}

QWidget* ResultsWindow::BuildCharts() {
    charts_ = new QTabWidget;
    charts_->setObjectName(QStringLiteral("ChartTabs"));
    salesPointChart_ = new ChartPanel;
    salesPointChart_->setObjectName(QStringLiteral("SalesPointChart"));
    constantsChart_ = new ChartPanel;
    constantsChart_->setObjectName(QStringLiteral("ConstantsChart"));
    charts_->addTab(salesPointChart_, QStringLiteral("&Demand, forecast and delivery"));
    charts_->addTab(constantsChart_, QStringLiteral("Smoothing &constants"));
    charts_->addTab(BuildTradeoffPage(), QStringLiteral("&Trade-off over τ"));
    nextDeliveries_ = new NextDeliveriesPage;
    connect(nextDeliveries_, &NextDeliveriesPage::TargetChanged, this, &ResultsWindow::AskAgain);
    charts_->addTab(nextDeliveries_, QStringLiteral("Ne&xt deliveries"));
    return charts_;
}

QWidget* ResultsWindow::BuildTradeoffPage() {
    auto* page = new QWidget;
    targetFillRate_ = NumberBox(QStringLiteral("TargetFillRate"),
                                QStringLiteral("e.g. %1").arg(QLocale().toString(0.95)));
    lostSaleCost_ = NumberBox(QStringLiteral("LostSaleCost"),
                              QStringLiteral("e.g. %1").arg(QLocale().toString(5)));
    returnCost_ = NumberBox(QStringLiteral("ReturnCost"),
                            QStringLiteral("e.g. %1").arg(QLocale().toString(1)));
    targetAnswer_ = AnswerLabel(QStringLiteral("TargetAnswer"));
    costAnswer_ = AnswerLabel(QStringLiteral("CostAnswer"));
    for (QLineEdit* box : {targetFillRate_, lostSaleCost_, returnCost_}) {
        connect(box, &QLineEdit::textChanged, this, &ResultsWindow::AskAgain);
    }

    auto* boxes = new QGridLayout;
    boxes->addWidget(BuddyLabel(QStringLiteral("Target &fill rate:"), *targetFillRate_), 0, 0);
    boxes->addWidget(targetFillRate_, 0, 1);
    boxes->addWidget(targetAnswer_, 0, 2, 1, 3);
    boxes->addWidget(BuddyLabel(QStringLiteral("Cost of a &lost sale:"), *lostSaleCost_), 1, 0);
    boxes->addWidget(lostSaleCost_, 1, 1);
    boxes->addWidget(BuddyLabel(QStringLiteral("of a retur&n:"), *returnCost_), 1, 2);
    boxes->addWidget(returnCost_, 1, 3);
    boxes->addWidget(costAnswer_, 1, 4);
    boxes->setColumnStretch(4, 1);

    tradeoffChart_ = new ChartPanel;
    tradeoffChart_->setObjectName(QStringLiteral("TradeoffChart"));
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(boxes);
    layout->addWidget(tradeoffChart_, 1);
    return page;
}

QWidget* ResultsWindow::BuildButtons() {
    auto* bar = new QWidget;
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    struct Button {
        const char* name;
        const char* caption;
        QKeySequence keys;
        void (ResultsWindow::*act)();
    };
    const Button buttons[] = {
        {"ExportResults", "&Export results...", QKeySequence(Qt::CTRL | Qt::Key_E),
         &ResultsWindow::ChooseExportFolder},
        {"SaveChart", "&Save chart...", QKeySequence::Save, &ResultsWindow::ChooseChartFile},
        {"OpenReport", "&Open report", QKeySequence::Open, &ResultsWindow::OpenReport},
        {"CopyTable", "Copy t&able", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         &ResultsWindow::CopyTable},
    };
    for (const Button& button : buttons) {
        auto* push = new QPushButton(QString::fromUtf8(button.caption));
        push->setObjectName(QString::fromUtf8(button.name));
        push->setToolTip(button.keys.toString(QKeySequence::NativeText));
        connect(push, &QPushButton::clicked, this, button.act);
        auto* action = new QAction(this);
        action->setShortcut(button.keys);
        connect(action, &QAction::triggered, this, button.act);
        addAction(action);
        layout->addWidget(push);
    }
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("Status"));
    layout->addWidget(status_, 1);
    auto* close = new QPushButton(QStringLiteral("Close"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(close);
    return bar;
}

void ResultsWindow::PlaceBesideForm(const QWidget& form) {
    const QScreen* screen = form.screen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
    QSize size = kPreferredSize;
    if (!room.isEmpty()) {
        size = size.boundedTo(room.size() * kScreenShare);
    }
    resize(size);
    const QRect beside = form.frameGeometry();
    QPoint corner(beside.right() + kGap, beside.top());
    if (!room.isEmpty()) {
        // On the form's right where there is room, else as far right as the screen allows.
        corner.setX(std::min(corner.x(), room.right() - size.width()));
        corner.setX(std::max(corner.x(), room.left()));
        corner.setY(std::clamp(corner.y(), room.top(),
                               std::max(room.top(), room.bottom() - size.height())));
    }
    move(corner);
}

void ResultsWindow::ShowScenario() {
    FillPairs(*static_cast<QGridLayout*>(scenario_->layout()), ScenarioItems(*run_),
              kScenarioPairsPerLine);
}

void ResultsWindow::ShowTotals() {
    FillPairs(*static_cast<QGridLayout*>(totals_->layout()),
              TotalItems(run_->results.figures.Of(run_->results.Headline()).all),
              kTotalsPairsPerLine);
}

void ResultsWindow::ShowWarnings() {
    const std::vector<std::string>& warnings = run_->record.warnings;
    warning_->setText(QStringLiteral("Warning: ") + LinesText(warnings));
    warning_->setVisible(!warnings.empty());
}

void ResultsWindow::SelectSalesPoint(int salesPoint) {
    const QModelIndex row =
        sorted_->mapFromSource(figures_->index(figures_->RowOfSalesPoint(salesPoint), 0));
    table_->setCurrentIndex(row);
    table_->scrollTo(row);
}

void ResultsWindow::DrawSelectedSalesPoint() {
    const SalesPointCharts charts = ChartsOfSalesPoint(run_->results.series, selectedSalesPoint_);
    salesPointChart_->Draw(charts.demand);
    constantsChart_->Draw(charts.constants);
}

void ResultsWindow::AskAgain() {
    if (!run_) {
        return;
    }
    TradeoffQuestions asked =
        ReadTradeoffBoxes(targetFillRate_->text(), lostSaleCost_->text(), returnCost_->text());
    asked.request.targetServiceLevel = nextDeliveries_->TargetServiceLevel();
    AnswerRequest(run_->results, asked.request);
    run_->record.request = asked.request;
    const EvaluationAnswers& answers = run_->results.Answers(run_->results.Headline());
    ShowAnswer(*targetAnswer_, asked.targetProblem.value_or(TargetAnswerText(answers.target)),
               asked.targetProblem.has_value());
    ShowAnswer(*costAnswer_,
               asked.costProblem.value_or(
                   CostAnswerText(answers.cheapest, asked.request.costs.has_value())),
               asked.costProblem.has_value());
    tradeoffChart_->Draw(TradeoffChart(run_->results));
    nextDeliveries_->Show(run_->results);
}

ChartPanel& ResultsWindow::VisibleChart() const {
    auto* chart = qobject_cast<ChartPanel*>(charts_->currentWidget());
    return chart != nullptr ? *chart : *tradeoffChart_;
}

void ResultsWindow::Say(const QString& text) {
    status_->setText(text);
}

}  // namespace sf::ui
