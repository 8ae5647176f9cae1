#pragma once

#include <QButtonGroup>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "results/next_deliveries.h"
#include "run/run_driver.h"
#include "runtime/number_locale.h"
#include "runtime/uniform_source.h"
#include "scenario/scenario.h"
#include "state/run_inputs.h"
#include "state/run_options.h"
#include "state/run_state.h"
#include "ui/message_sink.h"
#include "ui/model_controls.h"
#include "ui/results_window.h"
#include "ui/run_worker.h"
#include "ui/sales_history_panel.h"

namespace sf::ui {

// How the window names the option that holds the smoothing constants within 0 and 1.
inline constexpr char kBoundedConstantsOption[] = "Keep smoothing constants within 0 and 1";

// The Forecast form. Its handlers keep the names of the form's events; a run works on a thread
// of its own while the window stays alive.
class ForecastWindow : public QWidget {
    Q_OBJECT

  public:
    ForecastWindow(NumberLocale locale, std::unique_ptr<MessageSink> messages);

    // The boxes as typed, the model, the options and the seed of the scenario last shown, as a
    // scenario keeps them.
    Scenario TypedScenario() const;
    // Fills the boxes and selects the model as its option's click would; Random Walk, read by
    // nothing, stays as it is. The random sequence carries on: the seed is only kept for the
    // next TypedScenario. Not during a run.
    void ShowScenario(const Scenario& scenario);
    // The locale the boxes are typed and shown in.
    const NumberLocale& Locale() const { return locale_; }
    // Where the next runs write the report; "out.txt" in the current folder unless set. Not
    // during a run.
    const std::filesystem::path& ReportPath() const { return reportPath_; }
    void SetReportPath(std::filesystem::path path) { reportPath_ = std::move(path); }
    // True when the next run draws what the first run from seed draws, as the batch command's.
    bool SequenceAtStartOf(std::uint32_t seed) const { return source_ == UniformSource(seed); }
    // Starts the random sequence again from seed; the runs are counted from it. Not during a run.
    void StartSequenceFrom(std::uint32_t seed);
    // Holds the rolling searches of the next runs within 0..1 (kBoundedConstantsOption).
    void SetBoundedConstants(bool bounded);
    // The season length M of the next runs: 0 for none, else at least 2.
    void SetSeasonLength(int length);
    int SeasonLength() const { return runOptions_.season; }
    // Runs a complete run again on its own demand and boxes with the constants kept within 0
    // and 1, and keeps the option on for the runs after it. Not during a run.
    void RunAgainBounded(const CompletedRun& run);
    // Runs the boxes and options as they stand on the demand of an earlier complete run, whose
    // boxes that decide the demand must be as typed now; else says which differ, naming the
    // run by runName. Not during a run.
    void RunOnDemandOf(const CompletedRun& run, const QString& runName);

    SalesHistoryPanel& SalesHistory() { return *salesHistory_; }
    // Offers to export the last complete run's results; none before a run has completed.
    void ChooseExportFolder();
    // Offers to open a results folder an export wrote into the Results window's runs.
    void ChooseResultsFolder();

  signals:
    // Inputs cannot change during a run: whatever else fills them waits for this.
    void RunningChanged(bool running);
    // The results window shows a complete run, which can now be exported.
    void ResultsShown();
    void BoundedConstantsChanged(bool bounded);
    void SeasonLengthChanged(int length);

  protected:
    // Closing during a run stops it; the window closes when the run has ended.
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void loga_Click();
    void sqrot_Click();
    void linear_Click();
    void t_tplusn_Click();
    void meanAR1_Click();
    void AR1_Click();
    void Normal_Click();
    void Run_Click();
    // Says so when the report would be written over the sales history in use.
    bool ReportClashesWithHistory();
    void Stop_Click();

    // Where a run's demand comes from when it is not the random sequence of this start: the
    // sequence as an earlier run found it, and the seed and run that name that demand.
    struct EarlierDemand {
        UniformSource source;
        std::uint32_t seed = kDefaultSeed;
        int run = 1;
    };
    void StartRun(RunInputs inputs, RunOptions options, std::optional<EarlierDemand> earlier);
    // A sales history beyond the form's limits runs as a catalogue, in blocks side by side.
    RunWorker::Job CatalogueJob(RunInputs inputs, const RunOptions& options);
    void ShowModelControls(DemandModel model);
    RunInputs TypedInputs() const;
    void SetRunning(bool running);
    void RelayRunMessage(void (MessageSink::*show)(QWidget&, const QString&), const QString& text);
    void RunFinished(bool completed, const QString& message);
    // Takes the user to the box a refused input names, its text selected for typing over.
    void FocusBox(std::string RunInputs::*box);
    // What a complete run leaves for the results window, worked out on the run's thread.
    RunWorker::ResultsJob CompletedRunJob(RunInputs inputs, const RunOptions& options,
                                          const std::optional<EarlierDemand>& earlier);
    // Opens or refreshes the results window with the last complete run.
    void ShowResults(const std::vector<std::string>& warnings);
    // The results window, made on first use.
    ResultsWindow& Results();

    const NumberLocale locale_;
    const std::unique_ptr<MessageSink> messages_;
    // One state and one random sequence for the whole program start.
    const std::unique_ptr<RunState> state_ = std::make_unique<RunState>();
    UniformSource source_;
    std::uint32_t sequenceSeed_ = kDefaultSeed;  // where source_ started
    RunOptions runOptions_;
    std::filesystem::path reportPath_ = "out.txt";
    std::uint32_t scenarioSeed_ = kDefaultSeed;  // of the scenario last shown
    RunOutcome outcome_;  // of the last run, written by its job before Finished arrives
    // Of a complete catalogue, until its results job takes them.
    RunResults catalogueResults_;
    std::vector<NextDelivery> catalogueNext_;
    int completeRuns_ = 0;                        // of the random sequence of this start
    bool sequenceRun_ = true;                     // the run under way draws from that sequence
    std::shared_ptr<CompletedRun> completedRun_;  // until the results window takes it
    RunWorker worker_;  // after what its job uses, so that it stops the job first

    std::vector<QLineEdit*> textBoxes_;  // in the order of kBoxKeys
    std::array<QWidget*, kModelControlNames.size()> modelControls_{};
    QButtonGroup* models_ = nullptr;
    QPushButton* run_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* stop_ = nullptr;
    std::vector<QWidget*> inputs_;  // what a run disables
    SalesHistoryPanel* salesHistory_ = nullptr;
    bool closeRequested_ = false;
    bool stopRequested_ = false;
    ResultsWindow* results_ = nullptr;  // opens after the first complete run or opened folder
};

}  // namespace sf::ui
