#include "platform/X11RawKeys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace tolvane {

std::unique_ptr<X11RawKeys> X11RawKeys::open(_XDisplay* display)
{
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    if (display == nullptr || !XQueryExtension(display, "XInputExtension", &opcode, &eventBase, &errorBase))
        return nullptr;
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1))
        return nullptr;
    return std::unique_ptr<X11RawKeys>(new X11RawKeys(display, opcode));
}

X11RawKeys::X11RawKeys(_XDisplay* display, int opcode)
    : display_(display)
    , opcode_(opcode)
{
}

X11RawKeys::~X11RawKeys()
{
    if (running_)
        select(false);
}

void X11RawKeys::start()
{
    if (running_)
        return;
    select(true);
    running_ = true;
    // Events sent between the selection and this reply are applied after it; each only repeats
    // what the keymap already says of its key, so the state comes out right either way.
    takeKeymap();
}

void X11RawKeys::stop()
{
    if (!running_)
        return;
    select(false);
    running_ = false;
    // Anything still queued is older than the keymap the next start takes.
    XSync(display_, True);
}

void X11RawKeys::select(bool on)
{
    // The master keyboards carry every attached keyboard's keys once, as the core keyboard that
    // XQueryKeymap reads does; changes of the devices can only be selected for all of them.
    unsigned char keys[XIMaskLen(XI_LASTEVENT)] = {};
    unsigned char devices[XIMaskLen(XI_LASTEVENT)] = {};
    if (on) {
        XISetMask(keys, XI_RawKeyPress);
        XISetMask(keys, XI_RawKeyRelease);
        XISetMask(devices, XI_HierarchyChanged);
    }
    XIEventMask masks[] = {
        {XIAllMasterDevices, sizeof keys, keys},
        {XIAllDevices, sizeof devices, devices},
    };
    XISelectEvents(display_, DefaultRootWindow(display_), masks, 2);
    XFlush(display_);
}

void X11RawKeys::takeKeymap()
{
    XQueryKeymap(display_, keymap_.data());
}

bool X11RawKeys::handle(_XEvent& event)
{
    XGenericEventCookie& cookie = event.xcookie;
    if (cookie.type != GenericEvent || cookie.extension != opcode_)
        return false;
    if (!running_ || !XGetEventData(display_, &cookie))
        return true;
    if (cookie.evtype == XI_RawKeyPress || cookie.evtype == XI_RawKeyRelease) {
        const int keycode = static_cast<const XIRawEvent*>(cookie.data)->detail;
        if (keycode > 0 && keycode < 256) {
            const char bit = static_cast<char>(1 << (keycode % 8));
            char& byte = keymap_[std::size_t(keycode / 8)];
            byte = static_cast<char>(cookie.evtype == XI_RawKeyPress ? byte | bit : byte & ~bit);
        }
    } else if (cookie.evtype == XI_HierarchyChanged) {
        takeKeymap();
    }
    XFreeEventData(display_, &cookie);
    return true;
}

} // namespace tolvane
