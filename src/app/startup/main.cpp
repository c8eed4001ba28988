// The program: the application object, the delegate that holds everything else, and the event
// loop. The delegate lives as long as the loop runs. A second launch in the same session only
// asks the running copy to show its window.

#include "app/startup/AlertPresenter.h"
#include "app/startup/AppDelegate.h"
#include "app/startup/AppLaunch.h"
#include "app/startup/SingleInstance.h"
#include "core/support/Async.h"
#include "core/support/HttpSession.h"
#include "core/overlay/UserDefaults.h"
#include "platform/X11Platform.h"

#include <QApplication>
#include <QProcess>
#include <QSystemTrayIcon>

#include <cstdio>
#include <memory>

#include <malloc.h>

#ifdef TOLVANE_STAND_IN_ENTRY
#include "StandInEntry.h"
#endif

int main(int argc, char* argv[])
{
    // A handful of threads, none of them busy: each need not keep an allocation arena of its own
    // resident for the whole session.
    mallopt(M_ARENA_MAX, 2);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto problem = tolvane::AppLaunch::displayProblem(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(*problem));
        return 1;
    }

    QApplication app(argc, argv);
    tolvane::AppLaunch::applyIdentity();

    tolvane::SingleInstance instance;
    if (instance.claim() == tolvane::SingleInstance::Role::secondary)
        return 0;

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
    services.mainWindow.startNewInstance = [&instance] {
        // The new copy must find no running one, or it would only reopen this one.
        instance.release();
        return QProcess::startDetached(QCoreApplication::applicationFilePath());
    };
#ifdef TOLVANE_STAND_IN_ENTRY
    // Only in the test and benchmark build of this entry: the stand-in match's peers and trust.
    tolvane::test::useStandIns(services);
#endif
    int status = 0;
    {
        tolvane::AppDelegate delegate(std::move(services));
        QObject::connect(&instance, &tolvane::SingleInstance::reopenRequested, &delegate,
            [&delegate] { delegate.applicationShouldHandleReopen(); });
        delegate.applicationDidFinishLaunching();
        status = QApplication::exec();
    }
    // The delegate's loops and requests end as it goes; let them, before the application does.
    tolvane::finishQueuedWork();
    // The network managers' worker threads end before the program does.
    tolvane::awaitNetworkThreadsEnded();
    return status;
}
