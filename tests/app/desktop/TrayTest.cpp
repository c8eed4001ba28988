// The status item in a real tray: a tray that starts after the app still gets the icon, a left
// click opens the same menu as a right click, and the menu's key equivalents work while it is
// open.

#include "../startup/AppDelegateFixture.h"
#include "Await.h"
#include "DesktopSupport.h"
#include "XTool.h"

#include "app/mainwindow/MainWindowChrome.h"
#include "app/mainwindow/MainWindowController.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>

namespace tolvane::test {
namespace {

using namespace std::chrono_literals;

class TrayTest : public AppDelegateFixture { };

TEST_F(TrayTest, ATrayStartedLaterGetsTheIconAndAClickOpensTheMenu)
{
    // The icon must dock in the tray this test starts, at the place it takes.
    ASSERT_FALSE(Trayer::anyRunning()) << "another tray runs on this display";
    defaults->set(OverlaySettingsStore::Keys::mainWindowDismissed, true);
    trayAvailable = false;
    AppDelegate& app = launch();
    ASSERT_NE(app.statusItem(), nullptr);

    Trayer tray;
    ASSERT_TRUE(tray.waitUntilRunning()) << "trayer never took the tray selection";
    // Docked once it sits in the tray's strip at the top right of the screen.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect strip(screen.right() - Trayer::width, screen.top(), Trayer::width, Trayer::height);
    ASSERT_TRUE(spinUntil([&] { return strip.contains(app.statusItem()->geometry().center()); }, 30s))
        << "the icon never docked";

    // The tray may still move the icon once it has docked it: the click goes where the pointer
    // rests on the icon.
    ASSERT_TRUE(spinUntil(
        [&] {
            const QPoint icon = app.statusItem()->geometry().center();
            return xdotool({QStringLiteral("mousemove"), QString::number(icon.x()), QString::number(icon.y())})
                && pointerOverOwnWindow();
        },
        30s))
        << "the pointer never rested on the icon";
    ASSERT_TRUE(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
    ASSERT_TRUE(spinUntil([&] { return app.statusMenu()->isVisible(); }, 30s)) << "a left click opened no menu";

    // "Settings…" by its key while the menu is open.
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+comma")}));
    ASSERT_TRUE(spinUntil(
        [&] {
            return app.hasMainWindowController() && app.mainWindowController().window()->isVisible()
                && app.mainWindowController().chrome().selection() == MainTab::settings;
        },
        30s))
        << "the menu's key equivalent did not open Settings";
    EXPECT_FALSE(app.statusMenu()->isVisible());
}

} // namespace
} // namespace tolvane::test
