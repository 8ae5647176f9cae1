#include "ui/form_layout.h"

#include <array>

namespace sf::ui {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kWindowFontPixelSize = 9;
// The Greek letters were drawn in a Symbol font of 8.25 and 9.75 points.
constexpr int kGreekPixelSize = 11;
constexpr int kTauPixelSize = 13;

using enum ControlKind;

constexpr std::array kControls = std::to_array<FormControl>({
    {"Endpointnumber", kTextBox, "", {3240, 240, 495, 285}, 39, {}, 0},
    {"periodsforalphabeta", kTextBox, "", {3240, 1680, 495, 285}, 37, {}, 0},
    {"loga",
     kOptionButton,
     "Poisson demand with mean having logarithmic trend",
     {720, 4200, 4575, 315},
     0,
     {},
     0},
    {"sqrot",
     kOptionButton,
     "Poisson demand with mean having trend with square root of time",
     {720, 4590, 4935, 315},
     1,
     {},
     0},
    {"linear",
     kOptionButton,
     "Poisson demand with mean having linear trend",
     {720, 4980, 4335, 315},
     2,
     {},
     0},
    {"t_tplusn",
     kOptionButton,
     "Poisson demand with mean having trend of multiple of t/(t+n)",
     {720, 5370, 4935, 255},
     3,
     {},
     0},
    {"meanAR1",
     kOptionButton,
     "Poisson demand with mean following AR(1)",
     {720, 5700, 4215, 255},
     4,
     {},
     0},
    {"AR1", kOptionButton, "AR(1) Process", {720, 6030, 3015, 255}, 5, {}, 0},
    {"Normal", kOptionButton, "Normal demand", {720, 6360, 4335, 255}, 6, {}, 0},
    {"warmuptx", kTextBox, "", {3240, 2160, 495, 285}, 34, {}, 0},
    {"Periodnumber", kTextBox, "", {3240, 720, 495, 285}, 26, {}, 0},
    {"periodsforinitialization", kTextBox, "", {3240, 1200, 495, 285}, 25, {}, 0},
    {"horizontx", kTextBox, "", {3480, 2640, 255, 285}, 24, {}, 0},
    {"tau_tx", kTextBox, "", {3240, 3120, 495, 285}, 23, {}, 0},
    {"p3", kTextBox, "", {7080, 5280, 495, 285}, 11, {}, 0},
    {"p2up", kTextBox, "", {7920, 4800, 495, 285}, 10, {}, 0},
    {"p2low", kTextBox, "", {7080, 4800, 495, 285}, 9, {}, 0},
    {"p1up", kTextBox, "30", {7920, 4425, 495, 285}, 8, {}, 0},
    {"p1low", kTextBox, "10", {7080, 4425, 495, 285}, 7, {}, 0},
    {"Run", kCommandButton, "Run", {7200, 6720, 1335, 495}, 12, {}, 0},
    {"Frame1", kFrame, "Underlying Demand", {600, 3960, 5175, 3135}, 13, {}, 0},
    {"randomwalk", kOptionButton, "Random Walk", {120, 2760, 2055, 255}, 36, "Frame1", 0},
    {"Label1", kLabel, "Number of Sales Points:", {480, 360, 2055, 255}, 40, {}, 0},
    {"Label6",
     kLabel,
     "# of periods used for estimating initial alpha and beta:",
     {480, 1680, 2535, 495},
     38,
     {},
     0},
    {"Label15", kLabel, "Warm-up period:", {480, 2160, 2295, 255}, 35, {}, 0},
    {"Label2", kLabel, "Number of Periods:", {480, 765, 2055, 255}, 33, {}, 0},
    {"Label3",
     kLabel,
     "# of periods used for estimating initial mu and sigma:",
     {480, 1080, 2535, 495},
     32,
     {},
     0},
    {"Label4", kLabel, "Forecasting horizon:", {480, 2640, 2055, 255}, 31, {}, 0},
    {"Label10", kLabel, "up to 100", {3840, 360, 855, 255}, 30, {}, 0},
    {"Label11", kLabel, "up to 600", {3840, 810, 855, 255}, 29, {}, 0},
    {"Label12", kLabel, "between 0 and 1", {3840, 3120, 1455, 255}, 28, {}, 0},
    {"Label5", kLabel, "τ", {480, 3120, 615, 255}, 27, {}, kTauPixelSize},
    {"sigma_label2", kLabel, "σ", {6840, 4800, 255, 255}, 22, {}, kGreekPixelSize},
    {"sigma_label", kLabel, "σ", {6840, 5280, 255, 255}, 21, {}, kGreekPixelSize},
    {"mu_label", kLabel, "μ", {6840, 4440, 255, 255}, 20, {}, kGreekPixelSize},
    {"phi_label", kLabel, "ψ", {6840, 4800, 255, 255}, 19, {}, kGreekPixelSize},
    {"n_label", kLabel, "n", {6840, 5280, 135, 255}, 18, {}, 0},
    {"c_label", kLabel, "c", {6840, 4800, 135, 255}, 17, {}, 0},
    {"a_label", kLabel, "a", {6840, 4440, 135, 255}, 16, {}, 0},
    {"Label14", kLabel, "Upper Limit", {7920, 3960, 495, 375}, 15, {}, 0},
    {"Label13", kLabel, "Lower Limit", {7080, 3960, 495, 375}, 14, {}, 0},
});

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
