#include "app/windows/PositionTracked.h"

#include <QMouseEvent>

namespace tolvane {

bool PositionTracked::handleSendEventForDrag(const QMouseEvent& event)
{
    if (event.type() != QEvent::MouseButtonPress || event.button() != Qt::LeftButton)
        return false;
    if (!isTabDown())
        return false;
    // A second press before the release replaces the drag in progress.
    dragMonitor = DragMonitor {screenLocation(event) - trackedFrameOrigin()};
    return true;
}

bool PositionTracked::handleDragMonitorEvent(const QMouseEvent& event)
{
    if (!dragMonitor)
        return false;
    switch (event.type()) {
    case QEvent::MouseMove:
        moveByDrag(screenLocation(event) - dragMonitor->grab);
        return true;
    case QEvent::MouseButtonDblClick:
        // The second press of a quick double press starts a drag too; its double-click must not
        // reach the content as a click either.
        return true;
    case QEvent::MouseButtonRelease:
        if (event.button() != Qt::LeftButton)
            return true;
        dragMonitor.reset();
        return true;
    default:
        return false;
    }
}

} // namespace tolvane
