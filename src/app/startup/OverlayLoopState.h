#pragma once
// The application's own overlay state that the main loops share: the user's on/off switch, the
// remote availability switch, whether the reposition editor is open, the game mode whose stored
// panel positions are in use, and the shop latch. The application owns one; the loops hold it
// by reference. Nothing here is persisted.

#include "core/overlay/PanelID.h"
#include "core/overlay/ShopLatch.h"

namespace tolvane {

struct OverlayLoopState {
    // The menu's "Overlay Enabled"; on at every launch.
    bool userEnabled = true;
    // Set once the availability check turned the application off; never cleared in a run.
    bool availabilityDisabled = false;
    // While the reposition editor is open the tick leaves the panels alone.
    bool repositionMode = false;
    // Changed only by the reposition editor's completion, never by the running game.
    RepositionMode currentMode = RepositionMode::summonersRift;
    ShopLatch shopLatch;
};

} // namespace tolvane
