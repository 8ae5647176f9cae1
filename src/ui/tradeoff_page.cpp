#include "ui/tradeoff_page.h"

#include <QGridLayout>
#include <QLocale>
#include <QSplitter>
#include <QVBoxLayout>
#include <utility>

#include "ui/check_table.h"
#include "ui/control_help.h"
#include "ui/run_labels.h"

namespace sf::ui {
namespace {

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

// An answer, or in red why the box cannot be answered.
void ShowAnswer(QLabel& label, const QString& text, bool problem) {
    label.setText(text);
    label.setStyleSheet(problem ? QStringLiteral("color: #b00020;") : QString());
}

}  // namespace

TradeoffPage::TradeoffPage() {
    targetFillRate_ = NumberBox(QStringLiteral("TargetFillRate"),
                                QStringLiteral("e.g. %1").arg(QLocale().toString(0.95)));
    lostSaleCost_ = NumberBox(QStringLiteral("LostSaleCost"),
                              QStringLiteral("e.g. %1").arg(QLocale().toString(5)));
    returnCost_ = NumberBox(QStringLiteral("ReturnCost"),
                            QStringLiteral("e.g. %1").arg(QLocale().toString(1)));
    targetAnswer_ = TextLabel(QStringLiteral("TargetAnswer"));
    costAnswer_ = TextLabel(QStringLiteral("CostAnswer"));
    for (QLineEdit* box : {targetFillRate_, lostSaleCost_, returnCost_}) {
        connect(box, &QLineEdit::textChanged, this, &TradeoffPage::QuestionsChanged);
    }
    bothEvaluations_ = new QCheckBox(QStringLiteral("&Both evaluations"));
    bothEvaluations_->setObjectName(QStringLiteral("BothEvaluations"));
    bothEvaluations_->setToolTip(WrappedToolTip(QStringLiteral(
        "Draws the curves of the evaluation not shown beside those of the one shown.")));
    connect(bothEvaluations_, &QCheckBox::toggled, this, &TradeoffPage::BothEvaluationsToggled);

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

    chart_ = new ChartPanel;
    chart_->setObjectName(QStringLiteral("TradeoffChart"));
    check_ = new CheckTable;
    // The check below the chart takes room only as the user gives it.
    auto* chartAndCheck = new QSplitter(Qt::Vertical);
    chartAndCheck->addWidget(chart_);
    chartAndCheck->addWidget(check_);
    chartAndCheck->setStretchFactor(0, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(chartAndCheck, 1);
}

ResultsRequest TradeoffPage::Asked() {
    asked_ = ReadTradeoffBoxes(targetFillRate_->text(), lostSaleCost_->text(), returnCost_->text());
    return asked_.request;
}

void TradeoffPage::SetAskable(bool askable) {
    askable_ = askable;
    const QString why = askable
                            ? QString()
                            : QStringLiteral(
                                  "A catalogue keeps no series here, so the window cannot answer "
                                  "it again: give the batch command --target-fill-rate, "
                                  "--lost-sale-cost and --return-cost.");
    for (QLineEdit* box : {targetFillRate_, lostSaleCost_, returnCost_}) {
        box->setEnabled(askable);
        box->setToolTip(why);
    }
    if (!askable) {
        asked_ = {};
    }
}

void TradeoffPage::ShowAnswers(const RunResults& results, Evaluation evaluation) {
    if (!askable_) {
        ShowAnswer(*targetAnswer_, targetFillRate_->toolTip(), false);
        costAnswer_->clear();
        return;
    }
    const EvaluationAnswers& answers = results.Answers(evaluation);
    ShowAnswer(*targetAnswer_, asked_.targetProblem.value_or(TargetAnswerText(answers.target)),
               asked_.targetProblem.has_value());
    ShowAnswer(*costAnswer_,
               asked_.costProblem.value_or(
                   CostAnswerText(answers.cheapest, asked_.request.costs.has_value()) +
                   CostTauText(answers.costTarget)),
               asked_.costProblem.has_value());
}

void TradeoffPage::ShowCheck(std::shared_ptr<const RunResults> results,
                             const ResultsRequest& request) {
    check_->Show(std::move(results), request);
}

void TradeoffPage::Draw(const std::vector<TradeoffOfRun>& runs, Evaluation evaluation,
                        const QString& caption) {
    chart_->Draw(TradeoffChart(runs, evaluation, bothEvaluations_->isChecked(), caption));
}

}  // namespace sf::ui
