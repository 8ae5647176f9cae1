#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <span>
#include <string_view>

namespace sf::ui {

inline constexpr char kApplicationName[] = "Sales Forecast";
// The style whose metrics the form's captions were fitted to.
inline constexpr char kFormStyle[] = "Fusion";

enum class ControlKind { kTextBox, kOptionButton, kCommandButton, kFrame, kLabel };

// Design-time positions are in twips: 15 to a pixel at 96 DPI.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct FormControl {
    std::string_view name;
    ControlKind kind;
    std::string_view caption;  // for a text box its initial text
    TwipsRect area;            // relative to the container
    int tabIndex;
    std::string_view container;  // empty: the window itself
    int fontPixelSize;           // 0: the window font
};

inline constexpr TwipsRect kClientArea{0, 0, 9690, 7920};
// Not controls of the designed form: the bar fills the free strip under the frame and Run, the
// button that stops a run sits at its right end.
inline constexpr TwipsRect kProgressBarArea{480, 7380, 8055, 285};
inline constexpr TwipsRect kStopButtonArea{8640, 7335, 960, 375};
// Nor are these: the two sales history buttons beside the frame, under the limit boxes and
// above Run, and the name of the file in use in the strip under the frame.
inline constexpr TwipsRect kUseSalesHistoryArea{6600, 5715, 1935, 375};
inline constexpr TwipsRect kUseSimulatedDemandArea{6600, 6165, 1935, 375};
inline constexpr TwipsRect kDemandSourceArea{600, 7110, 5175, 255};

// Every control of the window, in creation order: a container comes before its children.
std::span<const FormControl> FormControls();

QRect ToPixels(const TwipsRect& area);
QSize ClientSize();
// DejaVu Sans, which the set-up installs, at the largest size at which every caption fits.
QFont WindowFont();

}  // namespace sf::ui
