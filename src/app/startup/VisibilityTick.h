#pragma once
// The overlay's main loop, run by the application's timer about eight times a second: decides for
// each panel window whether it shows (the match, the triggers and switches, the game mode), sets
// the panels' zoom from the game window, lets the panels take the mouse while Tab is held, and
// places each shown panel over the game window. It keeps no state between runs of its own; what
// it reads of the settings it keeps in memory until the store is written, and outside a match it
// reads neither the keyboard nor the window list.

#include "app/startup/OverlayLoopServices.h"
#include "app/startup/OverlayPanels.h"
#include "app/startup/PanelPlacement.h"
#include "core/overlay/OverlaySettingsStore.h"

#include <chrono>

namespace tolvane {

class CooldownPanelViewModel;
class GoldSpentViewModel;
class OverlayScale;

class VisibilityTick {
public:
    static constexpr std::chrono::milliseconds interval {120};

    // Everything must outlive the tick; the panels' windows are the application's.
    VisibilityTick(OverlayPanels panels, OverlayLoopServices services, OverlayScale& overlayScale,
        const GoldSpentViewModel& goldVM, CooldownPanelViewModel& cooldownVM);

    void tick();

private:
    void hideAll();
    // Gives the cooldown panel the settings' format and opacity, assigning only what differs.
    void syncCooldownSettings(const OverlayLoopSettings& settings);

    OverlayPanels panels_;
    OverlayLoopServices services_;
    CachedLoopSettings settings_;
    PanelPlacement placement_;
    OverlayScale& overlayScale_;
    const GoldSpentViewModel& goldVM_;
    CooldownPanelViewModel& cooldownVM_;
};

} // namespace tolvane
