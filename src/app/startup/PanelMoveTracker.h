#pragma once
// Records where the user drags a panel (panels move under the pointer only while Tab is held):
// the panel's centre as fractions of the game window from its top-left corner, per panel and per
// game mode in use, so that the tick puts the panel back there. The application's own placements
// are told apart by the windows' move bookkeeping and store nothing.

#include "app/startup/OverlayLoopServices.h"
#include "app/startup/OverlayPanels.h"

#include <QMetaObject>

#include <vector>

namespace tolvane {

class PanelWindow;

class PanelMoveTracker {
public:
    PanelMoveTracker(OverlayPanels panels, OverlayLoopServices services);
    ~PanelMoveTracker();
    PanelMoveTracker(const PanelMoveTracker&) = delete;
    PanelMoveTracker& operator=(const PanelMoveTracker&) = delete;

    // Follows the moves of each of the six windows.
    void watch();

    // One move of a window; anything but one of the six panels is ignored.
    void windowDidMove(const QObject* sender);

private:
    OverlayPanels panels_;
    OverlayLoopServices services_;
    std::vector<QMetaObject::Connection> connections_;
};

} // namespace tolvane
