#pragma once
// The one boundary between Qt's coordinates (origin at the top left of the virtual desktop, y
// downward) and the overlay's screen coordinates (origin at the bottom left of the primary
// screen, y upward). Everything above the platform layer works in the latter.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

namespace tolvane::ScreenSpace {

// The height of the primary screen: the first screen whose origin is exactly (0, 0), else the
// main screen's, else none.
std::optional<double> primaryScreenHeight(const std::vector<QRectF>& screens, std::optional<QRectF> mainScreen);
// The same for the screens Qt knows now; none without a GUI application or without screens.
std::optional<double> primaryScreenHeight();

// Flipping is its own inverse: the same call converts either way.
inline QRectF flipped(const QRectF& rect, double primaryHeight)
{
    return {rect.x(), primaryHeight - (rect.y() + rect.height()), rect.width(), rect.height()};
}
inline QPointF flipped(const QPointF& point, double primaryHeight)
{
    return {point.x(), primaryHeight - point.y()};
}

} // namespace tolvane::ScreenSpace
