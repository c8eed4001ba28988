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

// How the key state learns which keys are held.
enum class X11KeyReading {
    // From XInput2's raw key events, kept in the process, so a reading asks the server nothing;
    // where the server lacks XInput 2.1, by a round trip as below.
    rawEventsWhereAvailable,
    // By asking the server at each reading (XQueryKeymap, one round trip).
    roundTrip,
};

class X11KeyState : public KeyState {
public:
    // Whether readings come from raw key events rather than one round trip each.
    virtual bool readsRawEvents() const = 0;
};

std::unique_ptr<X11KeyState> makeX11KeyState(X11KeyReading reading = X11KeyReading::rawEventsWhereAvailable);
std::unique_ptr<X11WindowList> makeX11WindowList();
std::unique_ptr<OverlayWindowNative> makeX11OverlayWindowNative();

} // namespace tolvane
