#pragma once
// What the two kinds of overlay panel window share: a floating window above the game that never
// takes focus, hosts one content at the shared overlay scale and follows its size with the
// bottom-left corner kept, can be dragged while Tab is held, and is placed in screen coordinates
// (points, origin bottom-left of the primary screen, y upward).

#include "app/windows/OverlayWindowPosition.h"
#include "app/windows/PositionTracked.h"
#include "app/windows/ScaledContainer.h"

#include <QRectF>
#include <QWidget>

namespace tolvane {

class KeyState;
class OverlayWindowNative;

// The platform services a panel window uses; both must outlive the window.
struct PanelPlatform {
    const KeyState& keys;
    OverlayWindowNative& native;
};

class PanelWindow : public QWidget, public PositionTracked {
    Q_OBJECT
public:
    ~PanelWindow() override;

    // Never: the game keeps the keyboard, also while the panel takes clicks.
    bool canBecomeKey() const { return false; }

    // The frame in screen coordinates: x(), y() are the bottom-left corner (the origin). A
    // content that changed while the window was hidden is measured first, so the size is current.
    QRectF frame() const;
    void setFrameOrigin(QPointF origin);
    // Resizes the window's content, keeping the origin (bottom-left corner) where it is.
    void setContentSize(QSizeF size);
    // The container's size report: resizes to it unless it is degenerate (1 pt or less) or within
    // half a point of the current size. A degenerate size (an empty content) takes the window off
    // the screen and leaves its size alone.
    void followContentSize(QSizeF size);

    // Moves the window to its default anchor in the game frame, kept 8 pt inside it.
    void align(QRectF game, OverlayWindowPosition position);

    // Click-through: while true, clicks reach the window below.
    void setIgnoresMouseEvents(bool ignores);
    bool ignoresMouseEvents() const;

    // Shows the window above every other one without activating the application, or hides it.
    // A window whose content is empty stays hidden.
    void orderFront();
    void orderOut();

    ScaledContainer* container() const { return container_; }

signals:
    // The frame's origin changed, whoever moved it (compare isProgrammaticallyMoving).
    void moved();

protected:
    // Takes ownership of the content; the scale must outlive the window.
    PanelWindow(OverlayContent* content, OverlayScale& scale, PanelPlatform platform, bool ignoresMouseEvents);

    virtual QPointF defaultAnchorOrigin(OverlayWindowPosition position, QRectF game, QSizeF panel) const = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    bool isTabDown() const override;
    QPointF trackedFrameOrigin() const override { return frame_.topLeft(); }
    QPointF screenLocation(const QMouseEvent& event) const override;
    void moveByDrag(QPointF origin) override;

private:
    void applyFrame();
    static bool isDrawable(QSizeF size);
    bool hasContent() const;
    // Without a compositing manager, cuts the window to the content's outline; with one, the
    // window is whole and its see-through pixels show what lies below.
    void updateShape();

    PanelPlatform platform_;
    ScaledContainer* container_ = nullptr;
    QRectF frame_ {0, 0, 240, 160};
};

} // namespace tolvane
