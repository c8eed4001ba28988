// The panel windows' own behaviour with fake platform services: following the content's size,
// the overlay scale, the Tab-drag, click-through, an empty content and the cut without a compositor.
#include "../TestContent.h"

#include "app/windows/CooldownPanel.h"
#include "app/windows/OverlayWindow.h"
#include "platform/KeyState.h"
#include "platform/OverlayWindowNative.h"
#include "platform/ScreenSpace.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QRegion>
#include <QWindow>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

class PanelWindowTest : public ::testing::Test {
protected:
    FakeKeyState keys;
    FakeOverlayWindowNative native;
    OverlayScale scale {1.0};
    test::TestContent* content = new test::TestContent({300, 200});
    CooldownPanel panel {content, scale, PanelPlatform {keys, native}};
};

TEST_F(PanelWindowTest, SizeReportsWithinHalfAPointOrOfOnePointOrLessAreIgnored)
{
    ASSERT_EQ(panel.frame().size(), QSizeF(300, 200));
    panel.followContentSize({300.3, 200.2});
    EXPECT_EQ(panel.frame().size(), QSizeF(300, 200));
    panel.followContentSize({1, 500});
    panel.followContentSize({500, 0.5});
    EXPECT_EQ(panel.frame().size(), QSizeF(300, 200));
}

TEST_F(PanelWindowTest, AResizeKeepsTheBottomLeftCornerAndRecordsItAsTheApplicationsOwn)
{
    panel.setFrameOrigin({100, 120});
    int moves = 0;
    QObject::connect(&panel, &PanelWindow::moved, &panel, [&] { ++moves; });
    bool flagDuringResize = false;
    QObject::connect(
        panel.container(), &ScaledContainer::sizeReported, &panel,
        [&] { flagDuringResize = panel.isProgrammaticallyMoving; }, Qt::DirectConnection);

    panel.followContentSize({301, 200});
    EXPECT_EQ(panel.frame(), QRectF(100, 120, 301, 200));
    EXPECT_FALSE(panel.isProgrammaticallyMoving);
    EXPECT_EQ(panel.lastProgrammaticOrigin, QPointF(100, 120));

    content->setNaturalSize({301, 260});
    EXPECT_EQ(panel.frame(), QRectF(100, 120, 301, 260));
    EXPECT_FALSE(flagDuringResize); // the report comes before the resize it causes
    EXPECT_EQ(moves, 0) << "growing upward leaves the origin where it was";
    // In Qt's coordinates the top edge moved up by the growth.
    const double height = ScreenSpace::primaryScreenHeight().value_or(0);
    EXPECT_EQ(panel.geometry(), QRect(100, qRound(height - 120 - 260), 301, 260));
}

TEST_F(PanelWindowTest, TheWindowFollowsTheScaledContent)
{
    content->setNaturalSize({200, 100});
    scale.setScale(1.5);
    EXPECT_EQ(panel.container()->claimedSize(), QSizeF(300, 150));
    EXPECT_EQ(panel.frame().size(), QSizeF(300, 150));
    EXPECT_EQ(panel.container()->size(), QSize(300, 150));

    // A content momentarily empty keeps the last size.
    content->setNaturalSize({0, 0});
    EXPECT_EQ(panel.container()->claimedSize(), std::nullopt);
    EXPECT_EQ(panel.frame().size(), QSizeF(300, 150));
}

TEST_F(PanelWindowTest, AnEmptyContentKeepsItsWindowOffTheScreenUntilItHasSomethingToShow)
{
    // What a panel with nothing to show measures (the combos panel without a local player).
    content->setNaturalSize({1, 1});
    panel.orderFront();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.frame().size(), QSizeF(300, 200)) << "the last size is kept";

    content->setNaturalSize({200, 120});
    panel.orderFront();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.frame().size(), QSizeF(200, 120));

    // Emptied while on screen: off at once, not at the next order.
    content->setNaturalSize({0, 0});
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.frame().size(), QSizeF(200, 120));
}

TEST_F(PanelWindowTest, WithoutACompositorTheWindowIsCutToThePanelItDrawsAndFollowsTheCompositor)
{
    content->setNaturalSize({200, 100});
    content->setCardMargin(10);
    panel.orderFront();
    EXPECT_TRUE(panel.mask().isEmpty()) << "a compositor blends the see-through margin";

    native.setCompositing(false);
    QRegion cut = panel.mask();
    EXPECT_TRUE(cut.contains(QPoint(100, 50)));
    EXPECT_TRUE(cut.contains(QPoint(11, 50))) << "the card's edge";
    EXPECT_FALSE(cut.contains(QPoint(5, 50))) << "the margin";
    EXPECT_FALSE(cut.contains(QPoint(11, 11))) << "the card's rounded corner";
    EXPECT_FALSE(cut.contains(QPoint(188, 88)));

    // At the drawn scale, and after the content changed its size.
    scale.setScale(1.5);
    cut = panel.mask();
    EXPECT_TRUE(cut.contains(QPoint(17, 75)));
    EXPECT_FALSE(cut.contains(QPoint(13, 75)));
    EXPECT_TRUE(cut.contains(QPoint(283, 75)));
    content->setNaturalSize({240, 100});
    EXPECT_TRUE(panel.mask().contains(QPoint(343, 75)));

    native.setCompositing(true);
    EXPECT_TRUE(panel.mask().isEmpty());
}

TEST(PanelWindowConstruction, UntilTheContentIsMeasuredTheWindowKeepsItsFirstSize)
{
    FakeKeyState keys;
    FakeOverlayWindowNative native;
    OverlayScale scale {2.0};
    OverlayWindow window(new test::TestContent({0, 0}), scale, PanelPlatform {keys, native});
    EXPECT_EQ(window.container()->claimedSize(), std::nullopt);
    EXPECT_EQ(window.frame(), QRectF(0, 0, 240, 160));
    EXPECT_EQ(window.lastProgrammaticOrigin, QPointF(-1e9, -1e9));
    EXPECT_FALSE(window.isVisible()) << "made, not shown";
}

TEST(PanelWindowConstruction, OverlayWindowsLetClicksThroughAndTheCooldownPanelTakesThem)
{
    FakeKeyState keys;
    FakeOverlayWindowNative native;
    OverlayScale scale {1.0};
    OverlayWindow overlay(new test::TestContent, scale, PanelPlatform {keys, native});
    CooldownPanel cooldowns(new test::TestContent, scale, PanelPlatform {keys, native});
    EXPECT_TRUE(overlay.ignoresMouseEvents());
    EXPECT_FALSE(cooldowns.ignoresMouseEvents());
    EXPECT_FALSE(overlay.canBecomeKey());
    EXPECT_FALSE(cooldowns.canBecomeKey());
    EXPECT_TRUE(overlay.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));

    overlay.orderFront();
    overlay.setIgnoresMouseEvents(false);
    EXPECT_FALSE(overlay.ignoresMouseEvents());
    EXPECT_FALSE(overlay.canBecomeKey()) << "also while it takes the mouse";
    EXPECT_TRUE(overlay.isVisible()) << "switching click-through does not hide the window";
    EXPECT_EQ(native.raises, 1);
}

// Mouse events as the window system hands them to the panel's native window.
class TabDragTest : public PanelWindowTest {
protected:
    void SetUp() override
    {
        panel.orderFront();
        panel.setFrameOrigin({400, 300});
        height = ScreenSpace::primaryScreenHeight().value_or(0);
    }

    // `screen` in screen coordinates (origin bottom-left).
    void send(QEvent::Type type, QPointF screen, Qt::MouseButtons buttons, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPointF global = ScreenSpace::flipped(screen, height);
        const QPointF local = global - QPointF(panel.geometry().topLeft());
        QMouseEvent event(
            type, local, local, global, type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(panel.windowHandle(), &event);
    }

    double height = 0;
};

TEST_F(TabDragTest, APressWithoutTabReachesTheContent)
{
    send(QEvent::MouseButtonPress, {450, 450}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {450, 450}, Qt::NoButton);
    ASSERT_EQ(content->presses.size(), 1u);
    // 50 pt in from the left, 50 pt down from the top of a 200 pt panel whose origin is y 300.
    EXPECT_EQ(content->presses.front(), QPointF(50, 50));
    EXPECT_FALSE(panel.dragMonitor);
    EXPECT_EQ(panel.frame().topLeft(), QPointF(400, 300));
}

TEST_F(TabDragTest, APressWithTabIsConsumedAndTheWindowFollowsThePointerAsTheUsersMove)
{
    keys.setDown(48, true);
    std::vector<std::pair<QPointF, bool>> moves;
    QObject::connect(&panel, &PanelWindow::moved, &panel,
        [&] { moves.emplace_back(panel.frame().topLeft(), panel.isProgrammaticallyMoving); });

    send(QEvent::MouseButtonPress, {450, 350}, Qt::LeftButton);
    EXPECT_TRUE(content->presses.empty());
    ASSERT_TRUE(panel.dragMonitor);
    EXPECT_EQ(panel.dragMonitor->grab, QPointF(50, 50));

    send(QEvent::MouseMove, {500, 300}, Qt::LeftButton);
    send(QEvent::MouseMove, {650, 200}, Qt::LeftButton);
    // The offset between pointer and origin stays what it was at the press.
    EXPECT_EQ(panel.frame().topLeft(), QPointF(600, 150));
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves.back(), std::make_pair(QPointF(600, 150), false));

    send(QEvent::MouseButtonRelease, {650, 200}, Qt::NoButton);
    EXPECT_FALSE(panel.dragMonitor);
    send(QEvent::MouseMove, {900, 900}, Qt::NoButton);
    EXPECT_EQ(panel.frame().topLeft(), QPointF(600, 150)) << "the drag ended with the release";
    EXPECT_TRUE(content->presses.empty());
}

TEST_F(TabDragTest, ASecondTabPressBeforeTheReleaseReplacesTheDrag)
{
    keys.setDown(48, true);
    send(QEvent::MouseButtonPress, {450, 350}, Qt::LeftButton);
    send(QEvent::MouseMove, {460, 350}, Qt::LeftButton);
    send(QEvent::MouseButtonPress, {420, 320}, Qt::LeftButton);
    ASSERT_TRUE(panel.dragMonitor);
    EXPECT_EQ(panel.dragMonitor->grab, QPointF(10, 20));
    send(QEvent::MouseMove, {520, 420}, Qt::LeftButton);
    EXPECT_EQ(panel.frame().topLeft(), QPointF(510, 400));
}

TEST_F(TabDragTest, TheDoubleClickOfAQuickSecondTabPressDoesNotReachTheContent)
{
    keys.setDown(48, true);
    send(QEvent::MouseButtonPress, {450, 350}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {450, 350}, Qt::NoButton);
    send(QEvent::MouseButtonPress, {450, 350}, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, {450, 350}, Qt::LeftButton);
    EXPECT_TRUE(content->presses.empty());
    EXPECT_TRUE(panel.dragMonitor);
}

TEST_F(TabDragTest, OtherButtonsDoNotStartADrag)
{
    keys.setDown(48, true);
    send(QEvent::MouseButtonPress, {450, 350}, Qt::RightButton, Qt::RightButton);
    EXPECT_FALSE(panel.dragMonitor);
}

} // namespace
} // namespace tolvane
