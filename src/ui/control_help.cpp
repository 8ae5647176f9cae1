#include "ui/control_help.h"

#include <algorithm>
#include <string>

#include "state/box_keys.h"
#include "state/demand_model.h"
#include "ui/model_controls.h"

namespace sf::ui {
namespace {

// A box and the labels beside it, under the words the messages name the box by.
constexpr ControlHelp BoxHelp(std::string RunInputs::*box, std::string_view text,
                              std::string_view label, std::string_view note = {}) {
    return {BoxOf(box).label, text, {label, BoxOf(box).control, note}};
}

constexpr ControlHelp ModelHelp(DemandModel model, std::string_view text) {
    return {ModelRow(model).caption, text, {ModelRow(model).name, {}, {}}};
}

constexpr auto kFormHelp = std::to_array<ControlHelp>({
    BoxHelp(&RunInputs::Endpointnumber,
            "How many sales points are simulated; each draws its own model parameters and "
            "demand. A whole number from 1 to 100.",
            "Label1", "Label10"),
    BoxHelp(&RunInputs::Periodnumber,
            "How many periods of demand are simulated and forecast. A whole number from 0 to "
            "600.",
            "Label2", "Label11"),
    BoxHelp(&RunInputs::periodsforinitialization,
            "The first periods, whose mean and standard deviation start the forecast; "
            "deliveries are counted from the last of them on. A whole number of at least 1; "
            "with the periods for alpha and beta and the horizon at most 600 together.",
            "Label3"),
    BoxHelp(&RunInputs::periodsforalphabeta,
            "The periods after those for mu and sigma over which the first smoothing constants "
            "are fitted: alpha for the mean, beta for the mean absolute deviation. From then on "
            "both are fitted again every period. A whole number of at least 0.",
            "Label6"),
    BoxHelp(&RunInputs::warmuptx,
            "Kept with the run but read by no computation: it changes nothing in a run. It "
            "must still be a whole number from -32768 to 32767, or the run refuses it.",
            "Label15"),
    BoxHelp(&RunInputs::horizontx,
            "How many periods ahead each forecast is made: the forecast of a period is built "
            "from the forecast and the demand that many periods before it (0: of the period "
            "itself). A whole number of at least 0.",
            "Label4"),
    {"τ (tau)",
     "The safety factor: each delivery is the forecast plus τ standard deviations, rounded "
     "to a whole number. The form suggests 0 to 1; any number is taken.",
     {"Label5", BoxOf(&RunInputs::tau_tx).control, "Label12"}},
    {"Underlying Demand",
     "The model that draws the demand of every sales point in every period. The letters "
     "beside the limit boxes name its parameters.",
     {"Frame1", "", ""}},
    ModelHelp(DemandModel::loga,
              "Poisson demand whose mean in period t is a + c·ln(t + 5), rounded to a whole "
              "number, never below a/2 when c < 0 and never above 3a when c ≥ 0."),
    ModelHelp(DemandModel::sqrot,
              "Poisson demand whose mean in period t is a + c·√(t + 10), rounded to a whole "
              "number, never below a/2 when c < 0 and never above 3a when c ≥ 0."),
    ModelHelp(DemandModel::linear,
              "Poisson demand whose mean in period t is a + c·t, rounded to a whole number, "
              "never below a/2 when c < 0 and never above 3a when c ≥ 0."),
    ModelHelp(DemandModel::t_tplusn,
              "Poisson demand whose mean in period t is a + c·t/(t + n), rounded to a whole "
              "number, never below a/2 when c < 0 and never above 3a when c ≥ 0."),
    ModelHelp(DemandModel::meanAR1,
              "Poisson demand whose mean returns towards μ: each period's mean is μ plus ψ "
              "times the last period's distance from μ, starting from 3μψ or μψ/2 at random. A "
              "mean above about 709.78 stops the run."),
    ModelHelp(DemandModel::AR1,
              "Demand that returns towards μ: each period's demand is μ plus ψ times the last "
              "period's distance from μ plus a normal step of standard deviation σ, starting "
              "from μψ. Demand may be fractional or negative."),
    ModelHelp(DemandModel::Normal,
              "Independent normal demand of mean μ and standard deviation σ in every period. "
              "Demand may be fractional or negative."),
    {"Random Walk",
     "Read by no computation: selecting it changes nothing in a run. (An AR(1) process with "
     "ψ = 1 is a random walk.)",
     {"randomwalk", "", ""}},
    {"Lower Limit, Upper Limit",
     "Each sales point draws each of its parameters at random between the lower and the upper "
     "limit, the lower one included; a lower limit above the upper one works the same way. "
     "Any numbers.",
     {"Label13", "Label14", ""}},
    {"First row: a or μ",
     "The limits of the first parameter: a, the level of the four trend models, or μ, the "
     "level of the two AR(1) models and the mean of normal demand.",
     {BoxOf(&RunInputs::p1low).control, BoxOf(&RunInputs::p1up).control, ""}},
    {"Second row: c, ψ or σ",
     "The limits of the second parameter: c, the trend coefficient of the trend models; ψ, "
     "the coefficient of the two AR(1) models; or σ, the standard deviation of normal demand.",
     {BoxOf(&RunInputs::p2low).control, BoxOf(&RunInputs::p2up).control, ""}},
    {"Third row: n or σ",
     "One value for every sales point, shown for two models only: n of the t/(t+n) trend "
     "(n + t must not be 0 in any period), or σ, the standard deviation of the AR(1) "
     "process's steps. Any number.",
     {BoxOf(&RunInputs::p3).control, "", ""}},
    {"a", "a: the level of the trend models' mean; first row.", {"a_label", "", ""}},
    {"c", "c: the trend coefficient; second row.", {"c_label", "", ""}},
    {"μ (mu)",
     "μ: the level the AR(1) models return to, or the mean of normal demand; first row.",
     {"mu_label", "", ""}},
    {"ψ (psi)",
     "ψ: the AR(1) coefficient, the share of the last distance from μ that carries over to "
     "the next period; second row.",
     {"phi_label", "", ""}},
    {"n", "n: the constant of the t/(t+n) trend; third row, one value.", {"n_label", "", ""}},
    {"σ (sigma)",
     "σ: the standard deviation of the AR(1) process's normal steps (third row, one value), "
     "or of normal demand (second row).",
     {"sigma_label", "sigma_label2", ""}},
    {"Run",
     "Runs the simulation with these inputs and writes the report out.txt in the folder the "
     "program was started from. Each run continues the random sequence of the one before.",
     {"Run", "", ""}},
});

constexpr bool HasHelp(std::string_view control) {
    return std::ranges::any_of(kFormHelp, [control](const ControlHelp& help) {
        return std::ranges::find(help.controls, control) != help.controls.end();
    });
}
static_assert(std::ranges::all_of(kDemandModelNames, HasHelp), "every model option has help");
static_assert(std::ranges::all_of(kModelControlNames, HasHelp), "every parameter label has help");
static_assert(std::ranges::all_of(kBoxKeys, HasHelp, &BoxKey::control), "every box has help");

}  // namespace

QString WrappedToolTip(const QString& text) {
    // A tooltip of rich text wraps at a readable width; one of plain text runs on in one line.
    return QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

std::span<const ControlHelp> FormHelp() {
    return kFormHelp;
}

void SetToolTips(QWidget& window) {
    for (const ControlHelp& help : kFormHelp) {
        for (const std::string_view name : help.controls) {
            if (!name.empty()) {
                window.findChild<QWidget*>(QString::fromUtf8(name))
                    ->setToolTip(WrappedToolTip(QString::fromUtf8(help.text)));
            }
        }
    }
}

}  // namespace sf::ui
