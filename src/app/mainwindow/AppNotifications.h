#pragma once
// The process-wide channel by which the settings pages ask the application to act on the panel
// windows. Posting is a plain signal emission: observers connect directly, so their handlers run
// before the posting button's action returns.

#include <QObject>

namespace tolvane {

class AppNotifications : public QObject {
    Q_OBJECT

public:
    // Made on first use and kept for the life of the process, like a default notification centre.
    static AppNotifications& defaultCenter();

    void postOpenRepositionMode() { emit openRepositionMode(); }
    void postResetAllPanelPositions() { emit resetAllPanelPositions(); }

signals:
    // Open the panel reposition editor, or close it when it is open.
    void openRepositionMode();
    // Clear every stored panel position of every game mode.
    void resetAllPanelPositions();

private:
    AppNotifications() = default;
};

} // namespace tolvane
