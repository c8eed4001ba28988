#pragma once
// What the program settles before the application object exists or right after: whether there
// is a display to run on, and the application's name and version as the rest of the app reads
// them (the About box, the usage heartbeat, the settings file's folder).

#include <QString>
#include <QStringList>

#include <optional>

namespace tolvane::AppLaunch {

// The version of the build, from the project's version.
QString version();

// Sets the application's name, organisation and version, and keeps it running when its last
// window closes (the overlay and the tray icon stay).
void applyIdentity();

// One line saying what is missing when the window system Qt is about to use (the X display,
// unless the arguments or QT_QPA_PLATFORM choose another platform) cannot be reached; none
// when it can. Without this, Qt aborts with a long message about reinstalling the application.
std::optional<QString> displayProblem(const QStringList& arguments);

} // namespace tolvane::AppLaunch
