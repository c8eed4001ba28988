// The program: the application object, the delegate that holds everything else, and the event
// loop. The delegate lives as long as the loop runs.

#include "app/startup/AlertPresenter.h"
#include "app/startup/AppDelegate.h"
#include "core/overlay/UserDefaults.h"
#include "platform/X11Platform.h"

#include <QApplication>
#include <QSystemTrayIcon>

#include <memory>

#ifdef TOLVANE_STAND_IN_ENTRY
#include "StandInEntry.h"
#endif

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setOrganizationName(QStringLiteral("Tolvane"));
    // Closing the main window only hides it; the overlay keeps running until "Quit Tolvane".
    QApplication::setQuitOnLastWindowClosed(tolvane::AppDelegate::applicationShouldTerminateAfterLastWindowClosed());

    const std::unique_ptr<tolvane::KeyState> keys = tolvane::makeX11KeyState();
    const std::unique_ptr<tolvane::X11WindowList> windows = tolvane::makeX11WindowList();
    const std::unique_ptr<tolvane::OverlayWindowNative> native = tolvane::makeX11OverlayWindowNative();
    tolvane::MessageBoxAlertPresenter alerts;

    tolvane::AppDelegate::Services services {
        .defaults = std::make_shared<tolvane::QSettingsUserDefaults>(),
        .keys = *keys,
        .windows = *windows,
        .native = *native,
        .alerts = alerts,
        .trayAvailable = QSystemTrayIcon::isSystemTrayAvailable(),
    };
#ifdef TOLVANE_STAND_IN_ENTRY
    // Only in the test and benchmark build of this entry: the stand-in match's peers and trust.
    tolvane::test::useStandIns(services);
#endif
    tolvane::AppDelegate delegate(std::move(services));
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
