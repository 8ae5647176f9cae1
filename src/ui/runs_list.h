#pragma once

#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ui/completed_run.h"
#include "ui/figures_table_model.h"
#include "ui/run_charts.h"

namespace sf::ui {

// The runs of this start and the results folders opened, a line each: one selected is shown,
// two or more are compared side by side. Beside it, "Same demand as" repeats the selected run on
// its demand with the boxes as they stand. A list of one says nothing the rest of the window does
// not: it shows from two runs on.
// The name a run has in the window once listed: "#3".
QString RunName(const CompletedRun& run);

class RunsList : public QWidget {
    Q_OBJECT

  public:
    RunsList();

    // Lists a complete run last and selects it alone, without telling; the oldest runs make room
    // beyond the list's bound.
    void Add(std::shared_ptr<CompletedRun> run);
    // "#3": a run by its place in the list since the start, which the runs let go keep.
    QString Name(std::size_t at) const { return RunName(*runs_[at]); }
    // The runs compared side by side: two or more, or none while one is shown alone. Each row
    // sums the same sales points: those sound in every run compared.
    std::vector<FiguresRow> ComparedFigures(Evaluation evaluation) const;
    // The sales points sound in every run compared, and how many the largest of them has.
    struct CommonSound {
        int sound = 0;
        int of = 0;
    };
    CommonSound ComparedSound() const;
    std::vector<TradeoffOfRun> ComparedTradeoffs() const;

    // What keeps the boxes as they stand from the demand of a run: none when nothing does.
    using DemandCheck = std::function<std::optional<QString>(const CompletedRun& run)>;
    void SetDemandCheck(DemandCheck check) { demandCheck_ = std::move(check); }
    // Says on the button whether the boxes as they stand allow the selected run's demand.
    void CheckSameDemand();
    // What a run under way rules out: another run.
    void SetRunning(bool running);

  signals:
    // One run selected alone, to be shown.
    void RunChosen(std::shared_ptr<CompletedRun> run);
    // Two or more selected; first is the first of them in the list.
    void RunsCompared(std::shared_ptr<CompletedRun> first);
    void SameDemandRequested(std::shared_ptr<const CompletedRun> run, const QString& name);

  private:
    void SelectionChanged();
    // The run in one line: its scenario, its leading evaluation's totals and its demand.
    QString Line(std::size_t at) const;
    void NameSameDemand();
    // Sales point sp at sp - 1: sound in every run compared.
    std::vector<bool> SoundInEvery() const;

    std::vector<std::shared_ptr<CompletedRun>> runs_;  // in the list's order
    std::size_t droppedRuns_ = 0;  // the oldest runs, let go to keep the list's memory bounded
    std::vector<std::size_t> compared_;  // the places in runs_ shown side by side; two or more
    DemandCheck demandCheck_;
    bool running_ = false;

    QListWidget* list_ = nullptr;
    QPushButton* sameDemand_ = nullptr;
};

}  // namespace sf::ui
