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
#include <QTextBrowser>
#include <QVBoxLayout>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "runtime/file_clashes.h"
#include "runtime/run_error.h"
#include "scenario/scenario_file.h"
#include "ui/control_help.h"
#include "ui/form_layout.h"
#include "version/program_version.h"

namespace sf::ui {
namespace {

// Scenario files of their own type; run.json and files of earlier versions are JSON.
constexpr char kScenarioFilter[] = "Scenario files (*.sfscenario *.json);;All files (*)";
constexpr char kScenarioSuffix[] = "sfscenario";
constexpr char kScenarioFolderKey[] = "scenarios/folder";

// Where the window keeps what it remembers between starts.
QSettings Settings() {
    return QSettings(QStringLiteral("sales-forecast"), QStringLiteral("sales-forecast"));
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
    CreateMenus();
    // The form has its fixed size; the window adds the menu bar to it and no more.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
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
    // The window's sequence carries on unless the user wants the scenario's own demand.
    if (!form_->SequenceAtStartOf(scenario.seed) &&
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
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!form_->close()) {
        event->ignore();
    }
}

void MainWindow::CreateMenus() {
    QMenu& file = *menuBar()->addMenu(tr("&File"));
    QAction* open = AddAction(file, "openScenarioAction", tr("&Open Scenario..."),
                              QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* save = AddAction(file, "saveScenarioAction", tr("&Save Scenario..."),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    file.addSeparator();
    connect(AddAction(file, "useSalesHistoryAction", tr("Use Sales &History...")),
            &QAction::triggered, &form_->SalesHistory(), &SalesHistoryPanel::ChooseFile);
    connect(AddAction(file, "useSimulatedDemandAction", tr("Use Si&mulated Demand")),
            &QAction::triggered, &form_->SalesHistory(), &SalesHistoryPanel::UseSimulatedDemand);
    QAction* exportResults = AddAction(file, "exportResultsAction", tr("&Export Results..."),
                                       QKeySequence(Qt::CTRL | Qt::Key_E));
    exportResults->setEnabled(false);  // until a run has completed
    connect(exportResults, &QAction::triggered, form_, &ForecastWindow::ChooseExportFolder);
    connect(form_, &ForecastWindow::ResultsShown, exportResults,
            [exportResults] { exportResults->setEnabled(true); });
    file.addSeparator();
    QAction* quit = AddAction(file, "quitAction", tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(open, &QAction::triggered, this, &MainWindow::ChooseScenarioToOpen);
    connect(save, &QAction::triggered, this, &MainWindow::ChooseScenarioToSave);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu& options = *menuBar()->addMenu(tr("O&ptions"));
    boundedConstants_ = AddAction(options, "boundedConstantsAction",
                                  tr("&Keep smoothing constants within 0 and 1"));
    boundedConstants_->setCheckable(true);
    boundedConstants_->setToolTip(
        tr("Every rolling search of alpha and beta stays within 0 and 1; off, a constant may "
           "leave that range and a forecast may diverge."));
    connect(boundedConstants_, &QAction::toggled, form_, &ForecastWindow::SetBoundedConstants);

    QMenu& help = *menuBar()->addMenu(tr("&Help"));
    connect(AddAction(help, "helpAction", tr("Sales Forecast &Help"), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MainWindow::ShowHelp);
    connect(AddAction(help, "aboutAction", tr("&About Sales Forecast")), &QAction::triggered, this,
            &MainWindow::ShowAbout);

    // The inputs stay as they are while a run reads them.
    connect(form_, &ForecastWindow::RunningChanged, this, [open, this](bool running) {
        open->setEnabled(!running);
        boundedConstants_->setEnabled(!running);
    });
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
