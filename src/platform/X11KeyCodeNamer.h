#pragma once
// Key names from the X keyboard mapping: the overlay's virtual key is found on the keyboard by its
// place (X11PhysicalKeys), and named by what that key types in the layout group now in effect,
// with no modifier. A pressed X key is told by its place the same way.

#include "platform/KeyCodeNamer.h"
#include "platform/X11PhysicalKeys.h"

#include <memory>

namespace tolvane {

// What a key types, apart from the display so that the naming can be followed without one.
// Keysyms and keycodes are X's own numbers; 0 means none.
class X11KeyboardMapping {
public:
    virtual ~X11KeyboardMapping() = default;
    // What the key types with no modifier held in the group now in effect.
    virtual unsigned long unmodifiedKeysym(unsigned keycode) const = 0;
};

// The text for a virtual key on that keyboard under the mapping; none for codes without an X key,
// keys not on this keyboard and keysyms that stand for no character (function keys, dead keys).
std::optional<QString> characterForVirtualKey(
    quint16 keyCode, const X11PhysicalKeys& keys, const X11KeyboardMapping& mapping);

// The service over the display named by the environment; without one every key is nameless.
std::unique_ptr<KeyCodeNamer> makeX11KeyCodeNamer();

} // namespace tolvane
