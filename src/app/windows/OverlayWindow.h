#pragma once
// The window of an overlay panel that lets clicks pass through to the game (popular build,
// matchup, gold, farm and combos); the application takes the mouse for it only while Tab is held.

#include "app/windows/PanelWindow.h"
#include "core/overlay/RightStackLayout.h"

namespace tolvane {

class OverlayWindow : public PanelWindow {
    Q_OBJECT
public:
    using Position = OverlayWindowPosition;

    // Not shown until the application orders it front.
    OverlayWindow(OverlayContent* content, OverlayScale& scale, PanelPlatform platform);

    // Where the right-hand stack of the build panels stands; written before each placement.
    RightStackLayout layout = RightStackLayout::standard();

    // The anchor's origin before the window is kept inside the game frame.
    static QPointF anchorOrigin(Position position, QRectF game, QSizeF panel, const RightStackLayout& layout);

protected:
    QPointF defaultAnchorOrigin(Position position, QRectF game, QSizeF panel) const override;
};

} // namespace tolvane
