#pragma once

#include <QRect>
#include <QSize>
#include <optional>

namespace sf::ui {

// Where a window goes beside the form: on the side of the screen's room with more space, as wide
// as that space allows but not narrower than least, at the form's height within the room; where
// neither side has room for least, over the form's right side. preferred and least are sizes of
// the window's inside, frame what its frame adds (the form's frame tells). None where the
// screen's room is not known.
std::optional<QRect> PlaceBeside(const QRect& room, const QRect& formFrame, const QSize& frame,
                                 const QSize& preferred, const QSize& least);

}  // namespace sf::ui
