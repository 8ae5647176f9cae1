#include "ui/forecast_window.h"

#include <QCloseEvent>
#include <QRadioButton>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "results/next_deliveries.h"
#include "results/run_health.h"
#include "run/bounded_proposals.h"
#include "run/catalogue_run.h"
#include "run/run_driver.h"
#include "runtime/file_clashes.h"
#include "runtime/run_error.h"
#include "scenario/scenario_format.h"
#include "state/box_keys.h"
#include "ui/control_help.h"
#include "ui/form_builder.h"
#include "ui/form_layout.h"
#include "ui/same_demand.h"

namespace sf::ui {
namespace {

template <typename Control>
Control* FindControl(const QWidget& window, std::string_view name) {
    return window.findChild<Control*>(QString::fromUtf8(name));
}

}  // namespace

ForecastWindow::ForecastWindow(NumberLocale locale, std::unique_ptr<MessageSink> messages)
    : locale_(std::move(locale)), messages_(std::move(messages)) {
    setObjectName(QStringLiteral("Forecast"));
    setWindowTitle(kApplicationName);
    setFont(WindowFont());
    setFixedSize(ClientSize());
    BuildForm(*this);
    SetToolTips(*this);

    for (const BoxKey& box : kBoxKeys) {
        textBoxes_.push_back(FindControl<QLineEdit>(*this, box.control));
        // No longer than a scenario file keeps: a box of 1000 bytes has at most 1000 characters.
        textBoxes_.back()->setMaxLength(static_cast<int>(kMaxBoxTextBytes));
        inputs_.push_back(textBoxes_.back());
    }
    for (std::size_t at = 0; at < kModelControlNames.size(); ++at) {
        modelControls_[at] = FindControl<QWidget>(*this, kModelControlNames[at]);
    }

    // In the order of DemandModel.
    constexpr auto clickHandlers = std::to_array<void (ForecastWindow::*)()>(
        {&ForecastWindow::loga_Click, &ForecastWindow::sqrot_Click, &ForecastWindow::linear_Click,
         &ForecastWindow::t_tplusn_Click, &ForecastWindow::meanAR1_Click,
         &ForecastWindow::AR1_Click, &ForecastWindow::Normal_Click});
    static_assert(clickHandlers.size() == kDemandModels.size(), "every model has its handler");
    models_ = new QButtonGroup(this);
    for (std::size_t at = 0; at < kDemandModels.size(); ++at) {
        auto* option = FindControl<QRadioButton>(*this, kDemandModels[at].name);
        models_->addButton(option, static_cast<int>(at));
        inputs_.push_back(option);
        // Selecting an option raises its handler, whether by a click or by the program.
        connect(option, &QRadioButton::toggled, this,
                [this, handler = clickHandlers[at]](bool selected) {
                    if (selected) {
                        (this->*handler)();
                    }
                });
    }
    auto* randomWalk = FindControl<QRadioButton>(*this, "randomwalk");
    (new QButtonGroup(this))->addButton(randomWalk);
    inputs_.push_back(randomWalk);

    run_ = FindControl<QPushButton>(*this, "Run");
    inputs_.push_back(run_);
    // Enter or Return on the focused button runs, as in a dialog.
    run_->setAutoDefault(true);
    connect(run_, &QPushButton::clicked, this, &ForecastWindow::Run_Click);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("RunProgress"));
    progress_->setGeometry(ToPixels(kProgressBarArea));
    progress_->hide();
    stop_ = new QPushButton(QStringLiteral("Stop"), this);
    stop_->setObjectName(QStringLiteral("Stop"));
    stop_->setGeometry(ToPixels(kStopButtonArea));
    stop_->hide();
    connect(stop_, &QPushButton::clicked, this, &ForecastWindow::Stop_Click);
    connect(&worker_, &RunWorker::ProgressReported, progress_, &QProgressBar::setValue);
    connect(&worker_, &RunWorker::CountReported, progress_, &QProgressBar::setValue);
    connect(&worker_, &RunWorker::NoticeRaised, this,
            [this](const QString& text) { RelayRunMessage(&MessageSink::ShowNotice, text); });
    connect(&worker_, &RunWorker::ClosingMessageRaised, this, [this](const QString& text) {
        RelayRunMessage(&MessageSink::ShowClosingMessage, text);
    });
    connect(&worker_, &RunWorker::ResultsReady, this,
            [this](std::shared_ptr<CompletedRun> run) { completedRun_ = std::move(run); });
    connect(&worker_, &RunWorker::Finished, this, &ForecastWindow::RunFinished);

    salesHistory_ = new SalesHistoryPanel(*this, *messages_);

    Form_Load();
}

void ForecastWindow::closeEvent(QCloseEvent* event) {
    if (worker_.IsRunning()) {
        closeRequested_ = true;
        worker_.RequestStop();
        event->ignore();
    }
}

void ForecastWindow::Form_Load() {
    models_->button(static_cast<int>(DemandModel::loga))->setChecked(true);
}

void ForecastWindow::loga_Click() {
    ShowModelControls(DemandModel::loga);
}

void ForecastWindow::sqrot_Click() {
    ShowModelControls(DemandModel::sqrot);
}

void ForecastWindow::linear_Click() {
    ShowModelControls(DemandModel::linear);
}

void ForecastWindow::t_tplusn_Click() {
    ShowModelControls(DemandModel::t_tplusn);
}

void ForecastWindow::meanAR1_Click() {
    ShowModelControls(DemandModel::meanAR1);
}

void ForecastWindow::AR1_Click() {
    ShowModelControls(DemandModel::AR1);
}

void ForecastWindow::Normal_Click() {
    ShowModelControls(DemandModel::Normal);
}

void ForecastWindow::Run_Click() {
    if (ReportClashesWithHistory()) {
        return;
    }
    StartRun(TypedInputs(), runOptions_, std::nullopt);
}

bool ForecastWindow::ReportClashesWithHistory() {
    // The report must not take the place of the sales history it is made from.
    if (const std::optional<sf::SalesHistory>& history = salesHistory_->History()) {
        const UsedPath paths[] = {{"the report", reportPath_, PathUse::written},
                                  {"the sales history", history->file, PathUse::read}};
        if (const std::optional<std::string> clash = FindPathClash(paths)) {
            messages_->ShowError(*this, QString::fromStdString(*clash));
            return true;
        }
    }
    return false;
}

void ForecastWindow::RunOnDemandOf(const CompletedRun& run, const QString& runName) {
    if (worker_.IsRunning() || !run.sourceAtStart || ReportClashesWithHistory()) {
        return;
    }
    RunInputs typed = TypedInputs();
    if (const std::optional<QString> difference = DemandDifference(typed, run.record.inputs)) {
        messages_->ShowError(
            *this, QStringLiteral("The same demand as %1 needs the boxes that decide the demand "
                                  "as they were in it; these differ: %2.")
                       .arg(runName, *difference));
        return;
    }
    StartRun(std::move(typed), runOptions_,
             EarlierDemand{*run.sourceAtStart, run.record.seed, run.record.run});
}

void ForecastWindow::StartRun(RunInputs inputs, RunOptions options,
                              std::optional<EarlierDemand> earlier) {
    SetRunning(true);
    stopRequested_ = false;
    outcome_ = {};
    sequenceRun_ = !earlier;
    RunWorker::ResultsJob results = CompletedRunJob(inputs, options, earlier);
    // A run on earlier demand draws from a copy: the sequence of this start carries on as if
    // it had not been made.
    std::optional<UniformSource> copy;
    if (earlier) {
        copy = earlier->source;
    }
    if (IsCatalogue(inputs)) {
        // The bar counts sales points, a block at a time.
        progress_->setRange(0, inputs.history->salesPoints);
        progress_->setFormat(QStringLiteral("%v of %m sales points"));
        worker_.Start(CatalogueJob(std::move(inputs), options), std::move(results));
        return;
    }
    worker_.Start(
        [this, inputs = std::move(inputs), options, copy,
         report = reportPath_](RunObserver& observer) mutable {
            UniformSource& source = copy ? *copy : source_;
            outcome_ = ExecuteRun(*state_, source, inputs, locale_, report, observer, options);
            return outcome_;
        },
        std::move(results));
}

RunWorker::Job ForecastWindow::CatalogueJob(RunInputs inputs, const RunOptions& options) {
    return [this, inputs = std::move(inputs), options](RunObserver& observer) {
        CatalogueOutcome catalogue =
            ExecuteCatalogueRun(inputs, locale_, observer, options, ResultsRequest{}, 0,
                                [this](int done, int total) { worker_.ReportCount(done, total); });
        outcome_ = {};
        outcome_.completed = catalogue.completed;
        outcome_.health = catalogue.health;
        // A stop names no block: every block stops alike.
        outcome_.message = !catalogue.completed && observer.StopRequested()
                               ? std::string(kStoppedMessage)
                               : std::move(catalogue.message);
        if (catalogue.completed) {
            catalogueResults_ = std::move(catalogue.results);
            catalogueNext_ = std::move(catalogue.next);
            outcome_.message = kCatalogueClosingMessage;
            observer.ShowClosingMessage(kCatalogueClosingMessage);
        }
        return outcome_;
    };
}

void ForecastWindow::Stop_Click() {
    stopRequested_ = true;
    stop_->setEnabled(false);  // the run stops at its next step
    worker_.RequestStop();
}

void ForecastWindow::ShowModelControls(DemandModel model) {
    const ModelControlsShown& shown = ShownModelControls(model);
    for (std::size_t at = 0; at < modelControls_.size(); ++at) {
        modelControls_[at]->setVisible(shown[at]);
    }
}

RunInputs ForecastWindow::TypedInputs() const {
    RunInputs inputs;
    for (std::size_t at = 0; at < kBoxKeys.size(); ++at) {
        inputs.*kBoxKeys[at].text = textBoxes_[at]->text().toStdString();
    }
    inputs.model = static_cast<DemandModel>(models_->checkedId());
    inputs.history = salesHistory_->History();
    return inputs;
}

Scenario ForecastWindow::TypedScenario() const {
    return {TypedInputs(), runOptions_.boundedConstants, scenarioSeed_,
            SourceOf(salesHistory_->History()), runOptions_.season};
}

void ForecastWindow::ShowScenario(const Scenario& scenario) {
    for (std::size_t at = 0; at < kBoxKeys.size(); ++at) {
        textBoxes_[at]->setText(QString::fromStdString(scenario.inputs.*kBoxKeys[at].text));
    }
    models_->button(static_cast<int>(scenario.inputs.model))->setChecked(true);
    SetBoundedConstants(scenario.boundedConstants);
    SetSeasonLength(scenario.season);
    scenarioSeed_ = scenario.seed;
}

void ForecastWindow::SetSeasonLength(int length) {
    if (runOptions_.season != length) {
        runOptions_.season = length;
        emit SeasonLengthChanged(length);
    }
}

void ForecastWindow::SetBoundedConstants(bool bounded) {
    if (runOptions_.boundedConstants != bounded) {
        runOptions_.boundedConstants = bounded;
        emit BoundedConstantsChanged(bounded);
    }
}

void ForecastWindow::RunAgainBounded(const CompletedRun& run) {
    if (worker_.IsRunning() || !run.sourceAtStart) {
        return;
    }
    SetBoundedConstants(true);
    RunOptions options = run.record.options;
    options.boundedConstants = true;
    StartRun(run.record.inputs, options,
             EarlierDemand{*run.sourceAtStart, run.record.seed, run.record.run});
}

void ForecastWindow::StartSequenceFrom(std::uint32_t seed) {
    source_ = UniformSource(seed);
    sequenceSeed_ = seed;
    completeRuns_ = 0;
}

void ForecastWindow::SetRunning(bool running) {
    for (QWidget* input : inputs_) {
        input->setEnabled(!running);
    }
    progress_->setRange(0, 100);
    progress_->setFormat(QStringLiteral("%p%"));
    progress_->setValue(0);
    progress_->setVisible(running);
    stop_->setEnabled(running);
    stop_->setVisible(running);
    salesHistory_->SetRunning(running);
    if (results_ != nullptr) {
        results_->SetRunning(running);
    }
    if (!running) {
        run_->setFocus();
    }
    emit RunningChanged(running);
}

void ForecastWindow::RelayRunMessage(void (MessageSink::*show)(QWidget&, const QString&),
                                     const QString& text) {
    // A window that is closing shows nothing more.
    if (!closeRequested_) {
        (messages_.get()->*show)(*this, text);
    }
    worker_.Acknowledge();
}

void ForecastWindow::RunFinished(bool completed, const QString& message) {
    if (closeRequested_) {
        window()->close();  // the menu window around the form, where there is one
        return;
    }
    SetRunning(false);
    if (completed) {
        const std::vector<std::string> warnings =
            HealthWarnings(outcome_.health, "\"" + std::string(kBoundedConstantsOption) + "\"");
        if (!warnings.empty()) {
            messages_->ShowWarning(*this, LinesText(warnings));
        }
        // Once the closing message and any warning are acknowledged.
        if (completedRun_) {
            ShowResults(warnings);
        }
    } else if (stopRequested_) {
        messages_->ShowClosingMessage(*this, message);
    } else {
        messages_->ShowError(*this, message);
        FocusBox(outcome_.inputBox);
    }
}

void ForecastWindow::FocusBox(std::string RunInputs::*box) {
    for (std::size_t at = 0; at < kBoxKeys.size(); ++at) {
        if (box != nullptr && kBoxKeys[at].text == box) {
            textBoxes_[at]->setFocus();
            textBoxes_[at]->selectAll();
        }
    }
}

RunWorker::ResultsJob ForecastWindow::CompletedRunJob(RunInputs inputs, const RunOptions& options,
                                                      const std::optional<EarlierDemand>& earlier) {
    // Runs on the same demand carry the seed and run that name it.
    const std::uint32_t seed = earlier ? earlier->seed : sequenceSeed_;
    const int run = earlier ? earlier->run : completeRuns_ + 1;  // which it is if it completes
    std::string scenario;
    try {
        scenario = ScenarioText(
            {inputs, options.boundedConstants, seed, SourceOf(inputs.history), options.season},
            locale_);
    } catch (const RunError&) {
        // A box longer than a scenario file takes: run.json says it holds no scenario.
    }
    const bool catalogue = IsCatalogue(inputs);
    RunRecord record =
        RecordOfRun(std::move(inputs), options, seed, run, reportPath_, std::move(scenario));
    if (catalogue) {
        // No report, and series.csv only where asked, as the batch command's catalogue.
        record.reportPath.clear();
        record.seriesLeftOut = true;
    }
    return [this, catalogue, record = std::move(record)](const RunOutcome& outcome) {
        RunResults results = catalogue ? std::exchange(catalogueResults_, RunResults{})
                                       : CompleteResults(*state_, record.request, record.options);
        auto run = std::make_shared<CompletedRun>(
            CompletedRun{std::move(results), record, outcome.health, outcome.sourceAtStart, {}});
        if (catalogue) {
            run->next = std::exchange(catalogueNext_, {});
        }
        run->record.notes = HealthNotes(outcome.health);
        if (const auto note = ProposalNote(run->results, ComingRows(*run),
                                           "\"" + std::string(kBoundedConstantsOption) + "\"");
            note && !record.options.boundedConstants) {
            run->record.notes.push_back(*note);
        }
        return run;
    };
}

ResultsWindow& ForecastWindow::Results() {
    if (results_ == nullptr) {
        results_ = new ResultsWindow(*this, *messages_);
        results_->SetShownLocale(locale_);
        connect(results_, &ResultsWindow::BoundedRerunRequested, this,
                [this](std::shared_ptr<const CompletedRun> run) { RunAgainBounded(*run); });
        results_->SetDemandCheck([this](const CompletedRun& run) {
            return DemandDifference(TypedInputs(), run.record.inputs);
        });
        connect(results_, &ResultsWindow::SameDemandRequested, this,
                [this](std::shared_ptr<const CompletedRun> run, const QString& name) {
                    RunOnDemandOf(*run, name);
                });
    }
    return *results_;
}

void ForecastWindow::ShowResults(const std::vector<std::string>& warnings) {
    if (sequenceRun_) {
        completeRuns_ = completedRun_->record.run;
    }
    Results().ShowRun(std::move(completedRun_), warnings);
    emit ResultsShown();
}

void ForecastWindow::ChooseExportFolder() {
    if (results_ != nullptr) {
        results_->ChooseExportFolder();
    }
}

void ForecastWindow::ChooseResultsFolder() {
    Results().ChooseResultsFolder();
}

}  // namespace sf::ui
