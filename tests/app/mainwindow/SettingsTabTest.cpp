#include "app/mainwindow/SettingsTab.h"

#include "app/mainwindow/AdvancedPage.h"
#include "app/mainwindow/LayoutPage.h"
#include "app/mainwindow/PanelsPage.h"
#include "app/mainwindow/SettingsControls.h"

#include "SettingsTabFixture.h"

namespace tolvane {
namespace {

using test::click;
using Tab = SettingsModel::SettingsTab;

class SettingsViewTest : public test::SettingsTabFixture { };

TEST_F(SettingsViewTest, BarSelectsAPageAndTheChoiceSurvivesANewView)
{
    makeView();
    EXPECT_EQ(view->currentPage(), view->panelsPage());
    EXPECT_TRUE(view->tabButton(Tab::panels)->active());
    for (Tab tab : SettingsModel::allSettingsTabs)
        EXPECT_EQ(view->tabButton(tab)->text(), SettingsView::tabTitle(tab));

    click(*view->tabButton(Tab::advanced));
    EXPECT_EQ(model.activeTab(), Tab::advanced);
    EXPECT_TRUE(view->advancedPage()->isVisible());
    EXPECT_FALSE(view->panelsPage()->isVisible());
    EXPECT_FALSE(view->layoutPage()->isVisible());
    EXPECT_TRUE(view->tabButton(Tab::advanced)->active());
    EXPECT_FALSE(view->tabButton(Tab::panels)->active());
    test::renderSettings(*view, QStringLiteral("settings-advanced"));

    makeView();
    EXPECT_EQ(view->currentPage(), view->advancedPage());
    EXPECT_TRUE(view->advancedPage()->isVisible());
    EXPECT_TRUE(view->tabButton(Tab::advanced)->active());
}

TEST_F(SettingsViewTest, ButtonsSitSideBySideCentredInTheBar)
{
    makeView();
    SettingsTabStyle& first = *view->tabButton(Tab::panels);
    SettingsTabStyle& second = *view->tabButton(Tab::layout);
    SettingsTabStyle& third = *view->tabButton(Tab::advanced);
    EXPECT_EQ(first.geometry().right() + 1, second.geometry().left());
    EXPECT_EQ(second.geometry().right() + 1, third.geometry().left());
    const int left = first.geometry().left();
    const int right = view->width() - third.geometry().right() - 1;
    EXPECT_LE(std::abs(left - right), 1);
}

// Picking a text size on the Advanced page replaces every control with one drawn at the new scale;
// the picker that was tapped is among them, so the swap must wait for the tap to finish.
TEST_F(SettingsViewTest, TextSizeChangeRebuildsThePagesAtTheNewScale)
{
    model.setActiveTab(Tab::advanced);
    makeView();
    const QSize smallTab = view->tabButton(Tab::panels)->sizeHint();
    const QSize smallChip = view->panelsPage()->shopChip()->sizeHint();
    SegmentedPicker& picker = *view->advancedPage()->textSizePicker();
    click(picker, picker.segmentRect(3).center());
    EXPECT_EQ(store.windowTextSizeIndex(), 3);
    test::spinUntil([&] {
        return view->tabButton(Tab::panels)->sizeHint().width() > smallTab.width() && view->advancedPage()->isVisible();
    });

    EXPECT_DOUBLE_EQ(model.fontScale(), 1.55);
    EXPECT_GT(view->tabButton(Tab::panels)->sizeHint().width(), smallTab.width());
    EXPECT_GT(view->tabButton(Tab::panels)->sizeHint().height(), smallTab.height());
    EXPECT_GE(view->panelsPage()->shopChip()->sizeHint().height(), smallChip.height());
    EXPECT_EQ(view->currentPage(), view->advancedPage());
    EXPECT_TRUE(view->advancedPage()->isVisible());
    EXPECT_EQ(view->advancedPage()->textSizePicker()->selectedIndex(), 3);
    test::renderSettings(*view, QStringLiteral("settings-advanced-large"));

    model.setActiveTab(Tab::panels);
    model.setShop(true);
    test::renderSettings(*view, QStringLiteral("settings-panels-large"));
}

TEST_F(SettingsViewTest, TapsWithoutHostActionsDoNothing)
{
    // A host without actions: taps do nothing rather than fail.
    model.setShop(true);
    view = std::make_unique<SettingsView>(model, hostState(), SettingsActions {});
    view->resize(440, 1300);
    view->show();
    settle();
    click(*view->panelsPage()->shopChip());
    click(*view->panelsPage()->permissionButton());
    model.setActiveTab(Tab::layout);
    click(*view->layoutPage()->resetLayoutButton());
    EXPECT_EQ(model.activeTab(), Tab::layout);
}

} // namespace
} // namespace tolvane
