#include "ui/runs_list.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/control_help.h"
#include "ui/run_description.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

// The runs the list keeps; a full-size run's series take some 10 MB.
constexpr std::size_t kListedRuns = 20;

}  // namespace

RunsList::RunsList() {
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("RunsList"));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setToolTip(WrappedToolTip(QStringLiteral(
        "The runs of this start. Select two or more (Ctrl or Shift with a click) to see their "
        "figures side by side and their trade-off curves together.")));
    // About three lines; it scrolls beyond them.
    list_->setMaximumHeight(list_->fontMetrics().lineSpacing() * 4);
    list_->hide();
    connect(list_, &QListWidget::itemSelectionChanged, this, &RunsList::SelectionChanged);
    sameDemand_ = new QPushButton;
    sameDemand_->setObjectName(QStringLiteral("SameDemand"));
    sameDemand_->hide();
    connect(sameDemand_, &QPushButton::clicked, this, [this] {
        const int row = list_->currentRow();
        if (row >= 0) {
            emit SameDemandRequested(runs_[static_cast<std::size_t>(row)],
                                     Name(static_cast<std::size_t>(row)));
        }
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 1);
    layout->addWidget(sameDemand_, 0, Qt::AlignTop);
    hide();
}

QString RunName(const CompletedRun& run) {
    return QStringLiteral("#%1").arg(run.number);
}

void RunsList::Add(std::shared_ptr<CompletedRun> run) {
    run->number = static_cast<int>(runs_.size() + droppedRuns_) + 1;
    runs_.push_back(std::move(run));
    compared_.clear();
    {
        const QSignalBlocker quiet(list_);
        // Each run holds its series: the oldest make room, so that many runs do not exhaust
        // the memory.
        if (runs_.size() > kListedRuns) {
            runs_.erase(runs_.begin());
            delete list_->takeItem(0);
            ++droppedRuns_;
        }
        list_->addItem(Line(runs_.size() - 1));
        list_->setCurrentRow(list_->count() - 1, QItemSelectionModel::ClearAndSelect);
        list_->scrollToBottom();
    }
    const bool several = runs_.size() > 1;
    list_->setVisible(several);
    sameDemand_->setVisible(several);
    setVisible(several);
    NameSameDemand();
}

std::vector<bool> RunsList::SoundInEvery() const {
    std::vector<bool> common;
    for (const std::size_t at : compared_) {
        const std::vector<bool>& sound = runs_[at]->results.figures.sound;
        if (common.empty()) {
            common = sound;
        }
        // A sales point one run lacks is sound in not every run.
        common.resize(std::min(common.size(), sound.size()));
        for (std::size_t sp = 0; sp < common.size(); ++sp) {
            common[sp] = common[sp] && sound[sp];
        }
    }
    return common;
}

std::vector<FiguresRow> RunsList::ComparedFigures(Evaluation evaluation) const {
    const std::vector<bool> common = SoundInEvery();
    std::vector<FiguresRow> rows;
    for (const std::size_t at : compared_) {
        const CompletedRun& run = *runs_[at];
        if (KeepsSeries(run)) {
            rows.push_back({{RowSubject::Kind::run, run.number},
                            Name(at),
                            FiguresOver(run.results.series, evaluation, common)});
            continue;
        }
        // A catalogue keeps only its own rows: its row "sound", over the same sales points
        // where its sound ones are those sound in every run, and said to be over its own where not.
        const bool same = common == run.results.figures.sound;
        rows.push_back({{RowSubject::Kind::run, run.number},
                        same ? Name(at)
                             : Name(at) + QStringLiteral(" (over its own sound sales points: a "
                                                         "catalogue keeps no series)"),
                        run.results.figures.Of(evaluation).sound});
    }
    return rows;
}

RunsList::CommonSound RunsList::ComparedSound() const {
    CommonSound counted;
    counted.sound = static_cast<int>(std::ranges::count(SoundInEvery(), true));
    for (const std::size_t at : compared_) {
        counted.of =
            std::max(counted.of, static_cast<int>(runs_[at]->results.figures.sound.size()));
    }
    return counted;
}

std::vector<TradeoffOfRun> RunsList::ComparedTradeoffs() const {
    std::vector<TradeoffOfRun> shown;
    for (const std::size_t at : compared_) {
        shown.push_back({Name(at), &runs_[at]->results});
    }
    return shown;
}

void RunsList::SelectionChanged() {
    std::vector<std::size_t> chosen;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        chosen.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(chosen.begin(), chosen.end());
    CheckSameDemand();
    if (chosen.size() == 1) {
        compared_.clear();
        NameSameDemand();
        emit RunChosen(runs_[chosen.front()]);
    } else if (chosen.size() > 1) {
        compared_ = std::move(chosen);
        emit RunsCompared(runs_[compared_.front()]);
    }
}

QString RunsList::Line(std::size_t at) const {
    const CompletedRun& run = *runs_[at];
    const Evaluation evaluation = run.results.Headline();
    const Figures& sound = run.results.figures.Of(evaluation).sound;
    const int diverged =
        static_cast<int>(run.results.figures.sound.size()) - run.results.figures.SoundCount();
    return QStringLiteral(
               "%1  %2 | %3: fill rate %4, cycle service level %5, lost sales %6, "
               "returns %7, %8 diverged | demand: %9")
        .arg(Name(at), ScenarioLine(run), EvaluationWords(evaluation),
             ScreenNumber(sound.fillRate, kRateDecimals),
             ScreenNumber(sound.cycleServiceLevel, kRateDecimals), ScreenSum(sound.lostSales),
             ScreenSum(sound.returns), QString::number(diverged), DemandLine(run));
}

void RunsList::NameSameDemand() {
    sameDemand_->setText(
        QStringLiteral("Same &demand as %1")
            .arg(Name(static_cast<std::size_t>(std::max(list_->currentRow(), 0)))));
}

void RunsList::SetRunning(bool running) {
    running_ = running;
    CheckSameDemand();
}

void RunsList::CheckSameDemand() {
    const QList<QModelIndex> chosen = list_->selectionModel()->selectedRows();
    std::optional<QString> difference;
    const CompletedRun* one =
        chosen.size() == 1 ? runs_[static_cast<std::size_t>(chosen.front().row())].get() : nullptr;
    if (one != nullptr && one->folder.empty() && demandCheck_) {
        difference = demandCheck_(*one);
    }
    // A run read from a folder brings no random sequence to draw its demand again from.
    const bool fromFolder = one != nullptr && !one->folder.empty();
    sameDemand_->setEnabled(one != nullptr && !fromFolder && !running_ && !difference);
    if (fromFolder) {
        sameDemand_->setToolTip(WrappedToolTip(
            QStringLiteral("That run was read from the results folder \"%1\": its random "
                           "sequence is not known, so its demand cannot be drawn again.")
                .arg(QString::fromStdString(one->folder.string()))));
        return;
    }
    sameDemand_->setToolTip(WrappedToolTip(
        difference ? QStringLiteral("The boxes that decide the demand differ from that run's: "
                                    "%1.")
                         .arg(*difference)
                   : QStringLiteral("Runs the boxes and options as they stand now on the demand "
                                    "of the selected run: the random sequence where it stood at "
                                    "that run's start. The sales points, periods, model and "
                                    "limits must be as they were in it.")));
}

}  // namespace sf::ui
