#pragma once
// Keeping a panel inside the game window, and point/fraction conversions relative to a
// rectangle's origin corner. Screen coordinates: points, origin bottom-left, y upward, so a
// QRectF's y() is its lowest edge here.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace tolvane::OverlayGeometry {

inline constexpr double margin = 8.0;

// The origin a panel of `size` must take to lie `margin` inside `rect`. Where the rectangle is too
// small, the panel's left (or bottom) edge sits `margin` inside it. A non-finite coordinate takes
// that lower bound too, so a panel never lands at a position no window can have.
QPointF clamp(QPointF origin, QSizeF size, QRectF rect);

// (0, 0) for an empty rectangle or a result that is not finite.
QPointF fraction(QPointF origin, QRectF rect);

// A non-finite fraction counts as 0 on its axis: the rectangle's origin corner.
QPointF origin(QPointF fraction, QRectF rect);

} // namespace tolvane::OverlayGeometry
