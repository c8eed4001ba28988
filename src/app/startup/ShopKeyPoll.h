#pragma once
// Turns presses of the shop key, the fallback key and Esc into the shop latch, read as each key
// moves where the key state tells of it, else polled fifty times a second: the shop or
// fallback key toggles it the way the game's shop opens and closes, Esc clears it, and it is off
// whenever no match runs. Runs whatever the triggers say; the latch matters only with the shop
// trigger. A poll reads the keyboard once for all three keys and the key settings from memory.

#include "app/startup/OverlayLoopServices.h"
#include "core/overlay/ComboEdgeDetector.h"
#include "core/overlay/OverlaySettingsStore.h"

#include <chrono>

namespace tolvane {

class GoldSpentViewModel;

class ShopKeyPoll {
public:
    static constexpr std::chrono::milliseconds interval {20};

    ShopKeyPoll(OverlayLoopServices services, const GoldSpentViewModel& goldVM);

    void pollShopKeys();

private:
    OverlayLoopServices services_;
    const GoldSpentViewModel& goldVM_;
    CachedLoopSettings settings_;
    // Shop key, fallback key, Esc. Not fed outside a match, so a key held across the end of one
    // match and into the next does not count as a fresh press.
    ComboEdgeDetector keyEdges_ {3};
};

} // namespace tolvane
