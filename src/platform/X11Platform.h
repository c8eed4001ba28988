#pragma once
// The X11 implementations of the platform interfaces. Each opens its own connection to the
// display named by the environment; without a display they answer "not held" and "no list".

#include "platform/KeyState.h"
#include "platform/OverlayWindowNative.h"
#include "platform/WindowList.h"

#include <memory>

namespace tolvane {

// The window list can also describe one window by its X id, as the list would: none when the
// window is gone or is not on screen.
class X11WindowList : public WindowList {
public:
    virtual std::optional<WindowInfo> window(quint64 windowId) const = 0;
};

std::unique_ptr<KeyState> makeX11KeyState();
std::unique_ptr<X11WindowList> makeX11WindowList();
std::unique_ptr<OverlayWindowNative> makeX11OverlayWindowNative();

} // namespace tolvane
