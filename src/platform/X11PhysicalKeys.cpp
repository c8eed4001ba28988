#include "platform/X11PhysicalKeys.h"

#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace tolvane {

namespace {

// XKB names fill four bytes and are zero-padded only when shorter.
std::string_view nameView(const char (&name)[XkbKeyNameLength])
{
    std::size_t length = 0;
    while (length < XkbKeyNameLength && name[length] != '\0')
        ++length;
    return {name, length};
}

} // namespace

X11PhysicalKeys::X11PhysicalKeys(std::span<const KeyName> keys, std::span<const Alias> aliases)
{
    auto keycodeNamed = [&](std::string_view name) -> unsigned {
        for (const KeyName& key : keys) {
            if (key.name == name)
                return key.keycode;
        }
        return 0;
    };
    for (int code = 0; code < X11KeyTable::codeBound; ++code) {
        const auto name = X11KeyTable::keyNameForVirtualKey(code);
        if (!name)
            continue;
        unsigned keycode = keycodeNamed(*name);
        for (std::size_t i = 0; keycode == 0 && i < aliases.size(); ++i) {
            if (aliases[i].alias == *name)
                keycode = keycodeNamed(aliases[i].real);
        }
        keycodes_[std::size_t(code)] = keycode;
    }
}

X11PhysicalKeys X11PhysicalKeys::read(_XDisplay* display)
{
    if (display == nullptr)
        return {};
    XkbDescPtr xkb = XkbGetMap(display, 0, XkbUseCoreKbd);
    if (xkb == nullptr)
        return {};
    X11PhysicalKeys physical;
    if (XkbGetNames(display, XkbKeyNamesMask | XkbKeyAliasesMask, xkb) == Success && xkb->names != nullptr
        && xkb->names->keys != nullptr) {
        std::vector<KeyName> keys;
        for (int keycode = xkb->min_key_code; keycode <= xkb->max_key_code; ++keycode) {
            const std::string_view name = nameView(xkb->names->keys[keycode].name);
            if (!name.empty())
                keys.push_back({unsigned(keycode), name});
        }
        std::vector<Alias> aliases;
        for (int i = 0; xkb->names->key_aliases != nullptr && i < xkb->names->num_key_aliases; ++i) {
            const XkbKeyAliasRec& alias = xkb->names->key_aliases[i];
            aliases.push_back({nameView(alias.alias), nameView(alias.real)});
        }
        physical = X11PhysicalKeys(keys, aliases);
    }
    XkbFreeKeyboard(xkb, 0, True);
    return physical;
}

unsigned X11PhysicalKeys::keycode(int virtualKeyCode) const
{
    if (virtualKeyCode < 0 || virtualKeyCode >= X11KeyTable::codeBound)
        return 0;
    return keycodes_[std::size_t(virtualKeyCode)];
}

std::optional<int> X11PhysicalKeys::virtualKey(unsigned keycode) const
{
    if (keycode == 0)
        return std::nullopt;
    for (int code = 0; code < X11KeyTable::codeBound; ++code) {
        if (keycodes_[std::size_t(code)] == keycode)
            return code;
    }
    return std::nullopt;
}

bool X11PhysicalKeys::isEmpty() const
{
    for (unsigned keycode : keycodes_) {
        if (keycode != 0)
            return false;
    }
    return true;
}

X11KeyboardChanges::X11KeyboardChanges(_XDisplay* display)
    : display_(display)
{
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display_ == nullptr || !XkbQueryExtension(display_, &opcode, &eventBase, &errorBase, &major, &minor))
        return;
    constexpr unsigned long notices = XkbNewKeyboardNotifyMask | XkbNamesNotifyMask;
    if (XkbSelectEvents(display_, XkbUseCoreKbd, notices, notices))
        xkbEventType_ = eventBase;
}

bool X11KeyboardChanges::take()
{
    if (display_ == nullptr)
        return false;
    bool changed = false;
    // Only what is queued already: the caller's own requests have read it off the wire.
    while (XEventsQueued(display_, QueuedAlready) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        changed = isNotice(event) || changed;
    }
    return changed;
}

bool X11KeyboardChanges::isNotice(const _XEvent& event) const
{
    return xkbEventType_ >= 0 && event.type == xkbEventType_;
}

} // namespace tolvane
