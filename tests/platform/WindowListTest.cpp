// The window list as the X server and openbox give it, with stand-in windows made on their own
// connections as another program's would be.
#include "StandInGameWindow.h"

#include "Await.h"
#include "platform/ScreenSpace.h"
#include "platform/X11Platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

#include <unistd.h>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

std::optional<WindowInfo> findByTitle(const WindowList& list, const QString& title)
{
    const auto windows = list.onScreenWindows();
    if (!windows)
        return std::nullopt;
    for (const WindowInfo& window : *windows) {
        if (window.title == title)
            return window;
    }
    return std::nullopt;
}

class X11WindowListTest : public ::testing::Test {
protected:
    std::unique_ptr<X11WindowList> list = makeX11WindowList();
};

struct Described {
    const char* name;
    QString title;
    QByteArray windowClass;
    QString ownerName; // empty: the program running this test
};

void PrintTo(const Described& d, std::ostream* os)
{
    *os << d.name;
}

class X11WindowDescription : public X11WindowListTest, public ::testing::WithParamInterface<Described> { };

TEST_P(X11WindowDescription, OwnerTitleProcessAndFrameInScreenCoordinates)
{
    const Described& d = GetParam();
    test::StandInGameWindow game({.geometry = {100, 50, 1280, 720}, .title = d.title, .windowClass = d.windowClass});
    ASSERT_TRUE(game.show());

    const auto window = list->window(game.id());
    ASSERT_TRUE(window);
    const QString program = QFileInfo(QCoreApplication::arguments().constFirst()).fileName();
    EXPECT_EQ(window->ownerName, d.ownerName.isEmpty() ? program : d.ownerName);
    EXPECT_EQ(window->title, d.title);
    EXPECT_EQ(window->processId, getpid());
    // X's top-left (100, 50) on a 1080-high screen is (100, 310) from the bottom left.
    EXPECT_EQ(window->frame, QRectF(100, 310, 1280, 720));
    EXPECT_EQ(window->layer, 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, X11WindowDescription,
    ::testing::Values(
        // Wine's class "league of legends.exe" becomes the owner name without ".exe".
        Described {"wine_game", QStringLiteral("League of Legends (TM) Client"), "league of legends.exe",
            QStringLiteral("league of legends")},
        // The title is UTF-8 text, not Latin-1.
        Described {"utf8_title", QStringLiteral("Légendes — 英雄联盟 (TM)"), "League of Legends.EXE",
            QStringLiteral("League of Legends")},
        // Without a class, the program on the owning process's command line names the owner.
        Described {"no_class", QStringLiteral("Classless"), QByteArray(), QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(X11WindowListTest, TheFrameOfADecoratedWindowIncludesTheWindowManagersDecoration)
{
    test::StandInGameWindow game(
        {.geometry = {200, 100, 800, 600}, .title = QStringLiteral("Decorated"), .decorated = true});
    ASSERT_TRUE(game.show());

    // openbox frames and places the window a moment after it is mapped: wait for it to settle.
    std::optional<WindowInfo> window;
    test::spinUntil([&] {
        window = list->window(game.id());
        return window && window->frame.left() == 200 && window->frame.bottom() == 1080 - 100;
    });
    ASSERT_TRUE(window);
    // openbox adds a title bar above the client area and borders around it.
    EXPECT_GT(window->frame.height(), 600);
    EXPECT_GE(window->frame.width(), 800);
    EXPECT_EQ(window->frame.left(), 200);
    EXPECT_EQ(window->frame.bottom(), 1080 - 100) << "the frame's top edge stays where the window asked to be";
}

TEST_F(X11WindowListTest, ListsFrontmostFirstAndLeavesUnmappedWindowsOut)
{
    test::StandInGameWindow back({.geometry = {0, 0, 400, 300}, .title = QStringLiteral("Back")});
    ASSERT_TRUE(back.show());
    test::StandInGameWindow front({.geometry = {50, 50, 400, 300}, .title = QStringLiteral("Front")});
    ASSERT_TRUE(front.show());
    test::StandInGameWindow hidden({.geometry = {80, 80, 400, 300}, .title = QStringLiteral("Hidden")});

    ASSERT_TRUE(test::spinUntil([&] {
        const auto windows = list->onScreenWindows();
        QStringList titles;
        for (const auto& w : windows.value_or(std::vector<WindowInfo> {}))
            titles << w.title;
        return titles.indexOf(u"Front") >= 0 && titles.indexOf(u"Front") < titles.indexOf(u"Back");
    }));
    EXPECT_FALSE(findByTitle(*list, QStringLiteral("Hidden")));
}

TEST_F(X11WindowListTest, AWindowThatIsGoneIsNotFoundAndDoesNotEndTheProcess)
{
    test::StandInGameWindow game({.geometry = {0, 0, 300, 200}, .title = QStringLiteral("Short-lived")});
    ASSERT_TRUE(game.show());
    const quint64 id = game.id();
    ASSERT_TRUE(list->window(id));
    ASSERT_TRUE(findByTitle(*list, QStringLiteral("Short-lived")));

    game.destroy();
    EXPECT_FALSE(list->window(id));
    EXPECT_FALSE(list->window(0x7ffffff0));
    // The list kept from before is not handed out again once the server reported the window gone.
    EXPECT_TRUE(test::spinUntil([&] { return !findByTitle(*list, QStringLiteral("Short-lived")); }));
}

// Without a window manager the list comes from the root window's children. A second, bare
// display stands in for a session without one.
TEST(X11WindowListWithoutWindowManager, ListsTheRootWindowsChildren)
{
    QTemporaryFile displayFile;
    ASSERT_TRUE(displayFile.open());
    QProcess xvfb;
    xvfb.setProgram(QStringLiteral("bash"));
    xvfb.setArguments({QStringLiteral("-c"),
        QStringLiteral("exec Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>%1 2>/dev/null")
            .arg(displayFile.fileName())});
    xvfb.start();
    ASSERT_TRUE(test::spinUntil([&] { return displayFile.size() > 0; }));
    const QByteArray display = ":" + displayFile.readAll().trimmed();

    const QByteArray ownDisplay = qgetenv("DISPLAY");
    qputenv("DISPLAY", display);
    auto bareList = makeX11WindowList();
    {
        test::StandInGameWindow game({.geometry = {100, 50, 1280, 720}});
        qputenv("DISPLAY", ownDisplay);
        // The only window there, besides none of Qt's: this process's Qt lives on the other display.
        ASSERT_TRUE(game.show());
        const auto window = findByTitle(*bareList, QStringLiteral("League of Legends (TM) Client"));
        ASSERT_TRUE(window);
        EXPECT_EQ(window->frame, QRectF(100, 310, 1280, 720));
        EXPECT_EQ(window->ownerName, QStringLiteral("league of legends"));
    }
    bareList.reset();
    xvfb.terminate();
    xvfb.waitForFinished();
}

} // namespace
} // namespace tolvane
