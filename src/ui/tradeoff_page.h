#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <memory>
#include <vector>

#include "results/run_results.h"
#include "ui/chart_builder.h"
#include "ui/run_charts.h"
#include "ui/tradeoff_boxes.h"

namespace sf::ui {

class CheckTable;

// The trade-off over tau: the boxes for a target fill rate and the costs of a lost sale and of a
// return, the answers beside them, and the chart of the curves.
class TradeoffPage : public QWidget {
    Q_OBJECT

  public:
    TradeoffPage();

    // What the boxes ask, in the user's locale; the page keeps what cannot be answered, to say
    // beside its box.
    ResultsRequest Asked();
    // Whether the run shown can be asked again: a catalogue keeps no series to answer from, so
    // its boxes are disabled and say where to ask.
    void SetAskable(bool askable);
    // A run's answers to what was asked last, in the evaluation.
    void ShowAnswers(const RunResults& results, Evaluation evaluation);
    // The check on unseen periods of the run, for what was asked of it; none for a run that
    // keeps no series to check.
    void ShowCheck(std::shared_ptr<const RunResults> results, const ResultsRequest& request);
    // The curves of the runs in the evaluation, with both evaluations where the box says so;
    // caption names the one run in the title, or is empty.
    void Draw(const std::vector<TradeoffOfRun>& runs, Evaluation evaluation,
              const QString& caption);
    ChartPanel& Chart() const { return *chart_; }

  signals:
    // A box changed: the run is to be asked again.
    void QuestionsChanged();
    // The curves of the other evaluation were asked for or let go.
    void BothEvaluationsToggled();

  private:
    TradeoffQuestions asked_;
    bool askable_ = true;

    QLineEdit* targetFillRate_ = nullptr;
    QLineEdit* lostSaleCost_ = nullptr;
    QLineEdit* returnCost_ = nullptr;
    QLabel* targetAnswer_ = nullptr;
    QLabel* costAnswer_ = nullptr;
    QCheckBox* bothEvaluations_ = nullptr;
    ChartPanel* chart_ = nullptr;
    CheckTable* check_ = nullptr;
};

}  // namespace sf::ui
