#pragma once
// Which X key is which of the overlay's virtual keys, found by the keys' XKB names (their places
// on the keyboard), never by what the layout in effect types on them: under a Russian layout the
// key in the place of the US P types з and is still the overlay's P; under a German one Y and Z
// trade keys and each code stays with its place. Key capture, key names and the key-state poll
// all go through this one mapping, and so can anything else that meets X keycodes. Internal to
// the platform layer.

#include "platform/X11KeyTable.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

struct _XDisplay;
union _XEvent;

namespace tolvane {

class X11PhysicalKeys {
public:
    struct KeyName {
        unsigned keycode;
        std::string_view name;
    };
    // A second name the keycodes file gives a key (the ISO layout's AC12 for BKSL, say).
    struct Alias {
        std::string_view alias;
        std::string_view real;
    };

    // A keyboard without keys.
    X11PhysicalKeys() = default;
    X11PhysicalKeys(std::span<const KeyName> keys, std::span<const Alias> aliases);
    // The core keyboard's names, read from the server (a round trip); no keys when it cannot.
    static X11PhysicalKeys read(_XDisplay* display);

    // The keycode of the key in the virtual key's place; 0 when the code has no place in the table
    // or this keyboard has no key there.
    unsigned keycode(int virtualKeyCode) const;
    // The virtual key of the key with this keycode; none for keys in no place the table lists.
    std::optional<int> virtualKey(unsigned keycode) const;
    bool isEmpty() const;

private:
    std::array<unsigned, X11KeyTable::codeBound> keycodes_ {};
};

// Notices that the keyboard's names may have changed (another keyboard, other keycodes), so that a
// kept X11PhysicalKeys is read again. Notices come in with whatever the connection reads anyway:
// asking costs no round trip.
class X11KeyboardChanges {
public:
    explicit X11KeyboardChanges(_XDisplay* display);
    // True when a notice arrived since the last call; drops whatever else has been queued.
    bool take();
    // Whether an event taken off the connection's queue is such a notice, for a connection that
    // reads other events too.
    bool isNotice(const _XEvent& event) const;

private:
    _XDisplay* display_;
    int xkbEventType_ = -1;
};

} // namespace tolvane
