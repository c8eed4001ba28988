#include "app/mainwindow/LayoutPage.h"

#include "app/mainwindow/AppNotifications.h"
#include "app/mainwindow/SettingsControls.h"
#include "app/mainwindow/SettingsTabParts.h"

#include "SettingsTabFixture.h"

#include <QPushButton>
#include <QSlider>

namespace tolvane {
namespace {

using test::click;

class LayoutPageTest : public test::SettingsTabFixture {
protected:
    LayoutTabView& page() { return *view->layoutPage(); }

    void SetUp() override
    {
        model.setActiveTab(SettingsModel::SettingsTab::layout);
        // Observed the way the application observes them: directly, so a count taken right
        // after the click shows the handler already ran.
        QObject::connect(
            &AppNotifications::defaultCenter(), &AppNotifications::openRepositionMode, &observer,
            [this] { ++repositionPosts; }, Qt::DirectConnection);
        QObject::connect(
            &AppNotifications::defaultCenter(), &AppNotifications::resetAllPanelPositions, &observer,
            [this] { ++resetPositionPosts; }, Qt::DirectConnection);
    }

    QObject observer;
    int repositionPosts = 0;
    int resetPositionPosts = 0;
};

TEST_F(LayoutPageTest, PositionButtonsPostTheirNotificationOnceBeforeReturning)
{
    makeView();
    ASSERT_TRUE(page().isVisible());
    click(*page().repositionButton());
    EXPECT_EQ(repositionPosts, 1);
    EXPECT_EQ(resetPositionPosts, 0);
    click(*page().resetPositionsButton());
    EXPECT_EQ(resetPositionPosts, 1);
    EXPECT_EQ(repositionPosts, 1);
    EXPECT_EQ(reset, 0);
    test::renderSettings(*view, QStringLiteral("settings-layout"));
}

TEST_F(LayoutPageTest, LayoutBlockDimsOnlyWhileBothBuildPanelsAreOff)
{
    makeView();
    model.setShowPopular(false);
    EXPECT_DOUBLE_EQ(blockOpacity(page().layoutBlock()), 1.0);
    EXPECT_TRUE(page().resetLayoutButton()->isEnabled());
    model.setShowMatchup(false);
    EXPECT_DOUBLE_EQ(blockOpacity(page().layoutBlock()), dimmedBlockOpacity);
    EXPECT_FALSE(page().resetLayoutButton()->isEnabled());
    test::renderSettings(*view, QStringLiteral("settings-layout-dimmed"));

    // What stays active: the position buttons and the link switch.
    EXPECT_TRUE(page().resetPositionsButton()->isEnabled());
    EXPECT_TRUE(page().repositionButton()->isEnabled());
    click(*page().resetLayoutButton());
    EXPECT_EQ(reset, 0);
    click(*page().resetPositionsButton());
    EXPECT_EQ(resetPositionPosts, 1);
    click(*page().linkToggle());
    EXPECT_FALSE(store.twoBuildLinked());

    model.setShowMatchup(true);
    EXPECT_DOUBLE_EQ(blockOpacity(page().layoutBlock()), 1.0);
}

TEST_F(LayoutPageTest, SlidersCoverTheirRangesAndWriteTheStoredLayout)
{
    makeView();
    ASSERT_EQ(page().sliders().size(), 3u);
    LayoutSlider& inset = *page().sliders()[0];
    LayoutSlider& raise = *page().sliders()[1];
    LayoutSlider& gap = *page().sliders()[2];
    EXPECT_EQ(inset.valueText(), QStringLiteral("0.10"));
    EXPECT_EQ(raise.valueText(), QStringLiteral("0.12"));
    EXPECT_EQ(gap.valueText(), QStringLiteral("12 pt"));

    raise.slider()->setValue(raise.slider()->minimum());
    EXPECT_EQ(raise.valueText(), QStringLiteral("-0.20"));
    EXPECT_DOUBLE_EQ(store.layout().raiseFraction, -0.2);
    inset.slider()->setValue(inset.slider()->maximum());
    EXPECT_DOUBLE_EQ(store.layout().insetFraction, 0.4);
    gap.slider()->setValue(gap.slider()->maximum());
    EXPECT_EQ(gap.valueText(), QStringLiteral("40 pt"));
    EXPECT_DOUBLE_EQ(store.layout().gap, 40);
    EXPECT_DOUBLE_EQ(store.layout().raiseFraction, -0.2);
}

TEST_F(LayoutPageTest, ResetRestoresWhatTheStoreResetsAndTheControlsShowIt)
{
    model.setShop(true);
    model.setShowGold(false);
    model.setGap(30);
    model.setCdOpacity(0.3);
    model.setTwoBuildLinked(false);
    model.setUsagePing(false);
    model.setCooldownFormat(CDTimeFormat::minutes);
    makeView();
    click(*page().resetLayoutButton());
    EXPECT_EQ(reset, 1);

    EXPECT_EQ(page().sliders()[2]->valueText(), QStringLiteral("12 pt"));
    EXPECT_EQ(page().sliders()[2]->slider()->value(), LayoutSlider::sliderSteps * 12 / 40);
    EXPECT_FALSE(model.shop());
    EXPECT_TRUE(model.showGold());
    EXPECT_DOUBLE_EQ(model.cdOpacity(), 0.7);
    EXPECT_FALSE(model.twoBuildLinked());
    EXPECT_FALSE(model.usagePing());
    EXPECT_EQ(model.cooldownFormat(), CDTimeFormat::minutes);
    // The page stays where the user is.
    EXPECT_EQ(view->currentPage(), view->layoutPage());
}

} // namespace
} // namespace tolvane
