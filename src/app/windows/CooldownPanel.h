#pragma once
// The window of the enemy-cooldown panel: the one panel window that takes clicks (a click on a
// spell starts its countdown), with its own right-hand anchors.

#include "app/windows/PanelWindow.h"

namespace tolvane {

class CooldownPanel : public PanelWindow {
    Q_OBJECT
public:
    using Position = OverlayWindowPosition;

    // Not shown until the application orders it front.
    CooldownPanel(OverlayContent* content, OverlayScale& scale, PanelPlatform platform);

    static QPointF anchorOrigin(Position position, QRectF game, QSizeF panel);

protected:
    QPointF defaultAnchorOrigin(Position position, QRectF game, QSizeF panel) const override
    {
        return CooldownPanel::anchorOrigin(position, game, panel);
    }
};

} // namespace tolvane
