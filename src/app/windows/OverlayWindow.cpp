#include "app/windows/OverlayWindow.h"

namespace tolvane {

namespace {

// The right-hand stack is as wide as its widest panel, the matchup panel.
constexpr double stackWidth = 248;

} // namespace

OverlayWindow::OverlayWindow(OverlayContent* content, OverlayScale& scale, PanelPlatform platform)
    : PanelWindow(content, scale, platform, /*ignoresMouseEvents=*/true)
{
}

QPointF OverlayWindow::anchorOrigin(Position position, QRectF game, QSizeF panel, const RightStackLayout& layout)
{
    if (const auto shared = sharedAnchorOrigin(position, game, panel))
        return *shared;
    // The popular-build panel's bottom edge one gap above the seam, the matchup panel's top edge
    // one gap below it; the gap moves the stack's left edge in as well.
    const double left = game.x() + game.width() - game.width() * layout.insetFraction - stackWidth + layout.gap;
    const double seam = game.y() + game.height() / 2 + game.height() * layout.raiseFraction + 2 * layout.gap;
    if (position == Position::rightUpper)
        return {left, seam + layout.gap};
    return {left, seam - layout.gap - panel.height()};
}

QPointF OverlayWindow::defaultAnchorOrigin(Position position, QRectF game, QSizeF panel) const
{
    return anchorOrigin(position, game, panel, layout);
}

} // namespace tolvane
