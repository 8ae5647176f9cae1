#include "ui/next_deliveries_page.h"

#include <QAction>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "results/next_deliveries.h"
#include "results/request_rules.h"
#include "ui/figures_table_model.h"
#include "ui/number_table.h"
#include "ui/run_charts.h"
#include "ui/screen_numbers.h"
#include "ui/tradeoff_boxes.h"

namespace sf::ui {
namespace {

const QColor kDivergedBackground(255, 236, 179);
const QColor kNegativeText(176, 0, 32);

// A delivery below 0 is the formula's value, which no one can deliver: it stands out.
QStandardItem* DeliveryItem(const std::optional<double>& delivery) {
    QStandardItem* item = NumberItem(delivery, 0);
    if (delivery && *delivery < 0.0) {
        item->setForeground(kNegativeText);
        item->setToolTip(QStringLiteral("Below 0, as the formula gives it: deliver nothing."));
    }
    return item;
}

// "period 73", and for a dated history "period 73 (1980-01-31)": the dates continue by their
// step past the history's last.
QString PeriodWords(int period, const QStringList& dates) {
    QString words = QStringLiteral("period %1").arg(QLocale().toString(period));
    if (period >= 1 && period <= dates.size()) {
        words += QStringLiteral(" (%1)").arg(dates[period - 1]);
    }
    return words;
}

// The table's headings: the answered taus named with their values, the date last so that the
// other columns keep their place.
QStringList Headings(const AtTaus& taus, bool dated) {
    QStringList headings = {
        QStringLiteral("Sales point"),
        QStringLiteral("Period"),
        QStringLiteral("Decided at"),
        QStringLiteral("Forecast"),
        QStringLiteral("Sigma"),
        QStringLiteral("Delivery at the run's\nτ = %1").arg(ScreenTau(taus.run))};
    for (const AnsweredTau& tau : kAnsweredTaus) {
        const std::optional<double>& value = taus.*tau.value;
        headings << QStringLiteral("At the %1\nτ%2")
                        .arg(QString::fromUtf8(tau.words.data(),
                                               static_cast<qsizetype>(tau.words.size())),
                             value ? QStringLiteral(" = ") + ScreenTau(*value) : QString());
    }
    headings << QStringLiteral("Proposal at the\nrun's τ") << QStringLiteral("Proposal from");
    if (dated) {
        headings << QStringLiteral("Date");
    }
    return headings;
}

// One coming delivery's cells; a diverged sales point's own values marked.
QList<QStandardItem*> RowItems(const RunResults& results, const NextDelivery& row,
                               const QStringList& dates) {
    QList<QStandardItem*> items = {
        new QStandardItem(QString::fromStdString(results.series.Name(row.salesPoint))),
        NumberItem(row.period, 0),
        NumberItem(row.decidedAt, 0),
        NumberItem(row.forecast, kRateDecimals),
        NumberItem(row.sigma, kRateDecimals),
        DeliveryItem(row.delivery.run)};
    for (const AnsweredTau& tau : kAnsweredTaus) {
        items << DeliveryItem(row.delivery.*tau.value);
    }
    // The run's own values, not the proposal: those are what is not to be trusted.
    const qsizetype ownCells = items.size();
    const std::string_view from = ProposalSourceName(row.proposalFrom);
    items << DeliveryItem(row.proposal)
          << new QStandardItem(QString::fromUtf8(from.data(), static_cast<qsizetype>(from.size())));
    if (!dates.isEmpty()) {
        items << new QStandardItem(dates.value(row.period - 1));
    }
    if (row.diverged) {
        for (QStandardItem* item : items.mid(0, ownCells)) {
            item->setBackground(kDivergedBackground);
            // Dark text on the light marking, whatever the colour scheme.
            if (item->foreground().color() != kNegativeText) {
                item->setForeground(QColor(Qt::black));
            }
        }
        items.front()->setToolTip(QStringLiteral("Its forecasts diverged."));
    }
    return items;
}

}  // namespace

NextDeliveriesPage::NextDeliveriesPage() {
    target_ = new QLineEdit;
    target_->setObjectName(QStringLiteral("TargetServiceLevel"));
    target_->setPlaceholderText(QStringLiteral("e.g. %1").arg(QLocale().toString(0.9)));
    target_->setClearButtonEnabled(true);
    target_->setMaximumWidth(target_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 20);
    connect(target_, &QLineEdit::textChanged, this, &NextDeliveriesPage::TargetChanged);
    answer_ = new QLabel;
    answer_->setObjectName(QStringLiteral("ServiceLevelAnswer"));
    answer_->setWordWrap(true);
    answer_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* label = new QLabel(QStringLiteral("Target c&ycle service level:"));
    label->setBuddy(target_);

    caption_ = new QLabel;
    caption_->setObjectName(QStringLiteral("NextDeliveriesCaption"));
    caption_->setWordWrap(true);
    model_ = new QStandardItemModel(this);
    table_ = NumberTable(*model_, QStringLiteral("NextDeliveriesTable"));
    auto* copy = new QAction(table_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &NextDeliveriesPage::CopyTable);
    table_->addAction(copy);
    auto* copyButton = new QPushButton(QStringLiteral("Copy deliveries"));
    copyButton->setObjectName(QStringLiteral("CopyDeliveries"));
    connect(copyButton, &QPushButton::clicked, this, &NextDeliveriesPage::CopyTable);

    auto* boxes = new QGridLayout;
    boxes->addWidget(label, 0, 0);
    boxes->addWidget(target_, 0, 1);
    boxes->addWidget(answer_, 0, 2);
    boxes->addWidget(copyButton, 0, 3);
    boxes->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(caption_);
    layout->addWidget(table_, 1);
}

std::optional<double> NextDeliveriesPage::TargetServiceLevel() {
    targetProblem_.reset();
    const QString text = target_->text().trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<double> target = Taken(kTargetServiceLevelRule, ScreenNumberFromText(text));
    if (!target) {
        targetProblem_ =
            QStringLiteral("Target cycle service level: \"%1\" is not %2.")
                .arg(text, QString::fromUtf8(
                               kTargetServiceLevelRule.wanted.data(),
                               static_cast<qsizetype>(kTargetServiceLevelRule.wanted.size())));
    }
    return target;
}

void NextDeliveriesPage::SetAskable(bool askable) {
    target_->setEnabled(askable);
    target_->setToolTip(askable ? QString()
                                : QStringLiteral("A catalogue keeps no series here, so the window "
                                                 "cannot answer it again: give the batch "
                                                 "command --target-service-level."));
    if (!askable) {
        targetProblem_.reset();
    }
}

void NextDeliveriesPage::Show(const RunResults& results, const std::vector<NextDelivery>& next) {
    answer_->setText(
        target_->isEnabled()
            ? targetProblem_.value_or(TargetAnswerText(
                  results.Answers(Evaluation::asForecast).serviceLevelTarget, kServiceLevelTarget))
            : target_->toolTip());
    answer_->setStyleSheet(targetProblem_ ? QStringLiteral("color: #b00020;") : QString());

    const PeriodStretch coming = results.series.comingPeriods;
    const QStringList dates = PeriodLabels(results.series, coming.last);
    model_->clear();
    model_->setHorizontalHeaderLabels(Headings(DeliveryTaus(results), !dates.isEmpty()));
    total_.clear();
    if (coming.Empty()) {
        caption_->setText(
            QStringLiteral("No coming delivery can be given: the estimation windows cover every "
                           "period, so no rolling forecast was made."));
        return;
    }
    const QString periods =
        coming.first == coming.last
            ? PeriodWords(coming.last, dates)
            : QStringLiteral("%1 to %2, each decided at the period shown")
                  .arg(PeriodWords(coming.first, dates), PeriodWords(coming.last, dates));
    const std::optional<DecidedNow> now = DeliveriesDecidedNow(results, next);
    total_ =
        QStringLiteral("Deliveries to decide now for %1: %2")
            .arg(PeriodWords(now->period, dates), QString::fromStdString(ProposalsTotalText(*now)));
    caption_->setText(QStringLiteral("What to deliver in %1; %2 is to decide now. Red: "
                                     "below 0. Marked: diverged, take the proposal. %3.")
                          .arg(periods, PeriodWords(coming.last, dates),
                               QString::fromStdString(ProposalsTotalText(*now))));
    for (const NextDelivery& row : next) {
        model_->appendRow(RowItems(results, row, dates));
    }
    table_->resizeColumnsToContents();
}

void NextDeliveriesPage::CopyTable() {
    // The table, then the total to decide now that the caption gives.
    QGuiApplication::clipboard()->setText(TabSeparatedText(*model_) +
                                          (total_.isEmpty() ? QString() : total_ + '\n'));
}

}  // namespace sf::ui
