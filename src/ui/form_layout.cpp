#include "ui/form_layout.h"

#include <algorithm>
#include <array>
#include <string>

#include "runtime/invariants.h"
#include "state/box_keys.h"
#include "state/demand_model.h"

namespace sf::ui {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kWindowFontPixelSize = 9;
// The Greek letters were drawn in a Symbol font of 8.25 and 9.75 points.
constexpr int kGreekPixelSize = 11;
constexpr int kTauPixelSize = 13;

using enum ControlKind;

// An option of the model group, by the model's name and caption.
constexpr FormControl ModelOption(DemandModel model, TwipsRect area, int tabIndex) {
    const DemandModelRow& row = ModelRow(model);
    return {row.name, kOptionButton, row.caption, area, tabIndex, {}, 0};
}

constexpr FormControl TextBox(std::string RunInputs::*box, std::string_view initialText,
                              TwipsRect area, int tabIndex) {
    return {BoxOf(box).control, kTextBox, initialText, area, tabIndex, {}, 0};
}

// A parameter's label beside a row of limit boxes, showing the letter the models give it.
constexpr FormControl ParameterLabel(std::string_view name, TwipsRect area, int tabIndex,
                                     int fontPixelSize) {
    for (const DemandModelRow& row : kDemandModels) {
        for (const ModelParameter& parameter : row.parameters) {
            if (parameter.label == name) {
                return {name, kLabel, parameter.letter, area, tabIndex, {}, fontPixelSize};
            }
        }
    }
    BreakInvariant("a parameter label that no model shows");
}

// A label that names a box the way the messages do, with a colon.
template <std::string RunInputs::*kBox>
constexpr auto kBoxCaptionCharacters = [] {
    constexpr std::string_view words = BoxOf(kBox).label;
    std::array<char, words.size() + 1> caption{};
    std::ranges::copy(words, caption.begin());
    caption.back() = ':';
    return caption;
}();
template <std::string RunInputs::*kBox>
constexpr std::string_view kBoxCaption{kBoxCaptionCharacters<kBox>.data(),
                                       kBoxCaptionCharacters<kBox>.size()};

constexpr std::array kControls = std::to_array<FormControl>({
    TextBox(&RunInputs::Endpointnumber, "", {3240, 240, 495, 285}, 39),
    TextBox(&RunInputs::periodsforalphabeta, "", {3240, 1680, 495, 285}, 37),
    ModelOption(DemandModel::loga, {720, 4200, 4575, 315}, 0),
    ModelOption(DemandModel::sqrot, {720, 4590, 4935, 315}, 1),
    ModelOption(DemandModel::linear, {720, 4980, 4335, 315}, 2),
    ModelOption(DemandModel::t_tplusn, {720, 5370, 4935, 255}, 3),
    ModelOption(DemandModel::meanAR1, {720, 5700, 4215, 255}, 4),
    ModelOption(DemandModel::AR1, {720, 6030, 3015, 255}, 5),
    ModelOption(DemandModel::Normal, {720, 6360, 4335, 255}, 6),
    TextBox(&RunInputs::warmuptx, "", {3240, 2160, 495, 285}, 34),
    TextBox(&RunInputs::Periodnumber, "", {3240, 720, 495, 285}, 26),
    TextBox(&RunInputs::periodsforinitialization, "", {3240, 1200, 495, 285}, 25),
    TextBox(&RunInputs::horizontx, "", {3480, 2640, 255, 285}, 24),
    TextBox(&RunInputs::tau_tx, "", {3240, 3120, 495, 285}, 23),
    TextBox(&RunInputs::p3, "", {7080, 5280, 495, 285}, 11),
    TextBox(&RunInputs::p2up, "", {7920, 4800, 495, 285}, 10),
    TextBox(&RunInputs::p2low, "", {7080, 4800, 495, 285}, 9),
    TextBox(&RunInputs::p1up, "30", {7920, 4425, 495, 285}, 8),
    TextBox(&RunInputs::p1low, "10", {7080, 4425, 495, 285}, 7),
    {"Run", kCommandButton, "Run", {7200, 6720, 1335, 495}, 12, {}, 0},
    {"Frame1", kFrame, "Underlying Demand", {600, 3960, 5175, 3135}, 13, {}, 0},
    {"randomwalk", kOptionButton, "Random Walk", {120, 2760, 2055, 255}, 36, "Frame1", 0},
    {"Label1", kLabel, kBoxCaption<&RunInputs::Endpointnumber>, {480, 360, 2055, 255}, 40, {}, 0},
    {"Label6",
     kLabel,
     kBoxCaption<&RunInputs::periodsforalphabeta>,
     {480, 1680, 2535, 495},
     38,
     {},
     0},
    {"Label15", kLabel, kBoxCaption<&RunInputs::warmuptx>, {480, 2160, 2295, 255}, 35, {}, 0},
    {"Label2", kLabel, kBoxCaption<&RunInputs::Periodnumber>, {480, 765, 2055, 255}, 33, {}, 0},
    {"Label3",
     kLabel,
     kBoxCaption<&RunInputs::periodsforinitialization>,
     {480, 1080, 2535, 495},
     32,
     {},
     0},
    {"Label4", kLabel, kBoxCaption<&RunInputs::horizontx>, {480, 2640, 2055, 255}, 31, {}, 0},
    {"Label10", kLabel, "up to 100", {3840, 360, 855, 255}, 30, {}, 0},
    {"Label11", kLabel, "up to 600", {3840, 810, 855, 255}, 29, {}, 0},
    {"Label12", kLabel, "between 0 and 1", {3840, 3120, 1455, 255}, 28, {}, 0},
    {"Label5", kLabel, "τ", {480, 3120, 615, 255}, 27, {}, kTauPixelSize},
    ParameterLabel("sigma_label2", {6840, 4800, 255, 255}, 22, kGreekPixelSize),
    ParameterLabel("sigma_label", {6840, 5280, 255, 255}, 21, kGreekPixelSize),
    ParameterLabel("mu_label", {6840, 4440, 255, 255}, 20, kGreekPixelSize),
    ParameterLabel("phi_label", {6840, 4800, 255, 255}, 19, kGreekPixelSize),
    ParameterLabel("n_label", {6840, 5280, 135, 255}, 18, 0),
    ParameterLabel("c_label", {6840, 4800, 135, 255}, 17, 0),
    ParameterLabel("a_label", {6840, 4440, 135, 255}, 16, 0),
    {"Label14", kLabel, BoxOf(&RunInputs::p1up).label, {7920, 3960, 495, 375}, 15, {}, 0},
    {"Label13", kLabel, BoxOf(&RunInputs::p1low).label, {7080, 3960, 495, 375}, 14, {}, 0},
});

constexpr bool NamesOneControl(std::string_view name) {
    return std::ranges::count(kControls, name, &FormControl::name) == 1;
}
static_assert(std::ranges::all_of(kDemandModelNames, NamesOneControl), "one option per model");
static_assert(std::ranges::all_of(kBoxKeys, NamesOneControl, &BoxKey::control),
              "one text box per box");

int TwipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

}  // namespace

std::span<const FormControl> FormControls() {
    return kControls;
}

QRect ToPixels(const TwipsRect& area) {
    return {TwipsToPixels(area.left), TwipsToPixels(area.top), TwipsToPixels(area.width),
            TwipsToPixels(area.height)};
}

QSize ClientSize() {
    return ToPixels(kClientArea).size();
}

QFont WindowFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(kWindowFontPixelSize);
    return font;
}

}  // namespace sf::ui
