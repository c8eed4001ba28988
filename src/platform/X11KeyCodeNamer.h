#pragma once
// Key names from the X keyboard mapping: the overlay's virtual key is found on the keyboard by
// the keysym the fixed key table gives it (as the key-state service finds it), and named by what
// that key types in the layout group now in effect, with no modifier. The same search, run the
// other way, tells which virtual key a pressed X key is.

#include "platform/KeyCodeNamer.h"

#include <memory>

namespace tolvane {

// The two questions the naming asks of the mapping, apart so the naming can be followed without
// a display. Keysyms and keycodes are X's own numbers; 0 means none.
class X11KeyboardMapping {
public:
    virtual ~X11KeyboardMapping() = default;
    // The key that carries the keysym in any group or level, preferring the first group and the
    // unshifted level, as XKeysymToKeycode does.
    virtual unsigned keycodeForKeysym(unsigned long keysym) const = 0;
    // What the key types with no modifier held in the group now in effect.
    virtual unsigned long unmodifiedKeysym(unsigned keycode) const = 0;
};

// The text for a virtual key under the mapping; none for codes without an X key, keys not on
// this keyboard and keysyms that stand for no character (function keys, dead keys).
std::optional<QString> characterForVirtualKey(quint16 keyCode, const X11KeyboardMapping& mapping);

// The virtual key whose keysym is found on the X key with this keycode; none for keys that carry
// no keysym of the table where the search finds it first.
std::optional<int> virtualKeyForKeycode(unsigned keycode, const X11KeyboardMapping& mapping);

// The service over the display named by the environment; without one every key is nameless.
std::unique_ptr<KeyCodeNamer> makeX11KeyCodeNamer();

} // namespace tolvane
