#include "app/startup/ShopKeyPoll.h"

#include "app/panels/GoldSpentViewModel.h"
#include "app/startup/OverlayLoopState.h"
#include "core/overlay/KeyCodes.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "platform/KeyState.h"

namespace tolvane {

ShopKeyPoll::ShopKeyPoll(OverlayLoopServices services, const GoldSpentViewModel& goldVM)
    : services_(services)
    , goldVM_(goldVM)
{
}

void ShopKeyPoll::pollShopKeys()
{
    ShopLatch& latch = services_.state.shopLatch;
    if (!goldVM_.summary()) {
        latch.leftGame();
        return;
    }
    // The store reads a code outside 0...65535 as the default key, so the narrowing is safe.
    const KeyState& keys = services_.keys;
    const bool shop = keys.isKeyDown(static_cast<int>(services_.settings.shopKeyCode()));
    const bool fallback = keys.isKeyDown(static_cast<int>(services_.settings.fallbackKeyCode()));
    const bool escape = keys.isKeyDown(VirtualKey::escape);
    for (const int index : keyEdges_.firedEdges({shop, fallback, escape})) {
        if (index == 2)
            latch.escEdge();
        else
            latch.shopKeyEdge();
    }
}

} // namespace tolvane
