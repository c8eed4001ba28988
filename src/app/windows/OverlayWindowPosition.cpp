#include "app/windows/OverlayWindowPosition.h"

namespace tolvane {

QString rawValue(OverlayWindowPosition position)
{
    switch (position) {
    case OverlayWindowPosition::topLeft:
        return QStringLiteral("topLeft");
    case OverlayWindowPosition::bottomCenter:
        return QStringLiteral("bottomCenter");
    case OverlayWindowPosition::hudRight:
        return QStringLiteral("hudRight");
    case OverlayWindowPosition::rightCenter:
        return QStringLiteral("rightCenter");
    case OverlayWindowPosition::leftCenter:
        return QStringLiteral("leftCenter");
    case OverlayWindowPosition::rightUpper:
        return QStringLiteral("rightUpper");
    case OverlayWindowPosition::rightLower:
        return QStringLiteral("rightLower");
    }
    return {};
}

std::optional<OverlayWindowPosition> overlayWindowPositionFromRawValue(const QString& raw)
{
    for (OverlayWindowPosition position : allOverlayWindowPositions) {
        if (rawValue(position) == raw)
            return position;
    }
    return std::nullopt;
}

std::optional<QPointF> sharedAnchorOrigin(OverlayWindowPosition position, QRectF game, QSizeF panel)
{
    const double minX = game.x();
    const double minY = game.y();
    const double maxX = game.x() + game.width();
    const double maxY = game.y() + game.height();
    const double midX = game.x() + game.width() / 2;
    const double midY = game.y() + game.height() / 2;
    const double pw = panel.width();
    const double ph = panel.height();
    switch (position) {
    case OverlayWindowPosition::topLeft:
        // The anchor names the top-left corner; the origin is the bottom-left one.
        return QPointF(minX + 16, maxY - 16 - ph);
    case OverlayWindowPosition::bottomCenter:
        return QPointF(midX - pw / 2, minY + 200);
    case OverlayWindowPosition::hudRight:
        return QPointF(minX + 0.68 * game.width() + 8, minY + 4);
    case OverlayWindowPosition::rightCenter:
        return QPointF(maxX - pw - 16, midY - ph / 2);
    case OverlayWindowPosition::leftCenter:
        return QPointF(minX + 16, midY - ph / 2);
    case OverlayWindowPosition::rightUpper:
    case OverlayWindowPosition::rightLower:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace tolvane
