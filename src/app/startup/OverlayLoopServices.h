#pragma once
// What the overlay's main loops (the visibility tick, the shop-key poll and the move tracking)
// share: the stores, the platform's key state and window list, and the application's loop state.
// Every member must outlive the loops.

namespace tolvane {

class KeyState;
class OverlaySettingsStore;
class PanelPositionStore;
class WindowList;
struct OverlayLoopState;

struct OverlayLoopServices {
    // Read afresh on every run, so a change in the settings shows at the next one.
    OverlaySettingsStore& settings;
    PanelPositionStore& positionStore;
    const KeyState& keys;
    const WindowList& windows;
    OverlayLoopState& state;
};

} // namespace tolvane
