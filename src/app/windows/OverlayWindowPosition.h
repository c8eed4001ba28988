#pragma once
// The default anchors of a panel window inside the game window (its frame G in screen
// coordinates: points, origin bottom-left, y upward). The raw values are stored in settings.

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>

namespace tolvane {

enum class OverlayWindowPosition { topLeft, bottomCenter, hudRight, rightCenter, leftCenter, rightUpper, rightLower };

inline constexpr std::array<OverlayWindowPosition, 7> allOverlayWindowPositions {OverlayWindowPosition::topLeft,
    OverlayWindowPosition::bottomCenter, OverlayWindowPosition::hudRight, OverlayWindowPosition::rightCenter,
    OverlayWindowPosition::leftCenter, OverlayWindowPosition::rightUpper, OverlayWindowPosition::rightLower};

QString rawValue(OverlayWindowPosition position);
// Exact, case-sensitive match of a raw value.
std::optional<OverlayWindowPosition> overlayWindowPositionFromRawValue(const QString& raw);

// The anchor's origin (bottom-left corner) for a panel of `panel` size, for the anchors both kinds
// of panel window share; none for the two right-hand stack anchors, which each kind places itself.
std::optional<QPointF> sharedAnchorOrigin(OverlayWindowPosition position, QRectF game, QSizeF panel);

} // namespace tolvane
