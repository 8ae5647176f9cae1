#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "results/run_results.h"
#include "ui/completed_run.h"

namespace sf::ui {

// The totals of a run over its sound sales points in the evaluation shown, with the switch
// between the evaluations; under them the band of the run's warnings, with the offer to run it
// again with bounded constants where that helps, and its notes. The panel keeps the evaluation:
// the one the user chose, where the run has it.
class TotalsPanel : public QWidget {
    Q_OBJECT

  public:
    TotalsPanel();

    Evaluation Shown() const { return evaluation_; }
    // Shows a run's totals, warnings and notes, in the evaluation chosen or as reported where
    // it has nothing as forecast.
    void Present(const CompletedRun& run);
    // Takes the user's choice; false where it is shown already or the run has none as forecast.
    bool Choose(Evaluation evaluation);

    void ShowTotals(const RunResults& results);
    void ShowWarningsAndNotes(const CompletedRun& run);
    // What a run under way rules out: another run.
    void SetRunning(bool running) { running_ = running; }

  signals:
    void EvaluationChosen(Evaluation evaluation);
    void BoundedRerunRequested();

  private:
    QWidget* BuildTotals();
    QWidget* BuildBand();
    void CheckSwitch();

    Evaluation evaluation_ = Evaluation::asForecast;
    Evaluation chosen_ = Evaluation::asForecast;  // by the user; shown where the run has it
    bool running_ = false;

    QGridLayout* totalsGrid_ = nullptr;
    QLabel* totalsDescription_ = nullptr;
    QRadioButton* asForecast_ = nullptr;
    QRadioButton* asReported_ = nullptr;
    QWidget* band_ = nullptr;
    QLabel* warning_ = nullptr;
    QPushButton* boundedRerun_ = nullptr;
    QLabel* notes_ = nullptr;
};

}  // namespace sf::ui
