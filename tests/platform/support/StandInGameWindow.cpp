#include "StandInGameWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tolvane::test {

namespace {

// A property of 32-bit items (windows, cardinals); empty when absent.
std::vector<unsigned long> longs(Display* display, Window window, const char* name, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 0x10000, False, type, &actualType,
        &format, &count, &after, &data);
    std::vector<unsigned long> items;
    if (data != nullptr && format == 32)
        items.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
    if (data != nullptr)
        XFree(data);
    return items;
}

// Polls the server until the condition holds: for up to 30 s, as a first window on a fresh server
// can take seconds on a busy machine.
bool pollUntil(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 30000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        usleep(10000);
    }
    return true;
}

} // namespace

StandInGameWindow::StandInGameWindow(StandInOptions options)
    : options_(std::move(options))
{
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr)
        return;
    const int screen = DefaultScreen(display_);
    const QRect& g = options_.geometry;
    XColor colour {};
    colour.red = static_cast<unsigned short>(options_.colour.red() * 257);
    colour.green = static_cast<unsigned short>(options_.colour.green() * 257);
    colour.blue = static_cast<unsigned short>(options_.colour.blue() * 257);
    XAllocColor(display_, DefaultColormap(display_, screen), &colour);
    window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), g.x(), g.y(),
        static_cast<unsigned>(g.width()), static_cast<unsigned>(g.height()), 0, 0, colour.pixel);

    const QByteArray title = options_.title.toUtf8();
    XStoreName(display_, window_, title.constData());
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_NAME", False),
        XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(title.constData()), static_cast<int>(title.size()));

    if (!options_.windowClass.isEmpty()) {
        QByteArray name = options_.windowClass;
        XClassHint hint {name.data(), name.data()};
        XSetClassHint(display_, window_, &hint);
    }

    const long pid = getpid();
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&pid), 1);

    // Where we ask for it, not where the window manager would rather put it.
    XSizeHints sizeHints {};
    sizeHints.flags = USPosition | USSize;
    sizeHints.x = g.x();
    sizeHints.y = g.y();
    sizeHints.width = g.width();
    sizeHints.height = g.height();
    XSetWMNormalHints(display_, window_, &sizeHints);

    if (!options_.decorated) {
        // Motif hints: flags = decorations, decorations = none.
        const long motif[5] = {2, 0, 0, 0, 0};
        const Atom atom = XInternAtom(display_, "_MOTIF_WM_HINTS", False);
        XChangeProperty(
            display_, window_, atom, atom, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(motif), 5);
    }
    XSelectInput(display_, window_, ButtonPressMask | StructureNotifyMask);
    XFlush(display_);
}

StandInGameWindow::~StandInGameWindow()
{
    destroy();
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

bool StandInGameWindow::show()
{
    if (display_ == nullptr || window_ == 0)
        return false;
    XMapRaised(display_, window_);
    XSync(display_, False);
    // A window manager sets the frame extents once it has framed the window; without one there
    // is nothing to wait for beyond the mapping.
    const bool windowManager
        = !longs(display_, DefaultRootWindow(display_), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty();
    return pollUntil([&] {
        XWindowAttributes attributes {};
        XGetWindowAttributes(display_, window_, &attributes);
        return attributes.map_state == IsViewable
            && (!windowManager || longs(display_, window_, "_NET_FRAME_EXTENTS", XA_CARDINAL).size() == 4);
    });
}

void StandInGameWindow::destroy()
{
    if (display_ == nullptr || window_ == 0)
        return;
    XDestroyWindow(display_, window_);
    XSync(display_, False);
    // The window manager lets go of a window last by taking it off its client list. Until then
    // a later test could still find it there, and once this connection closes its ids go to the
    // next one: openbox would then reparent and resize the next window made with the same id as
    // if it were this one.
    pollUntil([&] {
        const auto clients = longs(display_, DefaultRootWindow(display_), "_NET_CLIENT_LIST", XA_WINDOW);
        return std::find(clients.begin(), clients.end(), window_) == clients.end();
    });
    window_ = 0;
}

int StandInGameWindow::takeButtonPresses()
{
    if (display_ == nullptr || window_ == 0)
        return 0;
    XSync(display_, False);
    int presses = 0;
    XEvent event {};
    while (XCheckWindowEvent(display_, window_, ButtonPressMask, &event) != 0)
        ++presses;
    return presses;
}

} // namespace tolvane::test
