// Key state over X11: XQueryKeymap reports the keys held on the whole display, whichever
// window has the focus, which is what polling Tab over the game needs.
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
        Display* display = connection_.display();
        if (display == nullptr)
            return false;
        const auto keysyms = X11KeyTable::keysymsForVirtualKey(virtualKeyCode);
        if (!keysyms)
            return false;
        char keys[32] = {};
        XQueryKeymap(display, keys);
        for (unsigned long keysym : *keysyms) {
            if (keysym == 0)
                continue;
            // Looked up on every call: the keyboard mapping may change while we run.
            const unsigned keycode = XKeysymToKeycode(display, keysym);
            if (keycode != 0 && (keys[keycode / 8] & (1 << (keycode % 8))) != 0)
                return true;
        }
        return false;
    }

private:
    X11Connection connection_;
};

} // namespace

std::unique_ptr<KeyState> makeX11KeyState()
{
    return std::make_unique<X11KeyState>();
}

} // namespace tolvane
