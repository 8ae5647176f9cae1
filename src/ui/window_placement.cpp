#include "ui/window_placement.h"

#include <algorithm>

namespace sf::ui {
namespace {

// Room between the form and the window.
constexpr int kGap = 8;

}  // namespace

std::optional<QRect> PlaceBeside(const QRect& room, const QRect& formFrame, const QSize& frame,
                                 const QSize& preferred, const QSize& least) {
    if (room.isEmpty()) {
        return std::nullopt;
    }
    const QSize most = room.size() - frame;
    const QSize size = preferred.boundedTo(most).expandedTo(least.boundedTo(most));
    const int right = room.right() - formFrame.right() - kGap;
    const int left = formFrame.left() - room.left() - kGap;
    QRect placed(QPoint(), size);
    if (std::max(right, left) >= least.width() + frame.width()) {
        // Beside the form, on the side with more room, as wide as that room allows.
        const int width = std::min(size.width(), std::max(right, left) - frame.width());
        placed.setWidth(width);
        placed.moveLeft(right >= left ? formFrame.right() + kGap + 1
                                      : formFrame.left() - kGap - width - frame.width());
    } else {
        // No room beside it: over the form's right side, within the screen.
        placed.moveLeft(room.right() - size.width() - frame.width() + 1);
    }
    placed.moveTop(
        std::clamp(formFrame.top(), room.top(),
                   std::max(room.top(), room.bottom() - size.height() - frame.height())));
    return placed;
}

}  // namespace sf::ui
