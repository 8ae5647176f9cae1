#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "runtime/file_clashes.h"
#include "runtime/run_error.h"
#include "scenario/scenario_file.h"
#include "state/example_inputs.h"
#include "ui/box_shortcuts.h"
#include "ui/control_help.h"
#include "ui/form_layout.h"
#include "ui/help_page.h"
#include "ui/report_location.h"
#include "ui/season_dialog.h"
#include "version/program_version.h"

namespace sf::ui {
namespace {

// Scenario files of their own type; run.json and files of earlier versions are JSON.
constexpr char kScenarioFilter[] = "Scenario files (*.sfscenario *.json);;All files (*)";
constexpr char kScenarioSuffix[] = "sfscenario";
constexpr char kScenarioFolderKey[] = "scenarios/folder";
constexpr char kReportFilter[] = "Text files (*.txt);;All files (*)";

QSettings Settings() {
    return WindowSettings();
}

std::filesystem::path FilePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QAction* AddAction(QMenu& menu, const char* objectName, const QString& text,
                   const QKeySequence& shortcut = {}) {
    QAction* action = menu.addAction(text);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setShortcut(shortcut);
    return action;
}

}  // namespace

MainWindow::MainWindow(NumberLocale locale, std::unique_ptr<MessageSink> messages)
    : messages_(*messages) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kApplicationName);
    form_ = new ForecastWindow(std::move(locale), std::move(messages));
    setCentralWidget(form_);
    reportFile_ = new QLabel;
    reportFile_->setObjectName(QStringLiteral("ReportFile"));
    // A long path is cut rather than widening the form; the tooltip holds it whole.
    reportFile_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addPermanentWidget(reportFile_, 1);
    statusBar()->setSizeGripEnabled(false);
    CreateMenus();
    // The form has its fixed size; the window adds the menu and status bars to it and no more.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    LetShortcutsThroughBoxes(*this);
    RestoreRemembered();
    // Where the form was left; a place off every screen now is brought back onto one.
    restoreGeometry(RememberedPlace(Settings(), objectName()));
}

void MainWindow::NewScenario() {
    form_->SalesHistory().UseSimulatedDemand();
    form_->ShowScenario(Scenario{});
    currentScenario_.clear();
    QSettings settings = Settings();
    ForgetForm(settings);
    UseDefaultReportFile();
}

void MainWindow::LoadExample() {
    form_->SalesHistory().UseSimulatedDemand();
    Scenario example;
    example.inputs = ExampleInputs();
    form_->ShowScenario(example);
    boundedConstants_->setChecked(false);
    currentScenario_.clear();
}

void MainWindow::SetReportFile(const QString& path) {
    ShowReportFile(path);
    QSettings settings = Settings();
    RememberReportPath(settings, ReportFile());
}

QString MainWindow::ReportFile() const {
    return QFile::decodeName(form_->ReportPath().c_str());
}

void MainWindow::ShowReportFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    form_->SetReportPath(FilePath(absolute));
    reportFile_->setText(tr("Report: %1").arg(QDir::toNativeSeparators(absolute)));
    reportFile_->setToolTip(reportFile_->text());
}

void MainWindow::UseDefaultReportFile() {
    const ReportLocation location = DefaultReportLocation(QDir::currentPath(), QDir::homePath());
    ShowReportFile(location.path);
    if (location.fellBack) {
        // Said once, where the user looks for the report; File > Report File... changes it.
        statusBar()->showMessage(tr("The folder %1 cannot be written: the report goes to your "
                                    "home folder.")
                                     .arg(QDir::toNativeSeparators(QDir::currentPath())));
    }
}

void MainWindow::RestoreRemembered() {
    const QSettings settings = Settings();
    std::optional<QString> historyRefused;
    if (const std::optional<Scenario> form = RememberedForm(settings, form_->Locale())) {
        form_->ShowScenario(*form);
        // The demand the form was left with: its sales history, read again as it was read.
        if (form->history) {
            historyRefused = form_->SalesHistory().UseRememberedHistory(*form->history);
        }
    }
    if (const QString report = RememberedReportPath(settings); !report.isEmpty()) {
        ShowReportFile(report);
    } else {
        UseDefaultReportFile();
    }
    if (historyRefused) {
        // The other boxes stay as they were left; only the demand falls back.
        statusBar()->showMessage(
            tr("%1. Runs use simulated demand until a sales history is chosen.")
                .arg(historyRefused->endsWith('.') ? historyRefused->chopped(1) : *historyRefused));
    }
}

void MainWindow::ChooseReportFile() {
    QFileDialog dialog(this, tr("Report File"), QFileInfo(ReportFile()).absolutePath(),
                       tr(kReportFilter));
    dialog.setObjectName(QStringLiteral("ReportFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Every run writes the report anew; that is what the file is for.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(ReportFile());
    if (dialog.exec() == QDialog::Accepted) {
        SetReportFile(dialog.selectedFiles().constFirst());
    }
}

bool MainWindow::OpenScenario(const QString& path) {
    RememberFolder(path);
    Scenario scenario;
    try {
        scenario = ReadScenarioFile(FilePath(path), form_->Locale());
    } catch (const RunError& refusal) {
        messages_.ShowError(*this, QString::fromStdString(refusal.what()));
        return false;
    }
    // The scenario's demand: its sales history read again, or the models.
    form_->SalesHistory().UseSimulatedDemand();
    form_->ShowScenario(scenario);
    if (scenario.history) {
        form_->SalesHistory().UseScenarioHistory(*scenario.history, FilePath(path));
    }
    boundedConstants_->setChecked(scenario.boundedConstants);
    currentScenario_ = path;
    QSettings settings = Settings();
    AddRecentFile(settings, RecentKind::scenario, path);
    // The window's sequence carries on unless the user wants the scenario's own demand; a sales
    // history draws nothing, so there is nothing to ask.
    if (!scenario.history && !form_->SequenceAtStartOf(scenario.seed) &&
        messages_.Ask(*this, tr("Start the random sequence from the seed of this scenario, %1? "
                                "Then the next run draws the demand that sales-forecast-cli "
                                "--scenario draws from the file. Otherwise the sequence of "
                                "this start carries on.")
                                 .arg(scenario.seed))) {
        form_->StartSequenceFrom(scenario.seed);
    }
    return true;
}

bool MainWindow::SaveScenario(const QString& path) {
    RememberFolder(path);
    const Scenario scenario = form_->TypedScenario();
    const UsedPath paths[] = {
        {"the scenario file", FilePath(path), PathUse::written},
        {"the sales history", scenario.inputs.history ? scenario.inputs.history->file : "",
         PathUse::read},
    };
    try {
        if (const std::optional<std::string> clash = FindPathClash(paths)) {
            throw RunError(*clash);
        }
        WriteScenarioFile(FilePath(path), scenario, form_->Locale());
    } catch (const RunError& refusal) {
        messages_.ShowError(*this, QString::fromStdString(refusal.what()));
        return false;
    }
    currentScenario_ = path;
    QSettings settings = Settings();
    AddRecentFile(settings, RecentKind::scenario, path);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!form_->close()) {
        event->ignore();
        return;
    }
    QSettings settings = Settings();
    RememberForm(settings, form_->TypedScenario(), form_->Locale());
    RememberPlace(settings, objectName(), saveGeometry());
}

void MainWindow::CreateMenus() {
    QMenu& file = *menuBar()->addMenu(tr("&File"));
    QAction* newScenario = AddAction(file, "newScenarioAction", tr("&New Scenario"),
                                     QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newScenario, &QAction::triggered, this, &MainWindow::NewScenario);
    connect(AddAction(file, "loadExampleAction", tr("Load E&xample")), &QAction::triggered, this,
            &MainWindow::LoadExample);
    QAction* open = AddAction(file, "openScenarioAction", tr("&Open Scenario..."),
                              QKeySequence(Qt::CTRL | Qt::Key_O));
    QMenu* recentScenarios = file.addMenu(tr("Open &Recent Scenario"));
    recentScenarios->setObjectName(QStringLiteral("recentScenariosMenu"));
    connect(recentScenarios, &QMenu::aboutToShow, this,
            [this, recentScenarios] { FillRecentMenu(*recentScenarios, RecentKind::scenario); });
    QAction* save = AddAction(file, "saveScenarioAction", tr("&Save Scenario..."),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    file.addSeparator();
    connect(AddAction(file, "useSalesHistoryAction", tr("Use Sales &History...")),
            &QAction::triggered, &form_->SalesHistory(), &SalesHistoryPanel::ChooseFile);
    QMenu* recentHistories = file.addMenu(tr("Recent Sales His&tories"));
    recentHistories->setObjectName(QStringLiteral("recentSalesHistoriesMenu"));
    connect(recentHistories, &QMenu::aboutToShow, this, [this, recentHistories] {
        FillRecentMenu(*recentHistories, RecentKind::salesHistory);
    });
    connect(&form_->SalesHistory(), &SalesHistoryPanel::FileUsed, this, [](const QString& path) {
        QSettings settings = Settings();
        AddRecentFile(settings, RecentKind::salesHistory, path);
    });
    connect(AddAction(file, "useSimulatedDemandAction", tr("Use Si&mulated Demand")),
            &QAction::triggered, &form_->SalesHistory(), &SalesHistoryPanel::UseSimulatedDemand);
    file.addSeparator();
    QAction* reportFile = AddAction(file, "reportFileAction", tr("Re&port File..."));
    reportFile->setToolTip(tr("Where the runs write the report"));
    connect(reportFile, &QAction::triggered, this, &MainWindow::ChooseReportFile);
    QAction* exportResults = AddAction(file, "exportResultsAction", tr("&Export Results..."),
                                       QKeySequence(Qt::CTRL | Qt::Key_E));
    exportResults->setEnabled(false);  // until a run has completed
    connect(exportResults, &QAction::triggered, form_, &ForecastWindow::ChooseExportFolder);
    connect(form_, &ForecastWindow::ResultsShown, exportResults,
            [exportResults] { exportResults->setEnabled(true); });
    QAction* openResults =
        AddAction(file, "openResultsFolderAction", tr("Open Results &Folder..."));
    openResults->setToolTip(tr("Adds a run that an export wrote to the Results window's runs"));
    connect(openResults, &QAction::triggered, form_, &ForecastWindow::ChooseResultsFolder);
    file.addSeparator();
    QAction* quit = AddAction(file, "quitAction", tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(open, &QAction::triggered, this, &MainWindow::ChooseScenarioToOpen);
    connect(save, &QAction::triggered, this, &MainWindow::ChooseScenarioToSave);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu& options = *menuBar()->addMenu(tr("O&ptions"));
    boundedConstants_ = AddAction(options, "boundedConstantsAction",
                                  tr("&Keep smoothing constants within 0 and 1"));
    boundedConstants_->setCheckable(true);
    boundedConstants_->setToolTip(WrappedToolTip(
        tr("Every rolling search of alpha and beta stays within 0 and 1; off, a constant may "
           "leave that range and a forecast may diverge.")));
    connect(boundedConstants_, &QAction::toggled, form_, &ForecastWindow::SetBoundedConstants);
    connect(form_, &ForecastWindow::BoundedConstantsChanged, boundedConstants_,
            &QAction::setChecked);
    seasonLength_ = AddAction(options, "seasonLengthAction", tr("&Season length..."));
    ShowSeasonLength(form_->SeasonLength());
    connect(seasonLength_, &QAction::triggered, this, &MainWindow::ChooseSeasonLength);
    connect(form_, &ForecastWindow::SeasonLengthChanged, this, &MainWindow::ShowSeasonLength);

    QMenu& help = *menuBar()->addMenu(tr("&Help"));
    connect(AddAction(help, "helpAction", tr("Sales Forecast &Help"), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MainWindow::ShowHelp);
    connect(AddAction(help, "aboutAction", tr("&About Sales Forecast")), &QAction::triggered, this,
            &MainWindow::ShowAbout);

    // The inputs stay as they are while a run reads them.
    connect(form_, &ForecastWindow::RunningChanged, this, [=, this](bool running) {
        for (QAction* input : {newScenario, open, reportFile, boundedConstants_, seasonLength_,
                               recentScenarios->menuAction(), recentHistories->menuAction()}) {
            input->setEnabled(!running);
        }
    });
}

void MainWindow::ChooseSeasonLength() {
    SeasonDialog dialog(form_->SeasonLength(), this);
    if (dialog.exec() == QDialog::Accepted) {
        form_->SetSeasonLength(dialog.Length());
    }
}

void MainWindow::ShowSeasonLength(int length) {
    seasonLength_->setToolTip(WrappedToolTip(
        length == 0 ? tr("No season: the forecasts follow the level of the demand.")
                    : tr("Demand is adjusted by a season of %1 periods, found in the periods for "
                         "initial mu and sigma.")
                          .arg(length)));
}

void MainWindow::FillRecentMenu(QMenu& menu, RecentKind kind) {
    menu.clear();
    const QStringList files = RecentFiles(Settings(), kind);
    for (int at = 0; at < files.size(); ++at) {
        const QString& path = files[at];
        // The number is the entry's key; the folder is in the tooltip.
        QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(at + 1).arg(
            QFileInfo(path).fileName().replace('&', QStringLiteral("&&"))));
        entry->setToolTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, kind, path] {
            if (kind == RecentKind::scenario) {
                OpenScenario(path);
            } else {
                form_->SalesHistory().UseFile(path);
            }
        });
    }
    if (files.isEmpty()) {
        menu.addAction(tr("(none yet)"))->setEnabled(false);
    }
    menu.setToolTipsVisible(true);
}

void MainWindow::ChooseScenarioToOpen() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Scenario"), ScenarioFolder(),
                                                      tr(kScenarioFilter));
    if (!path.isEmpty()) {
        OpenScenario(path);
    }
}

void MainWindow::ChooseScenarioToSave() {
    QFileDialog dialog(this, tr("Save Scenario"), ScenarioFolder(), tr(kScenarioFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(kScenarioSuffix));
    if (!currentScenario_.isEmpty()) {
        dialog.selectFile(QFileInfo(currentScenario_).fileName());
    }
    if (dialog.exec() == QDialog::Accepted) {
        SaveScenario(dialog.selectedFiles().constFirst());
    }
}

void MainWindow::ShowHelp() {
    if (helpPage_ == nullptr) {
        auto* page = new QDialog(this);
        page->setObjectName(QStringLiteral("HelpPage"));
        page->setWindowTitle(tr("Sales Forecast Help"));
        page->setAttribute(Qt::WA_DeleteOnClose);
        auto* text = new QTextBrowser(page);
        text->setHtml(HelpPage());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, page);
        connect(buttons, &QDialogButtonBox::rejected, page, &QDialog::close);
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(text);
        layout->addWidget(buttons);
        page->resize(560, 520);
        helpPage_ = page;
    }
    helpPage_->show();
    helpPage_->raise();
    helpPage_->activateWindow();
}

void MainWindow::ShowAbout() {
    QMessageBox::about(
        this, tr("About Sales Forecast"),
        tr("<h3>Sales Forecast %1</h3>"
           "<p>Simulates demand at up to 100 sales points, forecasts it by exponential "
           "smoothing and sets deliveries, for experiments with forecasting and "
           "replenishment.</p>"
           "<p>Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later). "
           "This program comes with no warranty.</p>"
           "<p>Built with Qt %2, running on Qt %3.</p>")
            .arg(QString::fromLatin1(kProgramVersion), QStringLiteral(QT_VERSION_STR),
                 QString::fromLatin1(qVersion())));
}

QString MainWindow::ScenarioFolder() const {
    return Settings().value(kScenarioFolderKey, QDir::homePath()).toString();
}

void MainWindow::RememberFolder(const QString& path) {
    Settings().setValue(kScenarioFolderKey, QFileInfo(path).absolutePath());
}

}  // namespace sf::ui
