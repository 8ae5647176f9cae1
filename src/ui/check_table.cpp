#include "ui/check_table.h"

#include <QHBoxLayout>
#include <QLocale>
#include <QVBoxLayout>

#include "ui/number_table.h"
#include "ui/screen_numbers.h"

namespace sf::ui {

CheckTable::CheckTable() {
    from_ = new QSpinBox;
    from_->setObjectName(QStringLiteral("CheckFrom"));
    // Its least value is no check at all.
    from_->setSpecialValueText(QStringLiteral("no check"));
    from_->setToolTip(
        QStringLiteral("The first unseen period T: every τ is chosen on the as_forecast periods "
                       "before it and judged on T to the last period."));
    connect(from_, &QSpinBox::valueChanged, this, &CheckTable::Draw);
    auto* label = new QLabel(QStringLiteral("Check on unseen periods &from:"));
    label->setBuddy(from_);
    caption_ = new QLabel;
    caption_->setObjectName(QStringLiteral("CheckCaption"));
    caption_->setWordWrap(true);
    model_ = new QStandardItemModel(this);
    table_ = NumberTable(*model_, QStringLiteral("CheckTable"));

    auto* box = new QHBoxLayout;
    box->addWidget(label);
    box->addWidget(from_);
    box->addWidget(caption_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(box);
    layout->addWidget(table_, 1);
}

std::optional<int> CheckTable::CheckFrom() const {
    if (from_->value() == from_->minimum()) {
        return std::nullopt;
    }
    return from_->value();
}

void CheckTable::Show(std::shared_ptr<const RunResults> results, const ResultsRequest& request) {
    results_ = std::move(results);
    request_ = request;
    if (!results_) {
        from_->setEnabled(false);
        Draw();
        return;
    }
    const PeriodStretch rolling = results_->series.rollingStretch;
    const QSignalBlocker quiet(from_);
    const int kept = from_->value();
    // The least value, one before the first period T may be, says no check.
    from_->setRange(rolling.first, std::max(rolling.first, rolling.last));
    from_->setValue(kept);
    from_->setEnabled(rolling.Length() >= 2);
    Draw();
}

void CheckTable::Draw() {
    model_->clear();
    model_->setHorizontalHeaderLabels({QStringLiteral("Answer"), QStringLiteral("τ"),
                                       QStringLiteral("Sales point"), QStringLiteral("Fill rate"),
                                       QStringLiteral("Cycle service level"),
                                       QStringLiteral("Lost sales"), QStringLiteral("Returns"),
                                       QStringLiteral("Cost"), QStringLiteral("Reached")});
    const std::optional<int> from = CheckFrom();
    if (!results_) {
        caption_->setText(
            QStringLiteral("A catalogue keeps no series here to check: give the "
                           "batch command --check-from."));
        return;
    }
    if (!from) {
        caption_->setText(
            QStringLiteral("Choose T to see what each τ, chosen before it, reached "
                           "on the periods it had not seen."));
        return;
    }
    const UnseenCheck check = CheckOnUnseenPeriods(*results_, request_, *from);
    caption_->setText(QStringLiteral("Periods %1 to %2; \"sound\" pools the sound sales points, "
                                     "whose Reached is the share that reached the target.")
                          .arg(QLocale().toString(check.from), QLocale().toString(check.last)));
    for (const CheckRow& row : check.rows) {
        const TradeoffRow& figures = row.figures;
        model_->appendRow(
            {new QStandardItem(
                 QString::fromUtf8(row.answer.data(), static_cast<qsizetype>(row.answer.size()))),
             NumberItem(row.tau, kRateDecimals),
             new QStandardItem(row.salesPoint == 0
                                   ? QStringLiteral("sound")
                                   : QString::fromStdString(results_->series.Name(row.salesPoint))),
             NumberItem(figures.fillRate, kRateDecimals),
             NumberItem(figures.cycleServiceLevel, kRateDecimals), NumberItem(figures.lostSales, 0),
             NumberItem(figures.returns, 0), NumberItem(figures.cost, 0),
             NumberItem(row.reached, kRateDecimals)});
    }
    table_->resizeColumnsToContents();
}

}  // namespace sf::ui
