#include "platform/X11Display.h"

#include <X11/Xlib.h>

namespace tolvane {

bool canOpenX11Display()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    XCloseDisplay(display);
    return true;
}

} // namespace tolvane
