// The main window on the screen it opens on, framed by openbox: at every text size its frame lies
// wholly inside the screen's available area, where a laptop's 1366 x 768 screen makes its content
// scroll instead, and a text size changed while it shows keeps it there. The reposition editor
// on such a screen keeps its bars in view, with the boxes and zone labels where they belong. The
// small-screen cases run on a display of that size: their CTest entry starts one.

#include "../startup/AppDelegateFixture.h"
#include "Await.h"
#include "XTool.h"

#include "app/mainwindow/MainWindowController.h"
#include "app/mainwindow/MainWindowView.h"
#include "app/mainwindow/SettingsModel.h"
#include "app/windows/RepositionOverlayController.h"
#include "app/windows/RepositionOverlayView.h"

#include <QDir>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>

#include <cstdlib>

namespace tolvane::test {
namespace {

using namespace std::chrono_literals;

std::string describe(const QRect& rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height()).toStdString();
}

class MainWindowOnTheScreen : public AppDelegateFixture, public ::testing::WithParamInterface<qint64> {
protected:
    // The app launched with the text size; without a tray its main window opens at once.
    QMainWindow& open(qint64 textSizeIndex)
    {
        defaults->set(OverlaySettingsStore::Keys::windowTextSizeIndex, textSizeIndex);
        AppDelegate& app = launch();
        EXPECT_TRUE(app.hasMainWindowController());
        return *app.mainWindowController().window();
    }

    static QRect area(const QWidget& window)
    {
        return (window.screen() ? window.screen() : QGuiApplication::primaryScreen())->availableGeometry();
    }

    // Once the window manager has framed the window and the frame stands inside the area. A frame
    // that never gets there fails after the bound, saying where it stands.
    static ::testing::AssertionResult framedInside(const QWidget& window)
    {
        const auto inside = [&] {
            const QRect frame = window.frameGeometry();
            return window.isVisible() && frame != window.geometry() && area(window).contains(frame);
        };
        if (spinUntil(inside, 20s))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
            << "frame " << describe(window.frameGeometry()) << " (window " << describe(window.geometry())
            << ") not inside the area " << describe(area(window));
    }

    static void saveScreen(const QString& name)
    {
        const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/shell");
        QDir().mkpath(folder);
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + u'/' + name + QStringLiteral(".png"));
    }

    MainWindowController& controller() { return delegate->mainWindowController(); }
};

class MainWindowOnAWideScreen : public MainWindowOnTheScreen { };

// Where the designed size fits, the window has it.
TEST_P(MainWindowOnAWideScreen, KeepsItsSizeAndStandsInside)
{
    const qint64 index = GetParam();
    const double s = windowTextScale(index);
    QMainWindow& window = open(index);
    ASSERT_TRUE(framedInside(window));
    EXPECT_EQ(controller().view().size(), QSize(qRound(380 * s), qRound(620 * s)));
    EXPECT_EQ(window.minimumSize(), QSize(qRound(340 * s), qRound(520 * s)));
}

INSTANTIATE_TEST_SUITE_P(TextSizes, MainWindowOnAWideScreen, ::testing::Values(0, 1, 2, 3));

// Closed, the window gives its window-system window back; opened again it is made anew, at its
// size and centred in the area, wherever it was moved in between.
TEST_F(MainWindowOnAWideScreen, ReopensWholeAfterGivingItsWindowBack)
{
    QMainWindow& window = open(0);
    ASSERT_TRUE(framedInside(window));
    const QSize size = window.size();
    // Moved by the window manager, as a drag of its title bar does: Qt only hears of it.
    const QPoint target = area(window).topLeft() + QPoint(150, 90);
    ASSERT_TRUE(xdotool({QStringLiteral("windowmove"), QString::number(window.winId()), QString::number(target.x()),
        QString::number(target.y())}));
    // Where the frame or the window lands depends on the window manager's reading of the request.
    ASSERT_TRUE(spinUntil([&] {
        return window.frameGeometry().topLeft() == target || window.geometry().topLeft() == target;
    })) << "frame "
        << describe(window.frameGeometry());

    window.close();
    ASSERT_TRUE(spinUntil([&] { return !controller().hasView(); }));
    EXPECT_EQ(window.windowHandle(), nullptr);

    ASSERT_TRUE(delegate->applicationShouldHandleReopen());
    ASSERT_NE(window.windowHandle(), nullptr);
    ASSERT_TRUE(framedInside(window));
    // Its frame known by now, it is centred frame and all.
    const QPoint off = window.frameGeometry().center() - area(window).center();
    EXPECT_LE(std::abs(off.x()) + std::abs(off.y()), 2) << "at " << describe(window.frameGeometry());
    EXPECT_EQ(window.size(), size);
    EXPECT_TRUE(spinUntil([&] { return window.windowHandle()->isExposed(); }));
}

class MainWindowOnASmallScreen : public MainWindowOnTheScreen { };

TEST_P(MainWindowOnASmallScreen, FitsTheAvailableAreaAndItsContentScrolls)
{
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(1366, 768)) << "run on the wrong screen";
    const qint64 index = GetParam();
    const double s = windowTextScale(index);
    QMainWindow& window = open(index);
    ASSERT_TRUE(framedInside(window));
    saveScreen(QStringLiteral("small-screen-window-%1").arg(index));

    const QSize designed(qRound(380 * s), qRound(620 * s));
    EXPECT_LE(controller().view().height(), designed.height());
    EXPECT_EQ(controller().view().width(), designed.width()) << "the width fits: only the height gives way";
    const QRect frame = window.frameGeometry();
    const QSize frameExtra = frame.size() - window.size();
    EXPECT_LE(window.minimumHeight() + frameExtra.height(), area(window).height()) << "a minimum it cannot have";

    // What no longer fits scrolls.
    controller().chrome().setSelection(MainTab::settings);
    QScrollArea& column = *controller().view().column();
    ASSERT_TRUE(spinUntil([&] { return column.widget() && column.widget()->height() > 0; }));
    if (controller().view().height() < designed.height()) {
        EXPECT_TRUE(spinUntil([&] { return column.verticalScrollBar()->maximum() > 0; }));
    }
}

TEST_F(MainWindowOnASmallScreen, ALargerTextSizeChosenWhileItShowsKeepsItInside)
{
    QMainWindow& window = open(0);
    ASSERT_TRUE(framedInside(window));
    controller().model().setTextSizeIndex(3);
    EXPECT_TRUE(framedInside(window));
    EXPECT_GE(window.width(), qRound(380 * 1.55));
    saveScreen(QStringLiteral("small-screen-window-0-then-3"));
    controller().model().setTextSizeIndex(0);
    EXPECT_TRUE(framedInside(window));
    EXPECT_EQ(controller().view().width(), 380);
}

INSTANTIATE_TEST_SUITE_P(TextSizes, MainWindowOnASmallScreen, ::testing::Values(0, 1, 2, 3));

// No game runs: the editor covers the screen, with the real panel windows' sizes for its boxes.
TEST_F(MainWindowOnASmallScreen, TheRepositionEditorKeepsItsBarsInViewAndBoxesAtTheirDefaults)
{
    defaults->set(OverlaySettingsStore::Keys::mainWindowDismissed, true);
    trayAvailable = true;
    AppDelegate& app = launch();
    app.toggleRepositionMode();
    RepositionOverlayView* view = app.repositionController().view();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(spinUntil([&] { return view->isVisible() && view->windowHandle()->isExposed(); }));
    EXPECT_EQ(view->geometry(), QRect(0, 0, 1366, 768));
    saveScreen(QStringLiteral("small-screen-reposition-editor"));

    const QRectF screen(0, 0, 1366, 768);
    const RepositionOverlayView::Layout layout = view->editorLayout();
    EXPECT_TRUE(screen.contains(layout.toolbar));
    EXPECT_TRUE(screen.contains(layout.tabBar));
    // Defaults are not pulled inside: the farm box opens at its corner and reaches past the bottom.
    const QRectF farm = view->chipRect(PanelID::farmBenchmark);
    EXPECT_NEAR(farm.top(), 0.952 * 768, 1e-9);
    EXPECT_GT(farm.bottom(), 768);
    ASSERT_FALSE(layout.zones.isEmpty());
    for (const auto& zone : layout.zones)
        EXPECT_EQ(zone.labelRect.center(), zone.rect.center()) << zone.label.toStdString() << " off its zone's centre";
    app.toggleRepositionMode();
}

} // namespace
} // namespace tolvane::test
