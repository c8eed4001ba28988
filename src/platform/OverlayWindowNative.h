#pragma once
// The window-system side of a floating overlay panel: how it is kept above the game on every
// desktop without taking focus, how clicks are let through to the game, and how it is raised.

#include <QWindow>
#include <qnamespace.h>

namespace tolvane {

class OverlayWindowNative {
public:
    virtual ~OverlayWindowNative() = default;
    // Flags to give the panel's widget before it is first created.
    virtual Qt::WindowFlags panelFlags() const = 0;
    // Switches click-through on a live window without hiding it.
    virtual void setClickThrough(QWindow& window, bool on) = 0;
    virtual bool isClickThrough(const QWindow& window) const = 0;
    // Puts the window above every other window; called each time the application shows it.
    virtual void raise(QWindow& window) = 0;
};

// Test double: click-through through Qt alone, and a count of raises.
class FakeOverlayWindowNative final : public OverlayWindowNative {
public:
    Qt::WindowFlags panelFlags() const override
    {
        return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    }
    void setClickThrough(QWindow& window, bool on) override { window.setFlag(Qt::WindowTransparentForInput, on); }
    bool isClickThrough(const QWindow& window) const override
    {
        return window.flags().testFlag(Qt::WindowTransparentForInput);
    }
    void raise(QWindow&) override { ++raises; }
    int raises = 0;
};

} // namespace tolvane
