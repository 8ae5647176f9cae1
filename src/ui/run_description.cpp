#include "ui/run_description.h"

#include <QStringList>
#include <algorithm>

#include "ui/form_layout.h"
#include "ui/model_controls.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

const FormControl* FindFormControl(std::string_view name) {
    for (const FormControl& control : FormControls()) {
        if (control.name == name) {
            return &control;
        }
    }
    return nullptr;
}

QString Caption(const FormControl& control) {
    return QString::fromUtf8(control.caption.data(),
                             static_cast<qsizetype>(control.caption.size()));
}

// The letters the form shows beside the limit rows for the model, top row first.
QStringList ParameterLetters(DemandModel model) {
    const ModelControlsShown& shown = ShownModelControls(model);
    std::vector<const FormControl*> letters;
    for (std::size_t at = 0; at < shown.size(); ++at) {
        const FormControl* control = FindFormControl(kModelControlNames[at]);
        if (shown[at] && control != nullptr && control->kind == ControlKind::kLabel) {
            letters.push_back(control);
        }
    }
    std::sort(letters.begin(), letters.end(),
              [](const FormControl* a, const FormControl* b) { return a->area.top < b->area.top; });
    QStringList captions;
    for (const FormControl* letter : letters) {
        captions << Caption(*letter);
    }
    return captions;
}

QString Typed(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

std::vector<DescriptionItem> ScenarioItems(const CompletedRun& run) {
    const RunInputs& boxes = run.record.inputs;
    const FormControl* option = FindFormControl(DemandModelName(boxes.model));
    std::vector<DescriptionItem> items = {
        {"Model", option != nullptr ? Caption(*option) : QString(), true},
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
    const QStringList letters = ParameterLetters(boxes.model);
    const QString ranges[] = {Typed(boxes.p1low) + " to " + Typed(boxes.p1up),
                              Typed(boxes.p2low) + " to " + Typed(boxes.p2up), Typed(boxes.p3)};
    QStringList limits;
    for (qsizetype at = 0; at < letters.size() && at < 3; ++at) {
        limits << letters[at] + " " + ranges[at];
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
