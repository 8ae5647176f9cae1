#include "ui/run_description.h"

#include <QStringList>
#include <string_view>

#include "state/demand_model.h"
#include "ui/run_charts.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

QString Words(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Typed(const std::string& text) {
    return QString::fromStdString(text);
}

// Each parameter the model has, by the letter the form shows beside its row.
QStringList Limits(const RunInputs& boxes) {
    const DemandModelRow& model = ModelRow(boxes.model);
    const QString ranges[] = {Typed(boxes.p1low) + " to " + Typed(boxes.p1up),
                              Typed(boxes.p2low) + " to " + Typed(boxes.p2up), Typed(boxes.p3)};
    QStringList limits;
    for (std::size_t at = 0; at < model.parameters.size(); ++at) {
        if (!model.parameters[at].label.empty()) {
            limits << Words(model.parameters[at].letter) + " " + ranges[at];
        }
    }
    return limits;
}

QString HistoryName(const SalesHistory& history) {
    return QString::fromStdString(history.name);
}

// The counts of a run: a sales history's own, whose boxes the batch command leaves empty.
QString SalesPoints(const RunInputs& boxes) {
    return boxes.history ? QString::number(boxes.history->salesPoints)
                         : Typed(boxes.Endpointnumber);
}

QString Periods(const RunInputs& boxes) {
    return boxes.history ? QString::number(boxes.history->periods) : Typed(boxes.Periodnumber);
}

}  // namespace

std::vector<DescriptionItem> ScenarioItems(const CompletedRun& run) {
    const RunInputs& boxes = run.record.inputs;
    std::vector<DescriptionItem> items;
    if (run.number > 0) {
        items.push_back({"Run", QStringLiteral("#%1").arg(run.number)});
    }
    // A sales history draws nothing: its file takes the place of the model, limits and seed.
    if (boxes.history) {
        items.push_back({"Sales history",
                         QStringLiteral("%1 (%2 sales points, %3 periods)")
                             .arg(HistoryName(*boxes.history))
                             .arg(boxes.history->salesPoints)
                             .arg(boxes.history->periods),
                         true});
    } else {
        items.push_back({"Model", Words(ModelRow(boxes.model).caption), true});
    }
    items.insert(items.end(), {
                                  {"Sales points", SalesPoints(boxes)},
                                  {"Periods (P)", Periods(boxes)},
                                  {"Initial μ and σ (S)", Typed(boxes.periodsforinitialization)},
                                  {"Initial α and β (A)", Typed(boxes.periodsforalphabeta)},
                                  {"Horizon (H)", Typed(boxes.horizontx)},
                                  {"τ", Typed(boxes.tau_tx)},
                                  {"Warm-up", Typed(boxes.warmuptx)},
                              });
    if (!boxes.history) {
        // Numbers that name a sequence, not quantities: no grouping. A draw, not a run: the
        // window numbers its runs, and a run on the same demand repeats an earlier draw.
        items.push_back({"Random sequence",
                         QStringLiteral("seed %1, draw %2 of %3")
                             .arg(run.record.seed)
                             .arg(run.record.run)
                             .arg(run.folder.empty() ? QStringLiteral("this start")
                                                     : QStringLiteral("the start that exported "
                                                                      "it"))});
        items.push_back({"Limits", Limits(boxes).join(", ")});
    }
    items.push_back({"Smoothing constants", run.record.options.boundedConstants
                                                ? "held within 0 and 1"
                                                : "free to leave 0 to 1"});
    // Only a run with a season says so, as out.txt does.
    if (run.record.options.season != 0) {
        items.push_back({"Season", QStringLiteral("demand adjusted by a season of %1 periods")
                                       .arg(run.record.options.season)});
    }
    // A catalogue writes none.
    items.push_back({"Report",
                     run.record.reportPath.empty()
                         ? QStringLiteral("none (a catalogue beyond 100 x 600 writes no report)")
                         : QString::fromStdString(run.record.reportPath.string()),
                     true});
    if (!run.folder.empty()) {
        items.push_back({"Read from", QString::fromStdString(run.folder.string()), true});
    }
    return items;
}

QString ScenarioLine(const CompletedRun& run) {
    const RunInputs& boxes = run.record.inputs;
    QStringList parts{
        boxes.history ? HistoryName(*boxes.history) : Words(ModelRow(boxes.model).name),
        SalesPoints(boxes) + " × " + Periods(boxes),
        "S " + Typed(boxes.periodsforinitialization),
        "A " + Typed(boxes.periodsforalphabeta),
        "H " + Typed(boxes.horizontx),
        "τ " + Typed(boxes.tau_tx)};
    if (!boxes.history) {
        parts << Limits(boxes);
    }
    if (run.record.options.boundedConstants) {
        parts << QStringLiteral("constants within 0 and 1");
    }
    if (run.record.options.season != 0) {
        parts << QStringLiteral("season %1").arg(run.record.options.season);
    }
    return parts.join(QStringLiteral(", "));
}

QString DemandLine(const CompletedRun& run) {
    QString line = QStringLiteral("seed %1, draw %2").arg(run.record.seed).arg(run.record.run);
    if (const std::optional<SalesHistory>& history = run.record.inputs.history) {
        line = HistoryName(*history);
    }
    if (!run.folder.empty()) {
        line += QStringLiteral(", from folder %1")
                    .arg(QString::fromStdString(run.folder.filename().string()));
    }
    return line;
}

QString TotalsDescription(const RunResults& results, Evaluation evaluation) {
    const EvaluationFigures& figures = results.figures.Of(evaluation);
    const int count = static_cast<int>(results.figures.sound.size());
    const int sound = results.figures.SoundCount();
    if (figures.stretch.Empty()) {
        return QStringLiteral("%1: no periods, as the estimation windows cover every period.")
            .arg(EvaluationWords(evaluation));
    }
    QString text = QStringLiteral("%1, periods %2 to %3, over %4 of %5 sales points")
                       .arg(EvaluationWords(evaluation))
                       .arg(figures.stretch.first)
                       .arg(figures.stretch.last)
                       .arg(sound)
                       .arg(count);
    if (sound < count) {
        text += QStringLiteral(": %1 diverged and %2 left out")
                    .arg(count - sound)
                    .arg(count - sound == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    } else {
        text += QStringLiteral(", all sound");
    }
    text[0] = text[0].toUpper();
    return text + '.';
}

std::vector<DescriptionItem> TotalItems(const Figures& row) {
    return {
        {"Fill rate", ScreenNumber(row.fillRate, kRateDecimals)},
        {"Cycle service level", ScreenNumber(row.cycleServiceLevel, kRateDecimals)},
        {"Lost sales", ScreenSum(row.lostSales)},
        {"Returns", ScreenSum(row.returns)},
        {"Sales", ScreenSum(row.sales)},
        {"Demand", ScreenSum(row.demand)},
        {"Deliveries", ScreenSum(row.deliveries)},
    };
}

}  // namespace sf::ui
