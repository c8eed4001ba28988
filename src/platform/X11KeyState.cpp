// Key state over X11: XQueryKeymap reports the keys held on the whole display, whichever
// window has the focus, which is what polling Tab over the game needs. One XQueryKeymap is one
// round trip to the server, so several keys asked together share one. Keys are found by their
// place on the keyboard, so the layout in effect does not change which key is read.
#include "core/support/Log.h"
#include "platform/X11Connection.h"
#include "platform/X11PhysicalKeys.h"
#include "platform/X11Platform.h"

#include <X11/Xlib.h>

TOLVANE_LOG_CATEGORY(lcKeyState, "platform")

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
            if (!X11KeyTable::keyNameForVirtualKey(virtualKeyCodes[i]))
                continue;
            // Only when some asked key exists: a code without a key costs no round trip.
            if (!read) {
                XQueryKeymap(display, keys);
                read = true;
                // The names are read once and again only when the server says the keyboard
                // changed; a switch of layout leaves them as they are.
                if (changes_.take() || !physicalRead_) {
                    physical_ = X11PhysicalKeys::read(display);
                    if (physical_.isEmpty() && !physicalRead_)
                        log::warning(lcKeyState(),
                            QStringLiteral("the keyboard's key names cannot be read; no key reads as held"));
                    physicalRead_ = true;
                }
            }
            const unsigned keycode = physical_.keycode(virtualKeyCodes[i]);
            down[i] = keycode != 0 && keycode < 256 && (keys[keycode / 8] & (1 << (keycode % 8))) != 0;
        }
    }

private:
    X11Connection connection_;
    mutable X11KeyboardChanges changes_ {connection_.display()};
    mutable X11PhysicalKeys physical_;
    mutable bool physicalRead_ = false;
};

} // namespace

std::unique_ptr<KeyState> makeX11KeyState()
{
    return std::make_unique<X11KeyState>();
}

} // namespace tolvane
