#include "app/startup/PanelMoveTracker.h"

#include "app/startup/OverlayLoopState.h"
#include "app/windows/GameWindowTracker.h"
#include "app/windows/PanelWindow.h"
#include "core/overlay/KeyCodes.h"
#include "core/overlay/PanelPositionStore.h"
#include "platform/KeyState.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

PanelMoveTracker::PanelMoveTracker(OverlayPanels panels, OverlayLoopServices services)
    : panels_(panels)
    , services_(services)
{
}

PanelMoveTracker::~PanelMoveTracker()
{
    for (const auto& connection : connections_)
        QObject::disconnect(connection);
}

void PanelMoveTracker::watch()
{
    for (PanelWindow* window : panels_.all()) {
        if (window == nullptr)
            continue;
        connections_.push_back(
            QObject::connect(window, &PanelWindow::moved, window, [this, window] { windowDidMove(window); }));
    }
}

void PanelMoveTracker::windowDidMove(const QObject* sender)
{
    const auto id = panels_.panelID(sender);
    if (!id)
        return;
    const auto* window = static_cast<const PanelWindow*>(sender);
    if (window->isProgrammaticallyMoving)
        return;
    if (!services_.keys.isKeyDown(VirtualKey::tab))
        return;
    const QRectF frame = window->frame();
    const QPointF origin = frame.topLeft();
    const QPointF last = window->lastProgrammaticOrigin;
    if (std::abs(origin.x() - last.x()) < 1 && std::abs(origin.y() - last.y()) < 1)
        return;
    const auto game = GameWindowTracker::leagueWindowFrame(services_.windows);
    if (!game || game->width() <= 1 || game->height() <= 1)
        return;

    const QPointF centre(origin.x() + frame.width() * 0.5, origin.y() + frame.height() * 0.5);
    const double fx = (centre.x() - game->x()) / game->width();
    const double fy = (game->y() + game->height() - centre.y()) / game->height();
    services_.positionStore.setFraction(
        *id, QPointF(std::clamp(fx, 0.0, 1.0), std::clamp(fy, 0.0, 1.0)), services_.state.currentMode);
}

} // namespace tolvane
