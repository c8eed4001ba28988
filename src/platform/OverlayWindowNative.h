#pragma once
// The window-system side of a floating overlay panel: how it is kept above the game on every
// desktop without taking focus, how clicks are let through to the game, how it is raised, and
// whether see-through pixels can be had at all.

#include <QObject>
#include <QWindow>
#include <qnamespace.h>

namespace tolvane {

class OverlayWindowNative : public QObject {
    Q_OBJECT
public:
    // Flags to give the panel's widget before it is first created.
    virtual Qt::WindowFlags panelFlags() const = 0;
    // Switches click-through on a live window without hiding it.
    virtual void setClickThrough(QWindow& window, bool on) = 0;
    virtual bool isClickThrough(const QWindow& window) const = 0;
    // Puts the window above every other window; called each time the application shows it.
    virtual void raise(QWindow& window) = 0;
    // Whether a compositing manager blends windows with what lies below them. Without one a
    // see-through pixel shows black, so a panel cuts its window to the panel it draws.
    virtual bool isCompositing() const = 0;

signals:
    // A compositing manager started or stopped.
    void compositingChanged();
};

// Test double: click-through through Qt alone, a count of raises, and a compositor that runs
// until the test says otherwise.
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
    bool isCompositing() const override { return compositing_; }
    void setCompositing(bool on)
    {
        compositing_ = on;
        emit compositingChanged();
    }
    int raises = 0;

private:
    bool compositing_ = true;
};

} // namespace tolvane
