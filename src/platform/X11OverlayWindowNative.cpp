// Overlay panels on X11. A reparenting window manager wraps a managed window in a frame that
// swallows clicks and may refuse to keep it above a full-screen game, so panels bypass the
// window manager altogether (override-redirect): such a window is on every desktop by nature,
// never receives focus from the manager, and stays where the application raises it.
#include "platform/X11Platform.h"

#include <QWindow>

namespace tolvane {

namespace {

class X11OverlayWindowNative final : public OverlayWindowNative {
public:
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
};

} // namespace

std::unique_ptr<OverlayWindowNative> makeX11OverlayWindowNative()
{
    return std::make_unique<X11OverlayWindowNative>();
}

} // namespace tolvane
