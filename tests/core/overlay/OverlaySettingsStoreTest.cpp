#include "DefaultsBackends.h"

#include "core/overlay/OverlaySettingsStore.h"

using namespace tolvane;
using tolvane::test::DefaultsBackendTest;
using Keys = OverlaySettingsStore::Keys;

namespace {

class OverlaySettingsStoreTest : public DefaultsBackendTest {
protected:
    OverlaySettingsStore store() const { return OverlaySettingsStore(defaults); }
};

TEST_P(OverlaySettingsStoreTest, FreshStoreReadsTheDefaults)
{
    const OverlaySettingsStore s = store();
    EXPECT_EQ(s.triggers(), VisibilityTriggers::tab());
    EXPECT_TRUE(s.showFarm());
    EXPECT_TRUE(s.usagePingEnabled());
    EXPECT_FALSE(s.mainWindowDismissed());
    EXPECT_EQ(s.windowTextSizeIndex(), 0);
    EXPECT_TRUE(s.twoBuildLinked());
    EXPECT_EQ(s.layout(), (RightStackLayout {0.1, 0.12, 12.0}));
    EXPECT_EQ(s.shopKeyCode(), 35);
    EXPECT_EQ(s.fallbackKeyCode(), 55);
    EXPECT_EQ(s.cdPanelOpacity(), 0.7);
    EXPECT_FALSE(s.cooldownFormat().has_value());
    EXPECT_EQ(s.matchingPreset(), SkillModePreset::pro); // all five panel switches on
}

TEST_P(OverlaySettingsStoreTest, CooldownFormatReadsOnlyExactRawValues)
{
    OverlaySettingsStore s = store();
    for (CDTimeFormat::Value format : CDTimeFormat::allCases) {
        s.setCooldownFormat(CDTimeFormat(format));
        ASSERT_TRUE(s.cooldownFormat().has_value());
        EXPECT_EQ(CDTimeFormat::Value(*s.cooldownFormat()), format);
    }
    EXPECT_EQ(defaults->stringValue(Keys::cooldownFormat), QStringLiteral("minutes"));
    for (const char* text : {"M:SS", "Minutes", "m:s", "", "hours"}) {
        defaults->set(Keys::cooldownFormat, QString::fromLatin1(text));
        EXPECT_FALSE(s.cooldownFormat().has_value()) << text;
    }
    s.setCooldownFormat(std::nullopt);
    EXPECT_FALSE(defaults->contains(Keys::cooldownFormat));
}

TEST_P(OverlaySettingsStoreTest, StoredFalseAndZeroAreNotReplacedByDefaults)
{
    OverlaySettingsStore s = store();
    s.setShowGold(false);
    s.setShowCombos(false);
    s.setUsagePingEnabled(false);
    s.setTwoBuildLinked(false);
    s.setTriggers(VisibilityTriggers());
    s.setShopKeyCode(0);
    s.setCdPanelOpacity(0.0);
    s.setLayout({0.0, 0.0, 0.0});

    const OverlaySettingsStore other = store(); // a second object over the same store agrees
    EXPECT_FALSE(other.showGold());
    EXPECT_FALSE(other.showCombos());
    EXPECT_FALSE(other.usagePingEnabled());
    EXPECT_FALSE(other.twoBuildLinked());
    EXPECT_TRUE(other.triggers().isEmpty());
    EXPECT_EQ(other.shopKeyCode(), 0);
    EXPECT_EQ(other.cdPanelOpacity(), 0.0);
    EXPECT_EQ(other.layout(), (RightStackLayout {0.0, 0.0, 0.0}));
}

TEST_P(OverlaySettingsStoreTest, EveryValueRoundTrips)
{
    OverlaySettingsStore s = store();
    // Trigger bits this version does not know survive; the rest is covered across a restart in
    // SettingsPersistenceTest.
    s.setTriggers(VisibilityTriggers(7 | 64));
    s.setLayout({0.37, -0.15, 27.5});
    EXPECT_EQ(s.triggers().rawValue, 71);
    EXPECT_EQ(s.layout(), (RightStackLayout {0.37, -0.15, 27.5}));
}

TEST_P(OverlaySettingsStoreTest, HalfWrittenLayoutMixesStoredAndDefaultParts)
{
    defaults->set(Keys::layoutGap, 20.0);
    EXPECT_EQ(store().layout(), (RightStackLayout {0.1, 0.12, 20.0}));
}

TEST_P(OverlaySettingsStoreTest, UnconvertibleValueReadsTypedZeroNotDefault)
{
    defaults->set(Keys::showGold, QStringLiteral("maybe"));
    defaults->set(Keys::cdPanelOpacity, QStringLiteral("opaque"));
    EXPECT_FALSE(store().showGold());
    EXPECT_EQ(store().cdPanelOpacity(), 0.0);
}

TEST_P(OverlaySettingsStoreTest, KeyCodesOutsideTheKeyRangeReadAsTheDefaultKey)
{
    OverlaySettingsStore s = store();
    // 65536 + 35 would narrow to 35 and 65536 + 48 to Tab: neither may turn into a real key.
    for (qint64 code : {qint64(-1), qint64(65536 + 48), qint64(1) << 40}) {
        s.setShopKeyCode(code);
        s.setFallbackKeyCode(code);
        EXPECT_EQ(s.shopKeyCode(), 35) << code;
        EXPECT_EQ(s.fallbackKeyCode(), 55) << code;
    }
    s.setShopKeyCode(65535);
    EXPECT_EQ(s.shopKeyCode(), 65535);
}

TEST_P(OverlaySettingsStoreTest, ResetRemovesTheLookButKeepsPersonalChoices)
{
    OverlaySettingsStore s = store();
    s.setUsagePingEnabled(false);
    s.setMainWindowDismissed(true);
    s.setWindowTextSizeIndex(2);
    s.setTwoBuildLinked(false);
    s.setCooldownFormat(CDTimeFormat::minutes);
    s.setShopKeyCode(3);
    s.setFallbackKeyCode(59);
    s.setTriggers(VisibilityTriggers::always());
    s.applyPreset(SkillModePreset::smurf);
    s.setShowFarm(false);
    s.setLayout({0.3, 0.3, 30});
    s.setCdPanelOpacity(0.2);

    s.reset();

    EXPECT_FALSE(s.usagePingEnabled());
    EXPECT_TRUE(s.mainWindowDismissed());
    EXPECT_EQ(s.windowTextSizeIndex(), 2);
    EXPECT_FALSE(s.twoBuildLinked());
    EXPECT_EQ(s.cooldownFormat(), CDTimeFormat(CDTimeFormat::minutes));
    EXPECT_EQ(s.shopKeyCode(), 35);
    EXPECT_EQ(s.fallbackKeyCode(), 55);
    EXPECT_EQ(s.triggers(), VisibilityTriggers::tab());
    EXPECT_TRUE(s.showFarm());
    EXPECT_EQ(s.layout(), RightStackLayout::standard());
    EXPECT_EQ(s.cdPanelOpacity(), 0.7);
    EXPECT_EQ(s.matchingPreset(), SkillModePreset::pro);
    for (const QString& key :
        {Keys::triggers, Keys::showPopular, Keys::showFarm, Keys::layoutGap, Keys::shopKeyCode, Keys::cdPanelOpacity})
        EXPECT_FALSE(defaults->contains(key)) << key.toStdString();
}

TEST_P(OverlaySettingsStoreTest, PresetLeavesTheFarmSwitchAndIsRecognised)
{
    OverlaySettingsStore s = store();
    s.setShowFarm(false);
    s.applyPreset(SkillModePreset::smurf);
    EXPECT_FALSE(s.showFarm());
    EXPECT_EQ(s.matchingPreset(), SkillModePreset::smurf);
    s.applyPreset(SkillModePreset::beginner);
    EXPECT_EQ(s.matchingPreset(), SkillModePreset::beginner);
    s.setShowGold(false);
    EXPECT_FALSE(s.matchingPreset().has_value());
}

TEST_P(OverlaySettingsStoreTest, PresetWritesExactlyItsFiveSwitches)
{
    store().applyPreset(SkillModePreset::beginner);
    EXPECT_FALSE(defaults->contains(Keys::showFarm));
    EXPECT_FALSE(defaults->contains(Keys::triggers));
    EXPECT_TRUE(defaults->contains(Keys::showPopular));
    EXPECT_EQ(store().matchingPreset(), SkillModePreset::beginner);
}

TOLVANE_ALL_BACKENDS(OverlaySettingsStoreTest);

} // namespace
