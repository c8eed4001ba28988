#include "app/mainwindow/AppNotifications.h"

namespace tolvane {

AppNotifications& AppNotifications::defaultCenter()
{
    // Never destroyed: observers may disconnect during application teardown, after statics
    // would already be gone.
    static AppNotifications* const center = new AppNotifications;
    return *center;
}

} // namespace tolvane
