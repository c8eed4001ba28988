#include "platform/X11KeyCodeNamer.h"

#include "platform/X11Connection.h"

#include <cstdint>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <xkbcommon/xkbcommon.h>

namespace tolvane {

namespace {

// One snapshot of the server's keyboard map and group, fetched per question: Xlib's own cached
// core mapping goes stale after a layout switch unless our connection handled the notice, and
// this connection reads no events.
class XkbKeyboardMapping final : public X11KeyboardMapping {
public:
    explicit XkbKeyboardMapping(Display* display)
        : xkb_(XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd))
    {
        XkbStateRec state {};
        if (xkb_ != nullptr && XkbGetState(display, XkbUseCoreKbd, &state) == Success)
            group_ = state.group;
    }
    ~XkbKeyboardMapping() override
    {
        if (xkb_ != nullptr)
            XkbFreeKeyboard(xkb_, 0, True);
    }
    XkbKeyboardMapping(const XkbKeyboardMapping&) = delete;
    XkbKeyboardMapping& operator=(const XkbKeyboardMapping&) = delete;

    bool valid() const
    {
        return xkb_ != nullptr && xkb_->map != nullptr && xkb_->map->types != nullptr && xkb_->map->syms != nullptr;
    }

    unsigned long unmodifiedKeysym(unsigned keycode) const override
    {
        if (keycode < xkb_->min_key_code || keycode > xkb_->max_key_code)
            return 0;
        const int groups = XkbKeyNumGroups(xkb_, keycode);
        if (groups == 0)
            return 0;
        // A key with fewer groups than the one in effect follows its own out-of-range rule, as
        // the server does when the key is pressed.
        int group = group_;
        if (group >= groups) {
            const unsigned char info = XkbKeyGroupInfo(xkb_, keycode);
            switch (XkbOutOfRangeGroupAction(info)) {
            case XkbClampIntoRange:
                group = groups - 1;
                break;
            case XkbRedirectIntoRange:
                group = XkbOutOfRangeGroupNumber(info);
                if (group >= groups)
                    group = 0;
                break;
            default:
                group %= groups;
                break;
            }
        }
        if (XkbKeyGroupWidth(xkb_, keycode, group) == 0)
            return 0;
        return XkbKeySymEntry(xkb_, keycode, 0, group);
    }

private:
    XkbDescPtr xkb_ = nullptr;
    int group_ = 0;
};

class X11KeyCodeNamer final : public KeyCodeNamer {
public:
    std::optional<QString> character(quint16 keyCode) const override
    {
        Display* display = connection_.display();
        if (display == nullptr)
            return std::nullopt;
        const XkbKeyboardMapping mapping(display);
        if (!mapping.valid())
            return std::nullopt;
        return characterForVirtualKey(keyCode, X11PhysicalKeys::read(display), mapping);
    }

    std::optional<int> virtualKey(quint32 nativeKeyCode) const override
    {
        Display* display = connection_.display();
        if (display == nullptr || nativeKeyCode == 0)
            return std::nullopt;
        return X11PhysicalKeys::read(display).virtualKey(nativeKeyCode);
    }

private:
    X11Connection connection_;
};

} // namespace

std::optional<QString> characterForVirtualKey(
    quint16 keyCode, const X11PhysicalKeys& keys, const X11KeyboardMapping& mapping)
{
    const unsigned keycode = keys.keycode(keyCode);
    if (keycode == 0)
        return std::nullopt;
    const unsigned long typed = mapping.unmodifiedKeysym(keycode);
    if (typed == 0)
        return std::nullopt;
    // One keysym is one character at most: four UTF-8 bytes and the terminator.
    char utf8[8] = {};
    const int written = xkb_keysym_to_utf8(uint32_t(typed), utf8, sizeof utf8);
    if (written <= 1)
        return std::nullopt;
    return QString::fromUtf8(utf8, written - 1);
}

std::unique_ptr<KeyCodeNamer> makeX11KeyCodeNamer()
{
    return std::make_unique<X11KeyCodeNamer>();
}

} // namespace tolvane
