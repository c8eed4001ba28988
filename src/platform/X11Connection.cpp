#include "platform/X11Connection.h"

#include "core/support/Log.h"

#include <X11/Xlib.h>

TOLVANE_LOG_CATEGORY(lcPlatform, "platform")

namespace tolvane {

namespace {

// Xlib's error handler is process-wide; everything here runs on the main thread.
int trappedErrors = 0;

int countError(Display*, XErrorEvent*)
{
    ++trappedErrors;
    return 0;
}

} // namespace

X11Connection::X11Connection()
    : display_(XOpenDisplay(nullptr))
{
    if (display_ == nullptr)
        log::warning(lcPlatform(), QStringLiteral("no X display; key state and window list are unavailable"));
}

X11Connection::~X11Connection()
{
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

X11ErrorTrap::X11ErrorTrap(_XDisplay* display)
    : display_(display)
    , errorsBefore_(trappedErrors)
{
    previous_ = reinterpret_cast<int (*)(_XDisplay*, void*)>(XSetErrorHandler(countError));
}

X11ErrorTrap::~X11ErrorTrap()
{
    if (display_ != nullptr)
        XSync(display_, False);
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_));
}

bool X11ErrorTrap::failed()
{
    if (display_ != nullptr)
        XSync(display_, False);
    return trappedErrors != errorsBefore_;
}

} // namespace tolvane
