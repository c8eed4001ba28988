// Opening and closing the reposition editor with fake platform services: chip sizes from the live
// panel windows, the stored Summoner's Rift positions, the window over the game frame, Done and
// a second show.

#include "app/windows/RepositionOverlayController.h"
#include "app/windows/RepositionOverlayView.h"
#include "platform/OverlayWindowNative.h"
#include "platform/ScreenSpace.h"

#include <QApplication>
#include <QPointer>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

class RepositionOverlayControllerTest : public ::testing::Test {
protected:
    void show(QRectF game, std::map<PanelID, QRectF> live = {})
    {
        controller.show(game, live, PanelPositionStore(defaults), OverlaySettingsStore(defaults),
            [this](PanelPoints centers, RepositionMode mode) {
                openDuringCallback = controller.isOpen();
                ++doneCalls;
                doneCenters = std::move(centers);
                doneMode = mode;
            });
    }

    FakeOverlayWindowNative native;
    RepositionOverlayController controller {native};
    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    int doneCalls = 0;
    bool openDuringCallback = true;
    PanelPoints doneCenters;
    std::optional<RepositionMode> doneMode;
};

TEST_F(RepositionOverlayControllerTest, ChipSizesFromLiveWindowsOrScaledDefaults)
{
    show({0, 0, 1920, 1080}, {{PanelID::popularBuild, {0, 0, 276, 410}}, {PanelID::matchup, {0, 0, 298, 330}}});
    EXPECT_EQ(controller.panelSizes().at(PanelID::popularBuild), QSizeF(298, 410));
    EXPECT_EQ(controller.panelSizes().at(PanelID::matchup), QSizeF(298, 330));
    EXPECT_EQ(controller.panelSizes().at(PanelID::cooldowns), QSizeF(165, 210));
    ASSERT_TRUE(controller.view());
    EXPECT_EQ(controller.view()->model().chipSize(PanelID::popularBuild), QSizeF(298, 410));
}

TEST_F(RepositionOverlayControllerTest, OpensOverTheGameFrameWithStoredRiftPositions)
{
    PanelPositionStore(defaults).setFraction(PanelID::goldTracker, {0.5, 0.25}, RepositionMode::summonersRift);
    PanelPositionStore(defaults).setFraction(PanelID::farmBenchmark, {0.75, 1.05}, RepositionMode::summonersRift);
    PanelPositionStore(defaults).setFraction(PanelID::combos, {0.9, 0.9}, RepositionMode::aram);
    const QRectF game(100, 50, 1920, 1080);
    show(game);
    RepositionOverlayView* view = controller.view();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->model().chipCenter(PanelID::goldTracker), QPointF(960, 270));
    EXPECT_EQ(view->model().chipCenter(PanelID::farmBenchmark), QPointF(1440, 1134)); // past the edge, as stored
    EXPECT_EQ(view->model().chipCenter(PanelID::combos), view->model().defaultCenter(PanelID::combos));
    EXPECT_GE(native.raises, 1);

    const double primary = ScreenSpace::primaryScreenHeight().value_or(game.bottom());
    EXPECT_EQ(view->geometry(), ScreenSpace::flipped(game, primary).toRect());
}

TEST_F(RepositionOverlayControllerTest, DoneClosesTheEditorBeforeTheCallback)
{
    show({0, 0, 1920, 1080});
    QPointer<RepositionOverlayView> view = controller.view();
    view->model().switchMode(RepositionMode::arena);
    view->model().performDone();
    EXPECT_EQ(doneCalls, 1);
    EXPECT_FALSE(openDuringCallback);
    EXPECT_EQ(doneMode, RepositionMode::arena);
    EXPECT_EQ(doneCenters.size(), 6u);
    EXPECT_FALSE(view->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
}

TEST_F(RepositionOverlayControllerTest, SecondShowReplacesTheOpenEditor)
{
    show({0, 0, 1920, 1080});
    QPointer<RepositionOverlayView> first = controller.view();
    show({0, 0, 2560, 1440});
    EXPECT_FALSE(first->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_TRUE(controller.view());
    EXPECT_EQ(controller.view()->model().gameSize(), QSizeF(2560, 1440));
    EXPECT_EQ(doneCalls, 0);
}

TEST_F(RepositionOverlayControllerTest, DismissIsHarmlessTwiceAndStoresNothing)
{
    show({0, 0, 1920, 1080});
    controller.dismiss();
    controller.dismiss();
    EXPECT_FALSE(controller.isOpen());
    EXPECT_EQ(doneCalls, 0);
    EXPECT_FALSE(PanelPositionStore(defaults).fraction(PanelID::combos, RepositionMode::summonersRift).has_value());
}

} // namespace
} // namespace tolvane
