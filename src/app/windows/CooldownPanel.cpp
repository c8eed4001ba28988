#include "app/windows/CooldownPanel.h"

namespace tolvane {

CooldownPanel::CooldownPanel(OverlayContent* content, OverlayScale& scale, PanelPlatform platform)
    : PanelWindow(content, scale, platform, /*ignoresMouseEvents=*/false)
{
}

QPointF CooldownPanel::anchorOrigin(Position position, QRectF game, QSizeF panel)
{
    if (const auto shared = sharedAnchorOrigin(position, game, panel))
        return *shared;
    const double left = game.x() + game.width() - panel.width() - 16;
    const double midY = game.y() + game.height() / 2;
    if (position == Position::rightUpper)
        return {left, midY + 0.12 * game.height()};
    return {left, midY - 0.18 * game.height() - panel.height()};
}

} // namespace tolvane
