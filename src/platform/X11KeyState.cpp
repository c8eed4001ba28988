// Key state over X11: XQueryKeymap reports the keys held on the whole display, whichever
// window has the focus, which is what polling Tab over the game needs. One XQueryKeymap is one
// round trip to the server, so several keys asked together share one.
#include "platform/X11Connection.h"
#include "platform/X11KeyTable.h"
#include "platform/X11Platform.h"

#include <X11/Xlib.h>

namespace tolvane {

namespace {

class X11KeyState final : public KeyState {
public:
    bool isKeyDown(int virtualKeyCode) const override
    {
        bool down = false;
        readKeys(std::span<const int>(&virtualKeyCode, 1), std::span<bool>(&down, 1));
        return down;
    }

    void readKeys(std::span<const int> virtualKeyCodes, std::span<bool> down) const override
    {
        for (bool& d : down)
            d = false;
        Display* display = connection_.display();
        if (display == nullptr)
            return;
        char keys[32] = {};
        bool read = false;
        for (std::size_t i = 0; i < virtualKeyCodes.size() && i < down.size(); ++i) {
            const auto keysyms = X11KeyTable::keysymsForVirtualKey(virtualKeyCodes[i]);
            if (!keysyms)
                continue;
            // Only when some asked key exists: a code without a key costs no round trip.
            if (!read) {
                XQueryKeymap(display, keys);
                read = true;
            }
            down[i] = isHeld(display, keys, *keysyms);
        }
    }

private:
    static bool isHeld(Display* display, const char (&keys)[32], const X11KeyTable::Keysyms& keysyms)
    {
        for (unsigned long keysym : keysyms) {
            if (keysym == 0)
                continue;
            // Looked up on every call (from Xlib's copy of the mapping, no round trip): the
            // keyboard mapping may change while we run.
            const unsigned keycode = XKeysymToKeycode(display, keysym);
            if (keycode != 0 && (keys[keycode / 8] & (1 << (keycode % 8))) != 0)
                return true;
        }
        return false;
    }

    X11Connection connection_;
};

} // namespace

std::unique_ptr<KeyState> makeX11KeyState()
{
    return std::make_unique<X11KeyState>();
}

} // namespace tolvane
