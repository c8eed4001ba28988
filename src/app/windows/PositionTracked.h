#pragma once
// What every overlay panel window keeps about its position, so that the application can tell the
// user's moves from its own, and the Tab-drag: while Tab is held, a left press on a panel picks it
// up and it follows the pointer until the button is released. Qt's implicit grab delivers the
// pointer's moves to the pressed window until the release, wherever the pointer goes, which is
// all the drag needs of a global event monitor.

#include <QPointF>

#include <optional>

class QMouseEvent;

namespace tolvane {

class PositionTracked {
public:
    // A drag in progress: the pointer's offset from the window's origin at the press.
    struct DragMonitor {
        QPointF grab;
        bool operator==(const DragMonitor&) const = default;
    };

    // The origin the application itself last gave the window; starts where no frame can be.
    QPointF lastProgrammaticOrigin {-1e9, -1e9};
    // True only while the application itself moves or resizes the window.
    bool isProgrammaticallyMoving = false;
    std::optional<DragMonitor> dragMonitor;

    // Starts a Tab-drag on a left press while Tab is held; true when the event was consumed and
    // must go no further.
    bool handleSendEventForDrag(const QMouseEvent& event);
    // The pointer's moves and the release while a drag is in progress; true when consumed.
    bool handleDragMonitorEvent(const QMouseEvent& event);

protected:
    PositionTracked() = default;
    virtual ~PositionTracked() = default;

    virtual bool isTabDown() const = 0;
    // The window's frame origin, and the pointer's location of an event, in screen coordinates.
    virtual QPointF trackedFrameOrigin() const = 0;
    virtual QPointF screenLocation(const QMouseEvent& event) const = 0;
    // Moves the window as the user's move (without the programmatic flag) and redraws it.
    virtual void moveByDrag(QPointF origin) = 0;
};

} // namespace tolvane
