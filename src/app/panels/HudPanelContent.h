#pragma once
// An overlay panel drawn as a HUD card: its outline is the card inside the room left for the
// shadow, so a window cut to the outline keeps the whole card and loses only the shadow.

#include "app/panels/HudPanel.h"
#include "app/windows/OverlayContent.h"

namespace tolvane {

class HudPanelContent : public OverlayContent {
    Q_OBJECT
public:
    using OverlayContent::OverlayContent;

    QPainterPath panelShape() const override { return HudPanel::cardOutline(naturalSize()); }
};

} // namespace tolvane
