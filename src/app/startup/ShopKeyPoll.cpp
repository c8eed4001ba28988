#include "app/startup/ShopKeyPoll.h"

#include "app/panels/GoldSpentViewModel.h"
#include "app/startup/OverlayLoopState.h"
#include "core/overlay/KeyCodes.h"
#include "platform/KeyState.h"

#include <array>

namespace tolvane {

ShopKeyPoll::ShopKeyPoll(OverlayLoopServices services, const GoldSpentViewModel& goldVM)
    : services_(services)
    , goldVM_(goldVM)
    , settings_(services.settings)
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
    const OverlayLoopSettings& settings = settings_.current();
    const std::array<int, 3> codes {
        static_cast<int>(settings.shopKeyCode), static_cast<int>(settings.fallbackKeyCode), VirtualKey::escape};
    std::array<bool, 3> down {};
    services_.keys.readKeys(codes, down);
    for (const int index : keyEdges_.firedEdges({down[0], down[1], down[2]})) {
        if (index == 2)
            latch.escEdge();
        else
            latch.shopKeyEdge();
    }
}

} // namespace tolvane
