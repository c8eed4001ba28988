// Overlay panels on X11. A reparenting window manager wraps a managed window in a frame that
// swallows clicks and may refuse to keep it above a full-screen game, so panels bypass the
// window manager altogether (override-redirect): such a window is on every desktop by nature,
// never receives focus from the manager, and stays where the application raises it.
//
// A compositing manager owns the screen's _NET_WM_CM_S<n> selection while it runs. XFixes tells
// of every change of that owner as an event on a connection of our own, read when its socket has
// something to read: nothing is polled, and desktops that suspend compositing for a full-screen
// game are followed both ways.
#include "core/support/Log.h"
#include "platform/X11Connection.h"
#include "platform/X11Platform.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <QWindow>

#include <memory>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

TOLVANE_LOG_CATEGORY(lcOverlayNative, "platform")

namespace tolvane {

namespace {

class X11OverlayWindowNative final : public OverlayWindowNative {
public:
    X11OverlayWindowNative() { watchCompositor(); }

    Qt::WindowFlags panelFlags() const override
    {
        return Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnTopHint
            | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
    }

    void setClickThrough(QWindow& window, bool on) override
    {
        // On the live window only: changing a QWidget's flags would re-create and hide it.
        if (window.flags().testFlag(Qt::WindowTransparentForInput) != on)
            window.setFlag(Qt::WindowTransparentForInput, on);
    }

    bool isClickThrough(const QWindow& window) const override
    {
        return window.flags().testFlag(Qt::WindowTransparentForInput);
    }

    // The window manager does not restack override-redirect windows; the application must.
    void raise(QWindow& window) override { window.raise(); }

    bool isCompositing() const override { return compositing_; }

private:
    void watchCompositor()
    {
        Display* display = connection_.display();
        if (display == nullptr)
            return;
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
        selection_ = XInternAtom(display, name.constData(), False);
        int errorBase = 0;
        if (XFixesQueryExtension(display, &fixesEventBase_, &errorBase)) {
            // Asked for before the owner is read, so no change falls between the two.
            XFixesSelectSelectionInput(display, DefaultRootWindow(display), selection_,
                XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask
                    | XFixesSelectionClientCloseNotifyMask);
            notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
            connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
        } else {
            log::warning(lcOverlayNative(),
                QStringLiteral("no XFixes extension; a compositing manager started or stopped later is not noticed"));
        }
        compositing_ = XGetSelectionOwner(display, selection_) != 0;
        // The owner's reply may have brought events along, which the socket will not announce.
        readEvents();
    }

    void readEvents()
    {
        Display* display = connection_.display();
        bool changed = false;
        // XPending reads what the socket holds without waiting; the loop empties Xlib's queue.
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (notifier_ == nullptr || event.type != fixesEventBase_ + XFixesSelectionNotify)
                continue;
            const auto& notice = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
            if (notice.selection != selection_)
                continue;
            const bool owned = notice.subtype == XFixesSetSelectionOwnerNotify && notice.owner != 0;
            changed = changed || owned != compositing_;
            compositing_ = owned;
        }
        if (changed) {
            log::info(lcOverlayNative(),
                compositing_ ? QStringLiteral("a compositing manager runs: panels draw see-through")
                             : QStringLiteral("no compositing manager: panels are cut to their shape"));
            emit compositingChanged();
        }
    }

    X11Connection connection_;
    // Goes before the connection whose socket it watches.
    std::unique_ptr<QSocketNotifier> notifier_;
    unsigned long selection_ = 0;
    int fixesEventBase_ = 0;
    bool compositing_ = false;
};

} // namespace

std::unique_ptr<OverlayWindowNative> makeX11OverlayWindowNative()
{
    return std::make_unique<X11OverlayWindowNative>();
}

} // namespace tolvane
