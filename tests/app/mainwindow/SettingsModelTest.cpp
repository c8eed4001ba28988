#include "app/mainwindow/SettingsModel.h"

#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/UserDefaults.h"

#include <gtest/gtest.h>

#include <functional>

namespace tolvane {
namespace {

// How many times the model announced a change since it was made.
class ChangeCount {
public:
    explicit ChangeCount(SettingsModel& model)
    {
        QObject::connect(&model, &SettingsModel::changed, [this] { ++count_; });
    }
    int count() const { return count_; }

private:
    int count_ = 0;
};

using Keys = OverlaySettingsStore::Keys;

class SettingsModelTest : public ::testing::Test {
protected:
    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    OverlaySettingsStore store {defaults};

    std::optional<QVariant> stored(const QString& key) const { return defaults->object(key); }
};

// Every key the settings UI writes; a reload must leave each one present.
const QStringList writtenKeys {Keys::triggers, Keys::showPopular, Keys::showMatchup, Keys::showGold,
    Keys::showCooldowns, Keys::showFarm, Keys::showCombos, Keys::layoutInset, Keys::layoutRaise, Keys::layoutGap,
    Keys::shopKeyCode, Keys::fallbackKeyCode, Keys::cooldownFormat, Keys::windowTextSizeIndex, Keys::cdPanelOpacity,
    Keys::twoBuildLinked, Keys::usagePingEnabled};

TEST_F(SettingsModelTest, FreshStoreShowsDefaultsAndConstructionWritesNothing)
{
    SettingsModel model(store);

    EXPECT_TRUE(model.tab());
    EXPECT_FALSE(model.shop());
    EXPECT_FALSE(model.always());
    EXPECT_TRUE(model.showPopular() && model.showMatchup() && model.showGold() && model.showCooldowns()
        && model.showFarm() && model.showCombos());
    EXPECT_DOUBLE_EQ(model.inset(), 0.1);
    EXPECT_DOUBLE_EQ(model.raise(), 0.12);
    EXPECT_DOUBLE_EQ(model.gap(), 12.0);
    EXPECT_EQ(model.shopKeyCode(), 35);
    EXPECT_EQ(model.fallbackKeyCode(), 55);
    EXPECT_EQ(model.cooldownFormat(), CDTimeFormat::seconds);
    EXPECT_EQ(model.textSizeIndex(), 0);
    EXPECT_DOUBLE_EQ(model.fontScale(), 1.0);
    EXPECT_DOUBLE_EQ(model.cdOpacity(), 0.7);
    EXPECT_TRUE(model.twoBuildLinked());
    EXPECT_TRUE(model.usagePing());
    EXPECT_EQ(model.activeTab(), SettingsModel::SettingsTab::panels);
    EXPECT_EQ(model.matchingMode(), SkillModePreset::pro);

    for (const QString& key : writtenKeys)
        EXPECT_FALSE(stored(key).has_value()) << key.toStdString();
}

TEST_F(SettingsModelTest, ConstructionReadsWhatIsStored)
{
    defaults->set(Keys::triggers, 6);
    defaults->set(Keys::showGold, false);
    defaults->set(Keys::layoutRaise, 0.3);
    defaults->set(Keys::shopKeyCode, 12);
    defaults->set(Keys::cooldownFormat, QStringLiteral("m:ss"));
    defaults->set(Keys::windowTextSizeIndex, 2);
    defaults->set(Keys::usagePingEnabled, false);

    SettingsModel model(store);

    EXPECT_FALSE(model.tab());
    EXPECT_TRUE(model.shop());
    EXPECT_TRUE(model.always());
    EXPECT_FALSE(model.showGold());
    EXPECT_DOUBLE_EQ(model.inset(), 0.1);
    EXPECT_DOUBLE_EQ(model.raise(), 0.3);
    EXPECT_EQ(model.shopKeyCode(), 12);
    EXPECT_EQ(model.cooldownFormat(), CDTimeFormat::minutesSeconds);
    EXPECT_DOUBLE_EQ(model.fontScale(), 1.36);
    EXPECT_FALSE(model.usagePing());
}

struct TriggerCase {
    bool tab, shop, always;
    qint64 stored;
};

class TriggerWriteTest : public SettingsModelTest, public ::testing::WithParamInterface<TriggerCase> { };

TEST_P(TriggerWriteTest, StoredIntegerIsTheSumOfTheSwitchesOn)
{
    const TriggerCase c = GetParam();
    SettingsModel model(store);
    model.setTab(c.tab);
    model.setShop(c.shop);
    model.setAlways(c.always);
    EXPECT_EQ(store.triggers().rawValue, c.stored);
}

INSTANTIATE_TEST_SUITE_P(Switches, TriggerWriteTest,
    ::testing::Values(TriggerCase {false, false, false, 0}, TriggerCase {false, true, false, 2},
        TriggerCase {true, false, true, 5}, TriggerCase {true, true, true, 7}));

TEST_F(SettingsModelTest, TriggersAreRebuiltFromTheSwitchesAlone)
{
    defaults->set(Keys::triggers, 1 | 8);
    SettingsModel model(store);
    model.setShop(true);
    EXPECT_EQ(store.triggers().rawValue, 3);
}

struct WriteCase {
    const char* name;
    std::function<void(SettingsModel&)> assign;
    QString key;
    QVariant expected;
};

class WriteThroughTest : public SettingsModelTest, public ::testing::WithParamInterface<WriteCase> { };

TEST_P(WriteThroughTest, AssignmentAnnouncesOnceAndWritesItsKey)
{
    const WriteCase& c = GetParam();
    SettingsModel model(store);
    ChangeCount spy(model);
    // Observers find the store already written.
    std::optional<QVariant> seenByObserver;
    QObject::connect(&model, &SettingsModel::changed, [&] { seenByObserver = stored(c.key); });
    c.assign(model);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(seenByObserver, std::optional<QVariant>(c.expected));
    EXPECT_EQ(stored(c.key), std::optional<QVariant>(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Properties, WriteThroughTest,
    ::testing::Values(
        WriteCase {"showPopular", [](SettingsModel& m) { m.setShowPopular(false); }, Keys::showPopular, false},
        WriteCase {"showMatchup", [](SettingsModel& m) { m.setShowMatchup(false); }, Keys::showMatchup, false},
        WriteCase {"showGold", [](SettingsModel& m) { m.setShowGold(false); }, Keys::showGold, false},
        WriteCase {"showCooldowns", [](SettingsModel& m) { m.setShowCooldowns(false); }, Keys::showCooldowns, false},
        WriteCase {"showFarm", [](SettingsModel& m) { m.setShowFarm(false); }, Keys::showFarm, false},
        WriteCase {"showCombos", [](SettingsModel& m) { m.setShowCombos(false); }, Keys::showCombos, false},
        // An assignment of the value already held still writes it.
        WriteCase {"sameValue", [](SettingsModel& m) { m.setShowGold(true); }, Keys::showGold, true},
        WriteCase {"shopKey", [](SettingsModel& m) { m.setShopKeyCode(12); }, Keys::shopKeyCode, qint64(12)},
        WriteCase {
            "fallbackKey", [](SettingsModel& m) { m.setFallbackKeyCode(58); }, Keys::fallbackKeyCode, qint64(58)},
        WriteCase {"format", [](SettingsModel& m) { m.setCooldownFormat(CDTimeFormat::minutes); }, Keys::cooldownFormat,
            QStringLiteral("minutes")},
        // Stored unclamped; only the scale clamps.
        WriteCase {"textSize", [](SettingsModel& m) { m.setTextSizeIndex(9); }, Keys::windowTextSizeIndex, qint64(9)},
        WriteCase {"opacity", [](SettingsModel& m) { m.setCdOpacity(0.4); }, Keys::cdPanelOpacity, 0.4},
        WriteCase {"linked", [](SettingsModel& m) { m.setTwoBuildLinked(false); }, Keys::twoBuildLinked, false},
        WriteCase {"usagePing", [](SettingsModel& m) { m.setUsagePing(false); }, Keys::usagePingEnabled, false},
        WriteCase {"tab", [](SettingsModel& m) { m.setTab(false); }, Keys::triggers, qint64(0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsModelTest, EachLayoutFieldWritesTheWholeLayout)
{
    SettingsModel model(store);
    model.setGap(20);
    EXPECT_EQ(store.layout(), (RightStackLayout {0.1, 0.12, 20}));
    EXPECT_TRUE(stored(Keys::layoutInset).has_value());
    EXPECT_TRUE(stored(Keys::layoutRaise).has_value());
    model.setInset(0.05);
    model.setRaise(0.2);
    EXPECT_EQ(store.layout(), (RightStackLayout {0.05, 0.2, 20}));
}

TEST_F(SettingsModelTest, ActiveTabIsNotPersistedAndSurvivesReload)
{
    SettingsModel model(store);
    ChangeCount spy(model);
    model.setActiveTab(SettingsModel::SettingsTab::advanced);
    EXPECT_EQ(spy.count(), 1);
    for (const QString& key : writtenKeys)
        EXPECT_FALSE(stored(key).has_value()) << key.toStdString();
    model.reloadFromStore();
    EXPECT_EQ(model.activeTab(), SettingsModel::SettingsTab::advanced);
}

class FontScaleTest : public SettingsModelTest, public ::testing::WithParamInterface<std::pair<qint64, double>> { };

TEST_P(FontScaleTest, IndexIsClampedToTheFourSteps)
{
    SettingsModel model(store);
    model.setTextSizeIndex(GetParam().first);
    EXPECT_DOUBLE_EQ(model.fontScale(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Indices, FontScaleTest,
    ::testing::Values(std::pair {qint64(-1), 1.0}, std::pair {qint64(1), 1.18}, std::pair {qint64(2), 1.36},
        std::pair {qint64(3), 1.55}, std::pair {qint64(9), 1.55}));

TEST_F(SettingsModelTest, UnknownStoredFormatShowsSecondsAndReloadOverwritesIt)
{
    defaults->set(Keys::cooldownFormat, QStringLiteral("Seconds"));
    SettingsModel model(store);
    EXPECT_EQ(model.cooldownFormat(), CDTimeFormat::seconds);
    EXPECT_EQ(stored(Keys::cooldownFormat), std::optional<QVariant>(QStringLiteral("Seconds")));
    model.reloadFromStore();
    EXPECT_EQ(stored(Keys::cooldownFormat), std::optional<QVariant>(QStringLiteral("seconds")));
}

TEST_F(SettingsModelTest, ReloadPicksUpOutsideChangesAndWritesEveryKey)
{
    SettingsModel model(store);
    store.setShowCombos(false);
    store.setFallbackKeyCode(58);
    store.setLayout({0.2, 0.1, 4});

    model.reloadFromStore();

    EXPECT_FALSE(model.showCombos());
    EXPECT_EQ(model.fallbackKeyCode(), 58);
    EXPECT_DOUBLE_EQ(model.gap(), 4);
    for (const QString& key : writtenKeys)
        EXPECT_TRUE(stored(key).has_value()) << key.toStdString();
    EXPECT_EQ(store.layout(), (RightStackLayout {0.2, 0.1, 4}));
    EXPECT_FALSE(store.showCombos());
}

TEST_F(SettingsModelTest, ReloadAfterResetShowsAndStoresTheDefaults)
{
    SettingsModel model(store);
    model.setAlways(true);
    model.setShowPopular(false);
    model.setGap(30);
    model.setShopKeyCode(3);
    model.setCdOpacity(0.2);
    model.setTextSizeIndex(2);

    store.reset();
    model.reloadFromStore();

    EXPECT_FALSE(model.always());
    EXPECT_TRUE(model.showPopular());
    EXPECT_DOUBLE_EQ(model.gap(), 12);
    EXPECT_EQ(model.shopKeyCode(), 35);
    EXPECT_DOUBLE_EQ(model.cdOpacity(), 0.7);
    // The text size is not part of the reset.
    EXPECT_EQ(model.textSizeIndex(), 2);
    EXPECT_EQ(stored(Keys::triggers), std::optional<QVariant>(qint64(1)));
    for (const QString& key : writtenKeys)
        EXPECT_TRUE(stored(key).has_value()) << key.toStdString();
}

struct PresetCase {
    SkillModePreset preset;
    bool popular, matchup, gold, cooldowns, combos;
};

class PresetTest : public SettingsModelTest, public ::testing::WithParamInterface<PresetCase> { };

TEST_P(PresetTest, ApplyingSetsFiveSwitchesLeavesFarmAndMatches)
{
    const PresetCase c = GetParam();
    SettingsModel model(store);
    model.setShowFarm(false);
    ChangeCount spy(model);

    model.applyMode(c.preset);

    EXPECT_EQ(spy.count(), 5);
    EXPECT_EQ(store.showPopular(), c.popular);
    EXPECT_EQ(store.showMatchup(), c.matchup);
    EXPECT_EQ(store.showGold(), c.gold);
    EXPECT_EQ(store.showCooldowns(), c.cooldowns);
    EXPECT_EQ(store.showCombos(), c.combos);
    EXPECT_FALSE(model.showFarm());
    EXPECT_EQ(model.matchingMode(), c.preset);

    model.setShowFarm(true);
    EXPECT_EQ(model.matchingMode(), c.preset);
    model.setShowCooldowns(!c.cooldowns);
    EXPECT_EQ(model.matchingMode(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Presets, PresetTest,
    ::testing::Values(PresetCase {SkillModePreset::beginner, false, true, true, false, true},
        PresetCase {SkillModePreset::pro, true, true, true, true, true},
        PresetCase {SkillModePreset::smurf, false, false, true, true, false}));

TEST_F(SettingsModelTest, AnySwitchAwayFromProIsCustom)
{
    SettingsModel model(store);
    const std::vector<std::function<void(bool)>> switches {[&](bool v) { model.setShowPopular(v); },
        [&](bool v) { model.setShowMatchup(v); }, [&](bool v) { model.setShowGold(v); },
        [&](bool v) { model.setShowCooldowns(v); }, [&](bool v) { model.setShowCombos(v); }};
    for (size_t i = 0; i < switches.size(); ++i) {
        switches[i](false);
        EXPECT_EQ(model.matchingMode(), std::nullopt) << i;
        switches[i](true);
        EXPECT_EQ(model.matchingMode(), SkillModePreset::pro) << i;
    }
}

TEST(SettingsTabTest, RawValuesRoundTripAndOthersGiveNone)
{
    for (auto tab : SettingsModel::allSettingsTabs)
        EXPECT_EQ(SettingsModel::settingsTabFromRawValue(SettingsModel::rawValue(tab)), tab);
    EXPECT_EQ(SettingsModel::rawValue(SettingsModel::SettingsTab::advanced), QStringLiteral("advanced"));
    EXPECT_EQ(SettingsModel::settingsTabFromRawValue(QStringLiteral("Panels")), std::nullopt);
    EXPECT_EQ(SettingsModel::settingsTabFromRawValue(QString()), std::nullopt);
}

} // namespace
} // namespace tolvane
