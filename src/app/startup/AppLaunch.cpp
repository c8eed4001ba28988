#include "app/startup/AppLaunch.h"

#include "app/startup/AppDelegate.h"
#include "platform/X11Display.h"

#include <QApplication>

namespace tolvane::AppLaunch {

namespace {

// The platform Qt will load: the "-platform" argument, else QT_QPA_PLATFORM, else X11.
QString chosenPlatform(const QStringList& arguments)
{
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-platform") || arguments[i] == QLatin1String("--platform"))
            return arguments[i + 1];
    }
    const QString fromEnvironment = qEnvironmentVariable("QT_QPA_PLATFORM");
    return fromEnvironment.isEmpty() ? QStringLiteral("xcb") : fromEnvironment;
}

} // namespace

QString version()
{
    return QStringLiteral(TOLVANE_VERSION);
}

void applyIdentity()
{
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setOrganizationName(QStringLiteral("Tolvane"));
    QApplication::setApplicationVersion(version());
    // Closing the main window only hides it; the overlay keeps running until "Quit Tolvane".
    QApplication::setQuitOnLastWindowClosed(AppDelegate::applicationShouldTerminateAfterLastWindowClosed());
}

std::optional<QString> displayProblem(const QStringList& arguments)
{
    // Only X11 alone: options may follow its name ("xcb:..."), and with a list ("xcb;wayland") Qt
    // tries the others itself.
    const QString platform = chosenPlatform(arguments);
    if (platform.section(u':', 0, 0) != QLatin1String("xcb") || platform.contains(u';') || canOpenX11Display())
        return std::nullopt;
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString which = display.isEmpty() ? QStringLiteral("no X display is set (DISPLAY is empty)")
                                            : QStringLiteral("cannot open the X display \"%1\"").arg(display);
    return QStringLiteral("tolvane: %1; Tolvane needs an X11 desktop session to run.").arg(which);
}

} // namespace tolvane::AppLaunch
