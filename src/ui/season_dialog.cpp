#include "ui/season_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "state/run_state.h"

namespace sf::ui {

SeasonDialog::SeasonDialog(int length, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SeasonDialog"));
    setWindowTitle(tr("Season Length"));
    auto* layout = new QVBoxLayout(this);
    auto* explained = new QLabel(
        tr("Divides each sales point's demand by season indices of this many periods, found in "
           "the periods for initial mu and sigma (which must hold twice as many plus one), and "
           "multiplies every forecast, sigma and delivery back: 7 for the days of a week, 52 for "
           "weeks, 12 for months. 0 for none."));
    explained->setWordWrap(true);
    layout->addWidget(explained);
    auto* form = new QFormLayout;
    length_ = new QSpinBox;
    length_->setObjectName(QStringLiteral("SeasonLength"));
    // S holds at least 2M + 1 of at most 600 periods.
    length_->setRange(0, (kMaxPeriods - 1) / 2);
    length_->setSpecialValueText(tr("0 (none)"));
    length_->setValue(length);
    form->addRow(tr("Season &length (periods):"), length_);
    layout->addLayout(form);
    problem_ = new QLabel;
    problem_->setObjectName(QStringLiteral("SeasonProblem"));
    layout->addWidget(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(length_, &QSpinBox::valueChanged, this, &SeasonDialog::Check);
    Check();
}

int SeasonDialog::Length() const {
    return length_->value();
}

void SeasonDialog::Check() {
    const bool one = length_->value() == 1;
    ok_->setEnabled(!one);
    problem_->setText(one ? tr("A season of 1 period is none: 0 for none, else 2 or more.")
                          : QString());
}

}  // namespace sf::ui
