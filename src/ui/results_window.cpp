#include "ui/results_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
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
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "results/export_folder.h"
#include "runtime/file_clashes.h"
#include "runtime/run_error.h"
#include "ui/box_shortcuts.h"
#include "ui/check_table.h"
#include "ui/control_help.h"
#include "ui/form_layout.h"
#include "ui/results_folder_reading.h"
#include "ui/run_charts.h"
#include "ui/run_description.h"
#include "ui/screen_numbers.h"
#include "ui/tradeoff_boxes.h"
#include "ui/window_memory.h"

namespace sf::ui {
namespace {

// Label and value pairs side by side in the scenario.
constexpr int kScenarioPairsPerLine = 3;
constexpr int kTotalsPairsPerLine = 4;
// Room between the form and this window.
constexpr int kGap = 8;
constexpr QSize kPreferredSize(1400, 900);
// The runs the list keeps; a full-size run's series take some 10 MB.
constexpr std::size_t kListedRuns = 20;
// The header takes at most this share of the height, and scrolls beyond it.
constexpr std::pair kHeaderShare(1, 3);
// The folder the last results folder was opened from.
constexpr char kResultsFolderKey[] = "results/openFolder";

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
        if (item.wide) {
            // A long path or caption is cut at the window's edge rather than widening it; the
            // tooltip and a copy hold it whole.
            value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            value->setToolTip(item.value);
        }
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
    // Room for a cost such as 12,345.67 and the clear button; the answers take the rest.
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) * 3 /
                         2);
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

    // The header scrolls where the window is too small for it, so that the table and the
    // charts keep their room.
    header_ = new QScrollArea;
    header_->setObjectName(QStringLiteral("Header"));
    header_->setWidget(BuildHeader());
    header_->setWidgetResizable(true);
    header_->setFrameShape(QFrame::NoFrame);
    header_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    splitter_ = new QSplitter(Qt::Vertical);
    splitter_->addWidget(header_);
    splitter_->addWidget(BuildTable());
    splitter_->addWidget(BuildCharts());
    splitter_->setStretchFactor(1, 2);
    splitter_->setStretchFactor(2, 3);
    splitter_->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter_, 1);
    layout->addWidget(BuildButtons());
    LetShortcutsThroughBoxes(*this);
    table_->setFocus();

    auto* close = new QAction(this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

void ResultsWindow::ShowRun(std::shared_ptr<CompletedRun> run,
                            const std::vector<std::string>& warnings) {
    run->record.warnings = warnings;
    runs_.push_back(run);
    {
        const QSignalBlocker quiet(runList_);
        // Each run holds its series: the oldest make room, so that many runs do not exhaust
        // the memory.
        if (runs_.size() > kListedRuns) {
            runs_.erase(runs_.begin());
            delete runList_->takeItem(0);
            ++droppedRuns_;
        }
        runList_->addItem(RunLine(runs_.size() - 1));
        runList_->setCurrentRow(runList_->count() - 1, QItemSelectionModel::ClearAndSelect);
        runList_->scrollToBottom();
    }
    // A list of one says nothing the rest of the window does not.
    runList_->setVisible(runs_.size() > 1);
    sameDemand_->setVisible(runs_.size() > 1);
    Present(std::move(run));
    CheckSameDemand();
    if (!placed_) {
        PlaceBesideForm(*parentWidget());
        placed_ = true;
    }
    FitHeader();
    show();
    raise();
    activateWindow();
    // Once shown, the header's parts are polished and have their true sizes.
    QTimer::singleShot(0, this, &ResultsWindow::FitHeader);
}

void ResultsWindow::Present(std::shared_ptr<CompletedRun> run) {
    run_ = std::move(run);
    compared_.clear();
    // A run without rolling periods has nothing as forecast: it shows as reported.
    const bool forecastEmpty = run_->results.Headline() != Evaluation::asForecast;
    asForecast_->setEnabled(!forecastEmpty);
    evaluation_ = forecastEmpty ? Evaluation::asReported : chosen_;
    (evaluation_ == Evaluation::asForecast ? asForecast_ : asReported_)->setChecked(true);
    ShowScenario();
    ShowWarningsAndNotes();
    ShowTotals();
    ShowTable();
    AskAgain();
    Say({});
    sameDemand_->setText(
        QStringLiteral("Same &demand as %1")
            .arg(RunName(static_cast<std::size_t>(std::max(runList_->currentRow(), 0)))));
}

bool ResultsWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        CheckSameDemand();
    }
    return QWidget::event(event);
}

void ResultsWindow::CheckSameDemand() {
    const QList<QModelIndex> chosen = runList_->selectionModel()->selectedRows();
    std::optional<QString> difference;
    const CompletedRun* one =
        chosen.size() == 1 ? runs_[static_cast<std::size_t>(chosen.front().row())].get() : nullptr;
    if (one != nullptr && one->folder.empty() && demandCheck_) {
        difference = demandCheck_(*one);
    }
    // A run read from a folder brings no random sequence to draw its demand again from.
    const bool fromFolder = one != nullptr && !one->folder.empty();
    sameDemand_->setEnabled(one != nullptr && !fromFolder && !running_ && !difference);
    if (fromFolder) {
        sameDemand_->setToolTip(WrappedToolTip(
            QStringLiteral("That run was read from the results folder \"%1\": its random "
                           "sequence is not known, so its demand cannot be drawn again.")
                .arg(QString::fromStdString(one->folder.string()))));
        return;
    }
    sameDemand_->setToolTip(WrappedToolTip(
        difference ? QStringLiteral("The boxes that decide the demand differ from that run's: "
                                    "%1.")
                         .arg(*difference)
                   : QStringLiteral("Runs the boxes and options as they stand now on the demand "
                                    "of the selected run: the random sequence where it stood at "
                                    "that run's start. The sales points, periods, model and "
                                    "limits must be as they were in it.")));
}

void ResultsWindow::RunSelectionChanged() {
    std::vector<std::size_t> chosen;
    for (const QModelIndex& index : runList_->selectionModel()->selectedRows()) {
        chosen.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(chosen.begin(), chosen.end());
    CheckSameDemand();
    if (chosen.size() == 1) {
        Present(runs_[chosen.front()]);
    } else if (chosen.size() > 1) {
        run_ = runs_[chosen.front()];
        compared_ = std::move(chosen);
        ShowTable();
        DrawTradeoff();
    }
}

QString ResultsWindow::RunName(std::size_t at) const {
    return QStringLiteral("#%1").arg(at + 1 + droppedRuns_);
}

// The run in one line: its scenario, its leading evaluation's totals and its demand.
QString ResultsWindow::RunLine(std::size_t at) const {
    const CompletedRun& run = *runs_[at];
    const Evaluation evaluation = run.results.Headline();
    const Figures& sound = run.results.figures.Of(evaluation).sound;
    const int diverged =
        static_cast<int>(run.results.figures.sound.size()) - run.results.figures.SoundCount();
    return QStringLiteral(
               "%1  %2 | %3: fill rate %4, cycle service level %5, lost sales %6, "
               "returns %7, %8 diverged | demand: %9")
        .arg(RunName(at), ScenarioLine(run), EvaluationWords(evaluation),
             ScreenNumber(sound.fillRate, kRateDecimals),
             ScreenNumber(sound.cycleServiceLevel, kRateDecimals), ScreenSum(sound.lostSales),
             ScreenSum(sound.returns), QString::number(diverged), DemandLine(run));
}

void ResultsWindow::SetRunning(bool running) {
    running_ = running;
    CheckSameDemand();
    if (run_) {
        ShowWarningsAndNotes();
    }
}

void ResultsWindow::ShowEvaluation(Evaluation evaluation) {
    if (!run_ || evaluation == evaluation_ ||
        (evaluation == Evaluation::asForecast && !asForecast_->isEnabled())) {
        return;
    }
    chosen_ = evaluation_ = evaluation;
    (evaluation_ == Evaluation::asForecast ? asForecast_ : asReported_)->setChecked(true);
    ShowTotals();
    ShowTable();
    AskAgain();
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

void ResultsWindow::ChooseResultsFolder() {
    QSettings settings = WindowSettings();
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Open a results folder an export wrote"),
        settings.value(kResultsFolderKey, QDir::homePath()).toString());
    if (!folder.isEmpty()) {
        // The folder around it, where its neighbours are.
        settings.setValue(kResultsFolderKey, QFileInfo(folder).absolutePath());
        OpenResultsFolder(folder);
    }
}

void ResultsWindow::OpenResultsFolder(const QString& folder) {
    Say(QStringLiteral("Reading %1...").arg(folder));
    ReadResultsFolder(*this, folder, locale_,
                      [this](std::shared_ptr<CompletedRun> run, const QString& refusal) {
                          if (run) {
                              const std::vector<std::string> warnings = run->record.warnings;
                              ShowRun(std::move(run), warnings);
                          } else {
                              Say({});
                              messages_.ShowError(*this, refusal);
                          }
                          emit ResultsFolderOpened();
                      });
}

void ResultsWindow::ChooseChartFile() {
    QString filter = QString(kPngFilter);
    // A name any folder and program takes: "run-2-trade-off-over.png".
    const QString words = QStringLiteral("run %1 %2")
                              .arg(run_->record.run)
                              .arg(charts_->tabText(charts_->currentIndex()));
    const QString name = words.toLower().replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")),
                                                 QStringLiteral("-"));
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save the chart"),
        QDir(QFileInfo(NameOf(run_->record.reportPath)).absolutePath())
            .filePath(name.section('-', 0, -1, QString::SectionSkipEmpty) + QStringLiteral(".png")),
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

    runList_ = new QListWidget;
    runList_->setObjectName(QStringLiteral("RunsList"));
    runList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    runList_->setToolTip(WrappedToolTip(QStringLiteral(
        "The runs of this start. Select two or more (Ctrl or Shift with a click) to see their "
        "figures side by side and their trade-off curves together.")));
    // About three lines; it scrolls beyond them.
    runList_->setMaximumHeight(runList_->fontMetrics().lineSpacing() * 4);
    runList_->hide();
    connect(runList_, &QListWidget::itemSelectionChanged, this,
            &ResultsWindow::RunSelectionChanged);
    sameDemand_ = new QPushButton;
    sameDemand_->setObjectName(QStringLiteral("SameDemand"));
    sameDemand_->hide();
    connect(sameDemand_, &QPushButton::clicked, this, [this] {
        const int row = runList_->currentRow();
        if (row >= 0) {
            emit SameDemandRequested(runs_[static_cast<std::size_t>(row)],
                                     RunName(static_cast<std::size_t>(row)));
        }
    });
    auto* runsRow = new QHBoxLayout;
    runsRow->addWidget(runList_, 1);
    runsRow->addWidget(sameDemand_, 0, Qt::AlignTop);

    totals_ = new QGroupBox(QStringLiteral("Totals"));
    totals_->setObjectName(QStringLiteral("Totals"));
    auto* totalsLayout = new QVBoxLayout(totals_);
    asForecast_ = new QRadioButton(QStringLiteral("As fo&recast"));
    asForecast_->setObjectName(QStringLiteral("AsForecast"));
    asForecast_->setToolTip(WrappedToolTip(QStringLiteral(
        "The deliveries a planner could have set from the forecasts known when each had to be "
        "decided, over the periods of the rolling forecast.")));
    asReported_ = new QRadioButton(QStringLiteral("As re&ported"));
    asReported_->setObjectName(QStringLiteral("AsReported"));
    asReported_->setToolTip(WrappedToolTip(QStringLiteral(
        "The report's own deliveries, from forecasts replayed with constants fitted on all the "
        "demand: in hindsight.")));
    auto* evaluations = new QButtonGroup(totals_);
    evaluations->addButton(asForecast_);
    evaluations->addButton(asReported_);
    asForecast_->setChecked(true);
    connect(asForecast_, &QRadioButton::toggled, this, [this](bool checked) {
        ShowEvaluation(checked ? Evaluation::asForecast : Evaluation::asReported);
    });
    totalsDescription_ = new QLabel;
    totalsDescription_->setObjectName(QStringLiteral("TotalsDescription"));
    totalsDescription_->setWordWrap(true);
    auto* switchRow = new QHBoxLayout;
    switchRow->addWidget(asForecast_);
    switchRow->addWidget(asReported_);
    switchRow->addWidget(totalsDescription_, 1);
    totalsLayout->addLayout(switchRow);
    totalsGrid_ = new QGridLayout;
    totalsLayout->addLayout(totalsGrid_);

    band_ = new QWidget;
    band_->setObjectName(QStringLiteral("Band"));
    band_->setStyleSheet(QStringLiteral(
        "#Band { background: #fff3c4; border: 1px solid #e0b000; } QLabel { color: black; }"));
    band_->setAttribute(Qt::WA_StyledBackground);
    warning_ = new QLabel;
    warning_->setObjectName(QStringLiteral("Warnings"));
    warning_->setWordWrap(true);
    warning_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    boundedRerun_ =
        new QPushButton(QStringLiteral("Run again with constants kept within 0 and 1 on the same "
                                       "demand"));
    boundedRerun_->setObjectName(QStringLiteral("BoundedRerun"));
    boundedRerun_->setToolTip(WrappedToolTip(QStringLiteral(
        "Repeats this run with the random sequence where it stood at its start, so on the very "
        "same demand, with the option \"Keep smoothing constants within 0 and 1\" on.")));
    connect(boundedRerun_, &QPushButton::clicked, this,
            [this] { emit BoundedRerunRequested(run_); });
    auto* bandLayout = new QVBoxLayout(band_);
    bandLayout->setContentsMargins(6, 4, 6, 4);
    bandLayout->addWidget(warning_);
    bandLayout->addWidget(boundedRerun_, 0, Qt::AlignRight);
    band_->hide();

    notes_ = new QLabel;
    notes_->setObjectName(QStringLiteral("Notes"));
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_->hide();

    layout->addLayout(runsRow, 0, 0);
    layout->addWidget(totals_, 1, 0);
    layout->addWidget(band_, 2, 0);
    layout->addWidget(notes_, 3, 0);
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
                const RowSubject row = figures_->SubjectOfRow(sorted_->mapToSource(current).row());
                // A run's row has no series of its own: the charts keep the row they show.
                if (current.isValid() && row.kind != RowSubject::Kind::run) {
                    selected_ = row;
                    DrawSelectedRow();
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

    tableCaption_ = BuddyLabel(QString(), *table_);
    tableCaption_->setWordWrap(true);
    layout->addWidget(tableCaption_);
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
    // How the run was made, out of the way of the figures.
    scenario_ = new QWidget;
    scenario_->setObjectName(QStringLiteral("Scenario"));
    auto* scenarioLayout = new QVBoxLayout(scenario_);
    scenarioLayout->addLayout(new QGridLayout);
    scenarioLayout->addStretch(1);
    auto* scenarioPage = new QScrollArea;
    scenarioPage->setWidget(scenario_);
    scenarioPage->setWidgetResizable(true);
    scenarioPage->setFrameShape(QFrame::NoFrame);
    charts_->addTab(scenarioPage, QStringLiteral("Sce&nario"));
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
    bothEvaluations_ = new QCheckBox(QStringLiteral("&Both evaluations"));
    bothEvaluations_->setObjectName(QStringLiteral("BothEvaluations"));
    bothEvaluations_->setToolTip(WrappedToolTip(QStringLiteral(
        "Draws the curves of the evaluation not shown beside those of the one shown.")));
    connect(bothEvaluations_, &QCheckBox::toggled, this, &ResultsWindow::DrawTradeoff);

    auto* boxes = new QGridLayout;
    boxes->addWidget(BuddyLabel(QStringLiteral("Target &fill rate:"), *targetFillRate_), 0, 0);
    boxes->addWidget(targetFillRate_, 0, 1);
    boxes->addWidget(targetAnswer_, 0, 2, 1, 3);
    boxes->addWidget(BuddyLabel(QStringLiteral("Cost of a &lost sale:"), *lostSaleCost_), 1, 0);
    boxes->addWidget(lostSaleCost_, 1, 1);
    boxes->addWidget(BuddyLabel(QStringLiteral("of a retur&n:"), *returnCost_), 1, 2);
    boxes->addWidget(returnCost_, 1, 3);
    boxes->addWidget(costAnswer_, 1, 4, 1, 2);
    boxes->addWidget(bothEvaluations_, 0, 5);
    boxes->setColumnStretch(4, 1);

    tradeoffChart_ = new ChartPanel;
    tradeoffChart_->setObjectName(QStringLiteral("TradeoffChart"));
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(boxes);
    check_ = new CheckTable;
    // The check below the chart takes room only as the user gives it.
    auto* chartAndCheck = new QSplitter(Qt::Vertical);
    chartAndCheck->addWidget(tradeoffChart_);
    chartAndCheck->addWidget(check_);
    chartAndCheck->setStretchFactor(0, 3);
    layout->addWidget(chartAndCheck, 1);
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
        {"OpenResultsFolder", "Open results &folder...",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), &ResultsWindow::ChooseResultsFolder},
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
    const QWidget& formWindow = *form.window();
    const QScreen* screen = formWindow.screen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
    if (room.isEmpty()) {
        resize(kPreferredSize);
        return;
    }
    // This window's frame will take what the form's takes.
    const QRect formFrame = formWindow.frameGeometry();
    const QSize frame = formFrame.size() - formWindow.geometry().size();
    const QSize most = room.size() - frame;
    const QSize size = kPreferredSize.boundedTo(most).expandedTo(minimumSizeHint().boundedTo(most));
    const int right = room.right() - formFrame.right() - kGap;
    const int left = formFrame.left() - room.left() - kGap;
    const int least = minimumSizeHint().width() + frame.width();
    QRect placed(QPoint(), size);
    if (std::max(right, left) >= least) {
        // Beside the form, on the side with more room, as wide as that room allows.
        const int width = std::min(size.width(), std::max(right, left) - frame.width());
        placed.setWidth(width);
        placed.moveLeft(right >= left ? formFrame.right() + kGap + 1
                                      : formFrame.left() - kGap - width - frame.width());
    } else {
        // No room beside it: over the form's right side, within the screen.
        placed.moveLeft(room.right() - size.width() - frame.width() + 1);
    }
    placed.moveTop(
        std::clamp(formFrame.top(), room.top(),
                   std::max(room.top(), room.bottom() - size.height() - frame.height())));
    resize(placed.size());
    move(placed.topLeft());
}

void ResultsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (header_->height() * kHeaderShare.second > height() * kHeaderShare.first) {
        FitHeader();
    }
}

void ResultsWindow::FitHeader() {
    // Before the window is first shown its parts have no size yet: the window's width decides.
    const QMargins margins = layout()->contentsMargins();
    // Less the scroll bar's width, which the header may need when the window is small.
    const int across = width() - margins.left() - margins.right() -
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QWidget& header = *header_->widget();
    header.layout()->activate();
    const int wanted =
        header.hasHeightForWidth() ? header.heightForWidth(across) : header.sizeHint().height();
    const int total = height() - margins.top() - margins.bottom() -
                      layout()->itemAt(1)->sizeHint().height() - layout()->spacing();
    const int headerHeight = std::min(wanted, total * kHeaderShare.first / kHeaderShare.second);
    const int rest = total - headerHeight;
    splitter_->setSizes({headerHeight, rest * 2 / 5, rest - rest * 2 / 5});
}

void ResultsWindow::ShowScenario() {
    FillPairs(*static_cast<QGridLayout*>(scenario_->layout()->itemAt(0)->layout()),
              ScenarioItems(*run_), kScenarioPairsPerLine);
}

void ResultsWindow::ShowTotals() {
    const RunResults& results = run_->results;
    totalsDescription_->setText(TotalsDescription(results, evaluation_));
    FillPairs(*totalsGrid_, TotalItems(results.figures.Of(evaluation_).sound), kTotalsPairsPerLine);
}

void ResultsWindow::ShowWarningsAndNotes() {
    const std::vector<std::string>& warnings = run_->record.warnings;
    warning_->setText(QStringLiteral("Warning: ") + LinesText(warnings));
    band_->setVisible(!warnings.empty());
    // Only divergence is helped by bounded constants, and only where they were not bounded.
    boundedRerun_->setVisible(!run_->health.divergedSalesPoints.empty() &&
                              !run_->record.options.boundedConstants &&
                              run_->sourceAtStart.has_value());
    boundedRerun_->setEnabled(!running_);
    const std::vector<std::string>& notes = run_->record.notes;
    notes_->setText(QStringLiteral("Notes: ") + LinesText(notes).replace('\n', ' '));
    notes_->setVisible(!notes.empty());
}

void ResultsWindow::ShowTable() {
    if (compared_.size() > 1) {
        tableCaption_->setText(QStringLiteral("Figures of the selected runs %1, each over its "
                                              "sound sales &points:")
                                   .arg(EvaluationWords(evaluation_)));
        std::vector<FiguresRow> rows;
        for (const std::size_t at : compared_) {
            rows.push_back({{RowSubject::Kind::run, static_cast<int>(at) + 1},
                            RunName(at),
                            runs_[at]->results.figures.Of(evaluation_).sound});
        }
        figures_->SetRows(std::move(rows), QStringLiteral("Run"),
                          QStringLiteral("The run by its place in the list of runs"));
        table_->resizeColumnsToContents();
        return;
    }
    tableCaption_->setText(QStringLiteral("Figures per sales &point %1 (click a heading to "
                                          "sort; marked rows diverged):")
                               .arg(EvaluationWords(evaluation_)));
    figures_->SetRows(SalesPointRows(run_->results, evaluation_), QStringLiteral("Sales point"),
                      QStringLiteral("The sales point by its name; \"sound\" sums the sales "
                                     "points whose forecasts did not diverge, \"all\" every one"));
    table_->resizeColumnsToContents();
    const int salesPoints = static_cast<int>(run_->results.figures.sound.size());
    if (selected_.kind == RowSubject::Kind::salesPoint) {
        selected_.number = std::clamp(selected_.number, 1, std::max(salesPoints, 1));
    }
    SelectRow(selected_);
}

void ResultsWindow::SelectRow(const RowSubject& row) {
    const QModelIndex index = sorted_->mapFromSource(figures_->index(figures_->RowOf(row), 0));
    table_->setCurrentIndex(index);
    table_->scrollTo(index);
    DrawSelectedRow();
}

void ResultsWindow::DrawSelectedRow() {
    const SalesPointCharts charts = ChartsOfRow(run_->results, selected_, evaluation_, Caption());
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
    const EvaluationAnswers& answers = run_->results.Answers(evaluation_);
    ShowAnswer(*targetAnswer_, asked.targetProblem.value_or(TargetAnswerText(answers.target)),
               asked.targetProblem.has_value());
    ShowAnswer(*costAnswer_,
               asked.costProblem.value_or(
                   CostAnswerText(answers.cheapest, asked.request.costs.has_value()) +
                   CostTauText(answers.costTarget)),
               asked.costProblem.has_value());
    DrawTradeoff();
    nextDeliveries_->Show(run_->results);
    check_->Show(std::shared_ptr<const RunResults>(run_, &run_->results), asked.request);
}

void ResultsWindow::DrawTradeoff() {
    if (!run_) {
        return;
    }
    std::vector<TradeoffOfRun> shown;
    for (const std::size_t at : compared_) {
        shown.push_back({RunName(at), &runs_[at]->results});
    }
    if (shown.empty()) {
        shown.push_back({Caption(), &run_->results});
    }
    tradeoffChart_->Draw(TradeoffChart(shown, evaluation_, bothEvaluations_->isChecked(),
                                       compared_.empty() ? Caption() : QString()));
}

QString ResultsWindow::Caption() const {
    return QStringLiteral("run %1: %2").arg(run_->record.run).arg(ScenarioLine(*run_));
}

ChartPanel& ResultsWindow::VisibleChart() const {
    auto* chart = qobject_cast<ChartPanel*>(charts_->currentWidget());
    return chart != nullptr ? *chart : *tradeoffChart_;
}

void ResultsWindow::Say(const QString& text) {
    status_->setText(text);
}

}  // namespace sf::ui
