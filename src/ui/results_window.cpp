#include "ui/results_window.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <tuple>
#include <utility>

#include "ui/box_shortcuts.h"
#include "ui/export_folder_dialog.h"
#include "ui/form_layout.h"
#include "ui/report_viewer.h"
#include "ui/results_folder_reading.h"
#include "ui/run_description.h"
#include "ui/run_export.h"
#include "ui/tab_names.h"
#include "ui/window_memory.h"
#include "ui/window_placement.h"

namespace sf::ui {
namespace {

constexpr QSize kPreferredSize(1400, 900);
// The header takes at most this share of the height, and scrolls beyond it.
constexpr std::pair kHeaderShare(1, 3);
// Below this height the table takes a tab of its own beside the charts, which keep their room.
constexpr int kTableBesideChartsHeight = 860;
constexpr char kFiguresTab[] = "Fi&gures";
// The folder the last results folder was opened from.
constexpr char kResultsFolderKey[] = "results/openFolder";

QString NameOf(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
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
    figures_ = new FiguresPage;
    SetTabNames(*figures_, kFiguresTab, kFiguresTab);
    splitter_ = new QSplitter(Qt::Vertical);
    splitter_->addWidget(header_);
    splitter_->addWidget(figures_);
    splitter_->addWidget(BuildCharts());
    splitter_->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter_, 1);
    layout->addWidget(BuildButtons());
    Wire();
    LetShortcutsThroughBoxes(*this);
    figures_->FocusTable();

    auto* close = new QAction(this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

QWidget* ResultsWindow::BuildHeader() {
    auto* header = new QWidget;
    auto* layout = new QGridLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    runs_ = new RunsList;
    totals_ = new TotalsPanel;
    layout->addWidget(runs_, 0, 0);
    layout->addWidget(totals_, 1, 0);
    return header;
}

// The pages under the table, one tab each. A new page is a row here, and where it shows a run's
// answers, a line in AskAgain.
QWidget* ResultsWindow::BuildCharts() {
    charts_ = new QTabWidget;
    charts_->setObjectName(QStringLiteral("ChartTabs"));
    salesPointChart_ = new ChartPanel;
    salesPointChart_->setObjectName(QStringLiteral("SalesPointChart"));
    constantsChart_ = new ChartPanel;
    constantsChart_->setObjectName(QStringLiteral("ConstantsChart"));
    tradeoff_ = new TradeoffPage;
    scenario_ = new ScenarioPage;
    nextDeliveries_ = new NextDeliveriesPage;
    season_ = new SeasonPage;
    salesPoints_ = new SalesPointsPage;
    // Each name in full, and where the bar is too narrow for those, in short.
    const std::tuple<QWidget*, const char*, const char*> pages[] = {
        {salesPointChart_, "&Demand, forecast and delivery", "&Demand and forecast"},
        {constantsChart_, "Smoothing &constants", "&Constants"},
        {tradeoff_, "&Trade-off over τ", "&Trade-off"},
        {scenario_, "Sce&nario", "Sce&nario"},
        {nextDeliveries_, "Ne&xt deliveries", "Ne&xt deliveries"},
        {season_, "S&eason", "S&eason"},
        {salesPoints_, "Sales po&ints", "Po&ints"},
    };
    for (const auto& [page, full, shortName] : pages) {
        SetTabNames(*page, full, shortName);
        charts_->addTab(page, QString::fromUtf8(full));
    }
    return charts_;
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

// What each page's changes make of the others.
void ResultsWindow::Wire() {
    connect(runs_, &RunsList::RunChosen, this, &ResultsWindow::Present);
    connect(runs_, &RunsList::RunsCompared, this, &ResultsWindow::Compare);
    connect(runs_, &RunsList::SameDemandRequested, this, &ResultsWindow::SameDemandRequested);
    connect(totals_, &TotalsPanel::EvaluationChosen, this, &ResultsWindow::ShowEvaluation);
    connect(totals_, &TotalsPanel::BoundedRerunRequested, this,
            [this] { emit BoundedRerunRequested(run_); });
    connect(figures_, &FiguresPage::RowSelected, this, &ResultsWindow::DrawSelectedRow);
    connect(figures_, &FiguresPage::Copied, this,
            [this] { Say(QStringLiteral("The table was copied as tab-separated text.")); });
    connect(tradeoff_, &TradeoffPage::QuestionsChanged, this, &ResultsWindow::AskAgain);
    connect(tradeoff_, &TradeoffPage::BothEvaluationsToggled, this, &ResultsWindow::DrawTradeoff);
    connect(nextDeliveries_, &NextDeliveriesPage::TargetChanged, this, &ResultsWindow::AskAgain);
}

void ResultsWindow::ShowRun(std::shared_ptr<CompletedRun> run,
                            const std::vector<std::string>& warnings) {
    run->record.warnings = warnings;
    runs_->Add(run);
    Present(std::move(run));
    runs_->CheckSameDemand();
    if (!placed_) {
        // Where the user left it; the first time, beside the form.
        if (!restoreGeometry(RememberedPlace(WindowSettings(), objectName()))) {
            PlaceBesideForm(*parentWidget());
        }
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
    totals_->Present(*run_);
    scenario_->Show(*run_);
    salesPoints_->ShowRun(run_->results, ShownEvaluation(), SalesPointSourceOf(run_, locale_),
                          Caption());
    ShowTable();
    AskAgain();
    Say({});
}

void ResultsWindow::Compare(std::shared_ptr<CompletedRun> first) {
    run_ = std::move(first);
    ShowTable();
    DrawTradeoff();
}

bool ResultsWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        runs_->CheckSameDemand();
    }
    return QWidget::event(event);
}

void ResultsWindow::SetRunning(bool running) {
    runs_->SetRunning(running);
    totals_->SetRunning(running);
    if (run_) {
        totals_->ShowWarningsAndNotes(*run_);
    }
}

void ResultsWindow::ShowEvaluation(Evaluation evaluation) {
    if (!run_ || !totals_->Choose(evaluation)) {
        return;
    }
    totals_->ShowTotals(run_->results);
    salesPoints_->ShowEvaluation(run_->results, evaluation);
    ShowTable();
    AskAgain();
}

void ResultsWindow::ChooseExportFolder() {
    // Beside the report, where the run's other files are.
    const QString folder =
        AskExportFolder(*this, QFileInfo(NameOf(run_->record.reportPath)).absolutePath());
    if (!folder.isEmpty()) {
        ExportTo(folder);
    }
}

bool ResultsWindow::ExportTo(const QString& folder) {
    const WrittenExport written = ExportRun(folder, *run_);
    if (written.problem) {
        messages_.ShowError(*this, *written.problem);
        return false;
    }
    Say(written.said);
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
    // A name any folder and program takes: "run-2-trade-off-over.png".
    const QString words =
        QStringLiteral("run %1 %2").arg(run_->number).arg(FullTabName(*charts_->currentWidget()));
    const QString name = words.toLower().replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")),
                                                 QStringLiteral("-"));
    const QString path =
        AskChartFile(*this, QDir(QFileInfo(NameOf(run_->record.reportPath)).absolutePath())
                                .filePath(name.section('-', 0, -1, QString::SectionSkipEmpty) +
                                          QStringLiteral(".png")));
    if (!path.isEmpty()) {
        SaveChartTo(path);
    }
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
    if (run_->record.reportPath.empty()) {
        messages_.ShowError(*this, QStringLiteral("A sales history beyond 100 sales points or "
                                                  "600 periods writes no report; export its "
                                                  "results instead."));
        return;
    }
    const QString report = NameOf(run_->record.reportPath);
    if (!QFile::exists(report)) {
        messages_.ShowError(*this, QStringLiteral("The report \"%1\" is not there.").arg(report));
        return;
    }
    OpenInViewer(report, *this, [this, report](const QString& why) {
        messages_.ShowError(
            *this, QStringLiteral("The report \"%1\" could not be opened: %2.").arg(report, why));
    });
}

void ResultsWindow::CopyTable() {
    figures_->CopyTable();
}

void ResultsWindow::PlaceBesideForm(const QWidget& form) {
    const QWidget& formWindow = *form.window();
    const QScreen* screen = formWindow.screen();
    const QRect formFrame = formWindow.frameGeometry();
    const std::optional<QRect> placed = PlaceBeside(
        screen != nullptr ? screen->availableGeometry() : QRect(), formFrame,
        formFrame.size() - formWindow.geometry().size(), kPreferredSize, minimumSizeHint());
    if (!placed) {
        resize(kPreferredSize);
        return;
    }
    resize(placed->size());
    move(placed->topLeft());
}

void ResultsWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    QSettings settings = WindowSettings();
    RememberPlace(settings, objectName(), saveGeometry());
}

void ResultsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (PlaceTable() || header_->height() * kHeaderShare.second > height() * kHeaderShare.first) {
        FitHeader();
    }
    FitTabNames(*charts_);
}

bool ResultsWindow::TableInTabs() const {
    return charts_->indexOf(figures_) >= 0;
}

bool ResultsWindow::PlaceTable() {
    const bool small = height() < kTableBesideChartsHeight;
    if (small == TableInTabs()) {
        return false;
    }
    if (small) {
        // Inserted before the page shown, the tab widget keeps showing that page.
        charts_->insertTab(0, figures_, QString::fromUtf8(kFiguresTab));
    } else {
        charts_->removeTab(charts_->indexOf(figures_));
        splitter_->insertWidget(1, figures_);
        figures_->show();
    }
    return true;
}

void ResultsWindow::FitHeader() {
    // Before the window is first shown its parts have no size yet: the window's width decides.
    const QMargins margins = layout()->contentsMargins();
    // Less the scroll bar's width, which the header may need when the window is small.
    const int across = width() - margins.left() - margins.right() -
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QWidget& header = *header_->widget();
    // The pages of the header lay out their parts first, so that the header has their sizes.
    runs_->layout()->activate();
    totals_->layout()->activate();
    header.layout()->activate();
    const int wanted =
        header.hasHeightForWidth() ? header.heightForWidth(across) : header.sizeHint().height();
    const int total = height() - margins.top() - margins.bottom() -
                      layout()->itemAt(1)->sizeHint().height() - layout()->spacing();
    const int headerHeight = std::min(wanted, total * kHeaderShare.first / kHeaderShare.second);
    const int rest = total - headerHeight;
    if (TableInTabs()) {
        splitter_->setSizes({headerHeight, rest});
    } else {
        splitter_->setSizes({headerHeight, rest * 2 / 5, rest - rest * 2 / 5});
    }
}

void ResultsWindow::ShowTable() {
    const Evaluation evaluation = ShownEvaluation();
    std::vector<FiguresRow> compared = runs_->ComparedFigures(evaluation);
    if (compared.empty()) {
        figures_->ShowSalesPoints(run_->results, evaluation);
    } else {
        const RunsList::CommonSound common = runs_->ComparedSound();
        figures_->ShowRuns(std::move(compared), evaluation, common.sound, common.of);
    }
}

void ResultsWindow::DrawSelectedRow() {
    SalesPointCharts charts;
    if (KeepsSeries(*run_)) {
        charts = ChartsOfRow(run_->results, figures_->SelectedRow(), ShownEvaluation(), Caption());
    } else {
        // Computing a sales point again takes a moment: only the tab made for that does it.
        charts.demand.title = charts.constants.title = QStringLiteral(
            "A catalogue keeps no series here: select a sales point on the Sales "
            "points tab to see its charts.");
    }
    salesPointChart_->Draw(charts.demand);
    constantsChart_->Draw(charts.constants);
    const RowSubject row = figures_->SelectedRow();
    season_->Show(run_->results.series, row.kind == RowSubject::Kind::salesPoint ? row.number : 0,
                  Caption());
}

void ResultsWindow::AskAgain() {
    if (!run_) {
        return;
    }
    // A catalogue's answers are those it ran with: there are no series to answer anew from.
    const bool askable = KeepsSeries(*run_);
    tradeoff_->SetAskable(askable);
    nextDeliveries_->SetAskable(askable);
    if (askable) {
        ResultsRequest request = tradeoff_->Asked();
        request.targetServiceLevel = nextDeliveries_->TargetServiceLevel();
        AnswerRequest(run_->results, request);
        run_->record.request = request;
    }
    tradeoff_->ShowAnswers(run_->results, ShownEvaluation());
    tradeoff_->ShowCheck(
        askable ? std::shared_ptr<const RunResults>(run_, &run_->results) : nullptr,
        run_->record.request);
    DrawTradeoff();
    nextDeliveries_->Show(run_->results, ComingRows(*run_));
}

void ResultsWindow::DrawTradeoff() {
    if (!run_) {
        return;
    }
    std::vector<TradeoffOfRun> shown = runs_->ComparedTradeoffs();
    const bool compared = !shown.empty();
    if (!compared) {
        shown.push_back({Caption(), &run_->results});
    }
    tradeoff_->Draw(shown, ShownEvaluation(), compared ? QString() : Caption());
}

QString ResultsWindow::Caption() const {
    return QStringLiteral("%1: %2").arg(RunName(*run_), ScenarioLine(*run_));
}

ChartPanel& ResultsWindow::VisibleChart() const {
    auto* chart = qobject_cast<ChartPanel*>(charts_->currentWidget());
    if (charts_->currentWidget() == season_) {
        return season_->Chart();
    }
    if (charts_->currentWidget() == salesPoints_) {
        return salesPoints_->Chart();
    }
    return chart != nullptr ? *chart : tradeoff_->Chart();
}

void ResultsWindow::Say(const QString& text) {
    status_->setText(text);
}

}  // namespace sf::ui
