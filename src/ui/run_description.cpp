#include "ui/run_description.h"

#include <QStringList>
#include <string_view>

#include "state/demand_model.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

QString Words(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Typed(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

std::vector<DescriptionItem> ScenarioItems(const CompletedRun& run) {
    const RunInputs& boxes = run.record.inputs;
    const DemandModelRow& model = ModelRow(boxes.model);
    std::vector<DescriptionItem> items = {
        {"Model", Words(model.caption), true},
        {"Sales points", Typed(boxes.Endpointnumber)},
        {"Periods (P)", Typed(boxes.Periodnumber)},
        {"Initial μ and σ (S)", Typed(boxes.periodsforinitialization)},
        {"Initial α and β (A)", Typed(boxes.periodsforalphabeta)},
        {"Horizon (H)", Typed(boxes.horizontx)},
        {"τ", Typed(boxes.tau_tx)},
        {"Warm-up", Typed(boxes.warmuptx)},
        // Numbers that name a sequence, not quantities: no grouping.
        {"Random sequence",
         QStringLiteral("seed %1, run %2 of this start").arg(run.record.seed).arg(run.record.run)},
    };
    // Each parameter the model has, by the letter the form shows beside its row.
    const QString ranges[] = {Typed(boxes.p1low) + " to " + Typed(boxes.p1up),
                              Typed(boxes.p2low) + " to " + Typed(boxes.p2up), Typed(boxes.p3)};
    QStringList limits;
    for (std::size_t at = 0; at < model.parameters.size(); ++at) {
        if (!model.parameters[at].label.empty()) {
            limits << Words(model.parameters[at].letter) + " " + ranges[at];
        }
    }
    items.push_back({"Limits", limits.join(", ")});
    items.push_back({"Smoothing constants", run.record.options.boundedConstants
                                                ? "held within 0 and 1"
                                                : "free to leave 0 to 1"});
    items.push_back({"Report", QString::fromStdString(run.record.reportPath.string()), true});
    return items;
}

std::vector<DescriptionItem> TotalItems(const Figures& all) {
    return {
        {"Fill rate", ScreenNumber(all.fillRate, kRateDecimals)},
        {"Cycle service level", ScreenNumber(all.cycleServiceLevel, kRateDecimals)},
        {"Lost sales", ScreenSum(all.lostSales)},
        {"Returns", ScreenSum(all.returns)},
        {"Sales", ScreenSum(all.sales)},
        {"Demand", ScreenSum(all.demand)},
        {"Deliveries", ScreenSum(all.deliveries)},
    };
}

}  // namespace sf::ui
