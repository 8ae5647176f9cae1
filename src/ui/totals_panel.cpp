#include "ui/totals_panel.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/control_help.h"
#include "ui/message_sink.h"
#include "ui/run_description.h"
#include "ui/run_labels.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

constexpr int kTotalsPairsPerLine = 4;

}  // namespace

TotalsPanel::TotalsPanel() {
    notes_ = TextLabel(QStringLiteral("Notes"));
    notes_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildTotals());
    layout->addWidget(BuildBand());
    layout->addWidget(notes_);
}

QWidget* TotalsPanel::BuildTotals() {
    auto* totals = new QGroupBox(QStringLiteral("Totals"));
    totals->setObjectName(QStringLiteral("Totals"));
    auto* layout = new QVBoxLayout(totals);
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
    auto* evaluations = new QButtonGroup(totals);
    evaluations->addButton(asForecast_);
    evaluations->addButton(asReported_);
    asForecast_->setChecked(true);
    connect(asForecast_, &QRadioButton::toggled, this, [this](bool checked) {
        emit EvaluationChosen(checked ? Evaluation::asForecast : Evaluation::asReported);
    });
    totalsDescription_ = new QLabel;
    totalsDescription_->setObjectName(QStringLiteral("TotalsDescription"));
    totalsDescription_->setWordWrap(true);
    auto* switchRow = new QHBoxLayout;
    switchRow->addWidget(asForecast_);
    switchRow->addWidget(asReported_);
    switchRow->addWidget(totalsDescription_, 1);
    layout->addLayout(switchRow);
    totalsGrid_ = new QGridLayout;
    layout->addLayout(totalsGrid_);
    return totals;
}

QWidget* TotalsPanel::BuildBand() {
    band_ = new QWidget;
    band_->setObjectName(QStringLiteral("Band"));
    band_->setStyleSheet(QStringLiteral(
        "#Band { background: #fff3c4; border: 1px solid #e0b000; } QLabel { color: black; }"));
    band_->setAttribute(Qt::WA_StyledBackground);
    warning_ = TextLabel(QStringLiteral("Warnings"));
    boundedRerun_ =
        new QPushButton(QStringLiteral("Run again with constants kept within 0 and 1 on the same "
                                       "demand"));
    boundedRerun_->setObjectName(QStringLiteral("BoundedRerun"));
    boundedRerun_->setToolTip(WrappedToolTip(QStringLiteral(
        "Repeats this run with the random sequence where it stood at its start, so on the very "
        "same demand, with the option \"Keep smoothing constants within 0 and 1\" on.")));
    connect(boundedRerun_, &QPushButton::clicked, this, &TotalsPanel::BoundedRerunRequested);
    auto* layout = new QVBoxLayout(band_);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(warning_);
    layout->addWidget(boundedRerun_, 0, Qt::AlignRight);
    band_->hide();
    return band_;
}

void TotalsPanel::Present(const CompletedRun& run) {
    // A run without rolling periods has nothing as forecast: it shows as reported.
    const bool forecastEmpty = run.results.Headline() != Evaluation::asForecast;
    asForecast_->setEnabled(!forecastEmpty);
    evaluation_ = forecastEmpty ? Evaluation::asReported : chosen_;
    CheckSwitch();
    ShowWarningsAndNotes(run);
    ShowTotals(run.results);
}

bool TotalsPanel::Choose(Evaluation evaluation) {
    if (evaluation == evaluation_ ||
        (evaluation == Evaluation::asForecast && !asForecast_->isEnabled())) {
        return false;
    }
    chosen_ = evaluation_ = evaluation;
    CheckSwitch();
    return true;
}

void TotalsPanel::CheckSwitch() {
    (evaluation_ == Evaluation::asForecast ? asForecast_ : asReported_)->setChecked(true);
}

void TotalsPanel::ShowTotals(const RunResults& results) {
    totalsDescription_->setText(TotalsDescription(results, evaluation_));
    FillPairs(*totalsGrid_, TotalItems(results.figures.Of(evaluation_).sound), kTotalsPairsPerLine);
}

void TotalsPanel::ShowWarningsAndNotes(const CompletedRun& run) {
    const std::vector<std::string>& warnings = run.record.warnings;
    warning_->setText(QStringLiteral("Warning: ") + LinesText(warnings));
    band_->setVisible(!warnings.empty());
    // Only divergence is helped by bounded constants, and only where they were not bounded.
    boundedRerun_->setVisible(!run.health.divergedSalesPoints.empty() &&
                              !run.record.options.boundedConstants &&
                              run.sourceAtStart.has_value());
    boundedRerun_->setEnabled(!running_);
    const std::vector<std::string>& notes = run.record.notes;
    notes_->setText(QStringLiteral("Notes: ") + LinesText(notes).replace('\n', ' '));
    notes_->setVisible(!notes.empty());
}

}  // namespace sf::ui
