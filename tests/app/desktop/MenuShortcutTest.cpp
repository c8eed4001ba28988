// The key equivalents the menus show work while the main window has the keyboard, typed on the
// X server's keyboard: Ctrl+, shows the Settings tab, Ctrl+R opens the reposition editor and
// closes it again.

#include "../startup/AppDelegateFixture.h"
#include "Await.h"
#include "XTool.h"

#include "app/mainwindow/MainWindowChrome.h"
#include "app/mainwindow/MainWindowController.h"
#include "app/windows/RepositionOverlayController.h"
#include "app/windows/RepositionOverlayView.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

namespace tolvane::test {
namespace {

using namespace std::chrono_literals;

class MenuShortcuts : public AppDelegateFixture { };

TEST_F(MenuShortcuts, WorkWhileTheMainWindowHasTheKeyboard)
{
    AppDelegate& app = launch(); // without a tray the main window opens
    MainWindowController& main = app.mainWindowController();
    main.chrome().setSelection(MainTab::home);
    ASSERT_TRUE(spinUntil([&] { return main.window()->isActiveWindow(); }, 30s));

    // Every key the status menu shows has an action in the main window.
    for (const QAction* shown : app.statusMenu()->actions()) {
        if (shown->shortcut().isEmpty())
            continue;
        const QList<QAction*> inWindow = main.window()->findChildren<QAction*>();
        EXPECT_TRUE(std::any_of(inWindow.begin(), inWindow.end(),
            [&](const QAction* action) { return action->shortcut() == shown->shortcut() && action->isEnabled(); }))
            << shown->text().toStdString() << " " << shown->shortcut().toString().toStdString();
    }

    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+comma")}));
    EXPECT_TRUE(spinUntil([&] { return main.chrome().selection() == MainTab::settings; }, 10s)) << "Ctrl+,";

    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+r")}));
    EXPECT_TRUE(spinUntil([&] { return app.loopState().repositionMode && app.repositionController().isOpen(); }, 10s))
        << "Ctrl+R did not open the editor";
    // The editor never takes the keyboard: the same key closes it.
    ASSERT_TRUE(spinUntil([&] { return main.window()->isActiveWindow(); }, 30s));
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+r")}));
    EXPECT_TRUE(spinUntil([&] { return !app.loopState().repositionMode && !app.repositionController().isOpen(); }, 10s))
        << "Ctrl+R did not close the editor";
}

} // namespace
} // namespace tolvane::test
