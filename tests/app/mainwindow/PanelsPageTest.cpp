#include "app/mainwindow/PanelsPage.h"

#include "app/mainwindow/SettingsControls.h"
#include "app/mainwindow/SettingsTabParts.h"

#include "SettingsTabFixture.h"

#include <QLabel>
#include <QSlider>

namespace tolvane {
namespace {

using test::click;

class PanelsPageTest : public test::SettingsTabFixture {
protected:
    PanelsTabView& page() { return *view->panelsPage(); }
    GoldToggle& toggle(const char* title)
    {
        GoldToggle* found = page().toggle(QString::fromUtf8(title));
        EXPECT_NE(found, nullptr) << title;
        return *found;
    }
};

TEST_F(PanelsPageTest, StoredDefaultsShowProWithoutCustomPillOrShopBlock)
{
    makeView();
    EXPECT_TRUE(page().isVisible());
    EXPECT_EQ(page().modePicker()->selectedIndex(), 1);
    EXPECT_FALSE(page().customPill()->isVisible());
    EXPECT_FALSE(page().shopSection()->isVisible());
    EXPECT_TRUE(model.tab());
    EXPECT_FALSE(model.shop());
    EXPECT_FALSE(model.always());
    EXPECT_LE(page().width(), 420);
    EXPECT_EQ(page().opacitySlider()->valueText(), QStringLiteral("0.70"));
    test::renderSettings(*view, QStringLiteral("settings-panels-default"));
}

TEST_F(PanelsPageTest, ShopSwitchShowsAndHidesTheShopBlockEvenDuringACapture)
{
    makeView();
    click(toggle("Show build panels while shopping"));
    EXPECT_TRUE(store.triggers().contains(VisibilityTriggers::shop()));
    EXPECT_TRUE(page().shopSection()->isVisible());
    EXPECT_EQ(page().shopChip()->text(), QStringLiteral("P"));
    EXPECT_EQ(page().fallbackChip()->text(), QStringLiteral("⌘ Cmd"));
    test::renderSettings(*view, QStringLiteral("settings-panels-shop"));

    view->setHostState(hostState(KeyCaptureTarget::shop));
    click(toggle("Show build panels while shopping"));
    EXPECT_FALSE(page().shopSection()->isVisible());
    EXPECT_FALSE(store.triggers().contains(VisibilityTriggers::shop()));
}

// Each panel row against the preset: farm belongs to no preset, every other row does.
struct PanelRowCase {
    const char* title;
    bool (OverlaySettingsStore::*stored)() const;
    bool breaksPreset;
};

class PanelRowTest : public PanelsPageTest, public ::testing::WithParamInterface<PanelRowCase> { };

TEST_P(PanelRowTest, SwitchingARowWritesTheStoreAndUnmatchesThePresetUnlessItIsFarm)
{
    makeView();
    const PanelRowCase& row = GetParam();
    click(toggle(row.title));
    EXPECT_FALSE((store.*row.stored)());
    EXPECT_EQ(page().customPill()->isVisible(), row.breaksPreset);
    EXPECT_EQ(page().modePicker()->selectedIndex().has_value(), !row.breaksPreset);
}

INSTANTIATE_TEST_SUITE_P(Rows, PanelRowTest,
    ::testing::Values(PanelRowCase {"Popular build", &OverlaySettingsStore::showPopular, true},
        PanelRowCase {"Matchup / Counter", &OverlaySettingsStore::showMatchup, true},
        PanelRowCase {"Gold", &OverlaySettingsStore::showGold, true},
        PanelRowCase {"Cooldowns", &OverlaySettingsStore::showCooldowns, true},
        PanelRowCase {"Farm benchmark", &OverlaySettingsStore::showFarm, false},
        PanelRowCase {"Combos", &OverlaySettingsStore::showCombos, true}));

TEST_F(PanelsPageTest, PickingAPresetFromCustomSelectsItAndHidesThePill)
{
    model.setShowGold(false);
    makeView();
    ASSERT_TRUE(page().customPill()->isVisible());
    SegmentedPicker& picker = *page().modePicker();
    click(picker, picker.segmentRect(2).center());
    EXPECT_EQ(model.matchingMode(), SkillModePreset::smurf);
    EXPECT_EQ(picker.selectedIndex(), 2);
    EXPECT_FALSE(page().customPill()->isVisible());
}

TEST_F(PanelsPageTest, CooldownsOffDimsTheExtrasWhichThenIgnoreInputAndKeepTheirValues)
{
    makeView();
    EXPECT_DOUBLE_EQ(blockOpacity(page().cooldownExtras()), 1.0);
    click(toggle("Cooldowns"));
    EXPECT_DOUBLE_EQ(blockOpacity(page().cooldownExtras()), dimmedBlockOpacity);
    test::renderSettings(*view, QStringLiteral("settings-panels-cooldowns-off"));

    SegmentedPicker& picker = *page().cooldownFormatPicker();
    click(picker, picker.segmentRect(2).center());
    EXPECT_EQ(store.cooldownFormat(), std::nullopt);
    EXPECT_FALSE(page().opacitySlider()->slider()->isEnabled());

    click(toggle("Cooldowns"));
    EXPECT_DOUBLE_EQ(blockOpacity(page().cooldownExtras()), 1.0);
    click(picker, picker.segmentRect(2).center());
    EXPECT_EQ(store.cooldownFormat(), CDTimeFormat::minutes);
    EXPECT_DOUBLE_EQ(store.cdPanelOpacity(), 0.7);
}

TEST_F(PanelsPageTest, OpacitySliderStaysWithinItsRangeAndShowsTwoDecimals)
{
    makeView();
    QSlider& slider = *page().opacitySlider()->slider();
    slider.setValue(slider.minimum());
    EXPECT_DOUBLE_EQ(store.cdPanelOpacity(), 0.15);
    EXPECT_EQ(page().opacitySlider()->valueText(), QStringLiteral("0.15"));
    slider.setValue(slider.maximum());
    EXPECT_DOUBLE_EQ(store.cdPanelOpacity(), 1.0);
    EXPECT_EQ(page().opacitySlider()->valueText(), QStringLiteral("1.00"));
}

TEST_F(PanelsPageTest, KeyChipsStartTheirCaptureOnEachTapAndShowTheCaptureUnderWay)
{
    model.setShop(true);
    makeView();
    click(*page().shopChip());
    EXPECT_EQ(captureShop, 1);
    view->setHostState(hostState(KeyCaptureTarget::shop));
    EXPECT_EQ(page().shopChip()->text(), KeyChip::capturingText);
    EXPECT_TRUE(page().shopChip()->capturing());
    EXPECT_FALSE(page().fallbackChip()->capturing());
    test::renderSettings(*view, QStringLiteral("settings-panels-capturing"));

    click(*page().shopChip());
    EXPECT_EQ(captureShop, 2);
    EXPECT_EQ(page().shopChip()->text(), KeyChip::capturingText);

    click(*page().fallbackChip());
    EXPECT_EQ(captureFallback, 1);
    SettingsHostState taken = hostState(KeyCaptureTarget::fallback);
    taken.captureTarget.reset();
    taken.fallbackKeyLabel = QStringLiteral("Tab");
    view->setHostState(taken);
    EXPECT_EQ(page().fallbackChip()->text(), QStringLiteral("Tab"));
    EXPECT_GE(page().fallbackChip()->width(), 64);
    EXPECT_GE(page().fallbackChip()->height(), 30);
}

// The permission row follows the flag handed in, and its button runs the matching action.
struct PermissionCase {
    bool granted;
    const char* text;
    const char* button;
    int grants;
    int restarts;
};

class PermissionRowTest : public PanelsPageTest, public ::testing::WithParamInterface<PermissionCase> { };

TEST_P(PermissionRowTest, RowShowsThePermissionAndItsButtonActsOnIt)
{
    const PermissionCase& c = GetParam();
    model.setShop(true);
    makeView(hostState(std::nullopt, !c.granted));
    view->setHostState(hostState(std::nullopt, c.granted));
    EXPECT_EQ(page().permissionText()->text(), QString::fromUtf8(c.text));
    EXPECT_EQ(page().permissionDotColour(), c.granted ? HUD::teal() : HUD::neutral());
    EXPECT_EQ(page().permissionButton()->text(), QString::fromUtf8(c.button));
    click(*page().permissionButton());
    EXPECT_EQ(grant, c.grants);
    EXPECT_EQ(restart, c.restarts);
}

INSTANTIATE_TEST_SUITE_P(Permission, PermissionRowTest,
    ::testing::Values(PermissionCase {true, "Input Monitoring: granted", "Restart", 0, 1},
        PermissionCase {false, "Input Monitoring: not granted", "Grant Permission", 1, 0}));

} // namespace
} // namespace tolvane
