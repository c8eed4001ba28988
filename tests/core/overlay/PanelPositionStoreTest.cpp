#include "DefaultsBackends.h"

#include "core/advice/MetaQuery.h"
#include "core/overlay/PanelPositionStore.h"

#include <QStringList>
#include <QVariantList>

using namespace tolvane;
using tolvane::test::DefaultsBackendTest;

namespace {

class PanelPositionStoreTest : public DefaultsBackendTest {
protected:
    PanelPositionStore store() const { return PanelPositionStore(defaults); }

    // Every position key of the current layout that holds something.
    QStringList storedKeys() const
    {
        QStringList keys;
        for (RepositionMode mode : allRepositionModes) {
            for (PanelID panel : allPanelIDs) {
                if (defaults->contains(PanelPositionStore::key(panel, mode)))
                    keys << PanelPositionStore::key(panel, mode);
            }
        }
        return keys;
    }

    void fillAllModes()
    {
        for (RepositionMode mode : allRepositionModes) {
            for (PanelID panel : allPanelIDs)
                store().setFraction(panel, {0.25, 0.75}, mode);
        }
    }
};

TEST_P(PanelPositionStoreTest, StoredPointReadsBack)
{
    store().setFraction(PanelID::matchup, {0.5, 0.25}, RepositionMode::summonersRift);
    EXPECT_EQ(store().fraction(PanelID::matchup, RepositionMode::summonersRift), QPointF(0.5, 0.25));
    EXPECT_FALSE(store().fraction(PanelID::matchup, RepositionMode::aram).has_value());
    // Outside the window is kept: the overlay clamps when it places the panel.
    store().setFraction(PanelID::combos, {-0.2, 1.7}, RepositionMode::arena);
    EXPECT_EQ(store().fraction(PanelID::combos, RepositionMode::arena), QPointF(-0.2, 1.7));
}

TEST_P(PanelPositionStoreTest, MalformedValuesReadAsNone)
{
    const QString key = PanelPositionStore::key(PanelID::goldTracker, RepositionMode::summonersRift);
    const QList<QVariant> malformed {
        QVariantList {0.5},
        QVariantList {QStringLiteral("a"), QStringLiteral("b")},
        QVariant(QStringLiteral("0.5, 0.25")),
        QVariantList {true, false},
    };
    for (const QVariant& value : malformed) {
        defaults->set(key, value);
        EXPECT_FALSE(store().fraction(PanelID::goldTracker, RepositionMode::summonersRift).has_value())
            << value.toString().toStdString();
    }
}

TEST_P(PanelPositionStoreTest, NonFinitePositionReadsAsNone)
{
    store().setFraction(
        PanelID::farmBenchmark, {0.5, std::numeric_limits<double>::infinity()}, RepositionMode::summonersRift);
    EXPECT_FALSE(store().fraction(PanelID::farmBenchmark, RepositionMode::summonersRift).has_value());
}

TEST_P(PanelPositionStoreTest, SettingWritesExactlyOneKey)
{
    store().setFraction(PanelID::goldTracker, {0.3, 0.9}, RepositionMode::arena);
    EXPECT_EQ(storedKeys(), QStringList {QStringLiteral("panelFraction.goldTracker.arena")});
}

TEST_P(PanelPositionStoreTest, ClearingOneModeLeavesTheOthers)
{
    fillAllModes();
    store().clear(RepositionMode::aram);
    const QStringList keys = storedKeys();
    EXPECT_EQ(keys.size(), 12);
    EXPECT_TRUE(keys.filter(QStringLiteral(".aram")).isEmpty());
    store().clearAll();
    EXPECT_TRUE(storedKeys().isEmpty());
}

TEST_P(PanelPositionStoreTest, NewFormatClearsOnlyTheFirstTime)
{
    fillAllModes();
    store().clearIfNewFormat();
    EXPECT_TRUE(storedKeys().isEmpty());
    EXPECT_TRUE(defaults->boolValue(PanelPositionStore::formatFlagKey));

    store().setFraction(PanelID::combos, {0.1, 0.1}, RepositionMode::summonersRift);
    store().clearIfNewFormat();
    EXPECT_EQ(store().fraction(PanelID::combos, RepositionMode::summonersRift), QPointF(0.1, 0.1));
}

TEST_P(PanelPositionStoreTest, MigrationMovesEveryLegacyKeyToItsPanel)
{
    const std::pair<const char*, PanelID> table[] = {
        {"topLeft", PanelID::combos},
        {"leftCenter", PanelID::cooldowns},
        {"rightUpper", PanelID::popularBuild},
        {"rightLower", PanelID::matchup},
        {"bottomCenter", PanelID::goldTracker},
        {"hudRight", PanelID::farmBenchmark},
    };
    double x = 0.1;
    for (const auto& [anchor, panel] : table) {
        defaults->set(QStringLiteral("panelFraction.") + QLatin1String(anchor), QVariantList {x, 0.5});
        x += 0.1;
    }
    store().migrateIfNeeded();
    x = 0.1;
    for (const auto& [anchor, panel] : table) {
        EXPECT_FALSE(defaults->contains(QStringLiteral("panelFraction.") + QLatin1String(anchor))) << anchor;
        const auto moved = store().fraction(panel, RepositionMode::summonersRift);
        ASSERT_TRUE(moved.has_value()) << anchor;
        EXPECT_DOUBLE_EQ(moved->x(), x) << anchor;
        x += 0.1;
    }
    EXPECT_EQ(storedKeys().size(), 6);
}

TEST_P(PanelPositionStoreTest, MigrationLeavesBothWhenTheNewKeyExists)
{
    defaults->set(QStringLiteral("panelFraction.rightUpper"), QVariantList {0.9, 0.9});
    store().setFraction(PanelID::popularBuild, {0.2, 0.3}, RepositionMode::summonersRift);
    store().migrateIfNeeded();
    EXPECT_EQ(store().fraction(PanelID::popularBuild, RepositionMode::summonersRift), QPointF(0.2, 0.3));
    EXPECT_TRUE(defaults->contains(QStringLiteral("panelFraction.rightUpper")));
}

TEST_P(PanelPositionStoreTest, MigrationMovesAMalformedValueUnchecked)
{
    defaults->set(QStringLiteral("panelFraction.hudRight"), QStringLiteral("garbage"));
    store().migrateIfNeeded();
    EXPECT_FALSE(defaults->contains(QStringLiteral("panelFraction.hudRight")));
    const QString newKey = PanelPositionStore::key(PanelID::farmBenchmark, RepositionMode::summonersRift);
    EXPECT_EQ(defaults->stringValue(newKey), QStringLiteral("garbage"));
    EXPECT_FALSE(store().fraction(PanelID::farmBenchmark, RepositionMode::summonersRift).has_value());
}

TEST_P(PanelPositionStoreTest, LaunchOrderMigratesThenClearsOnce)
{
    defaults->set(QStringLiteral("panelFraction.topLeft"), QVariantList {0.1, 0.1});
    store().migrateIfNeeded();
    store().clearIfNewFormat();
    EXPECT_TRUE(storedKeys().isEmpty());
    EXPECT_FALSE(defaults->contains(QStringLiteral("panelFraction.topLeft")));
}

TOLVANE_ALL_BACKENDS(PanelPositionStoreTest);

TEST(PanelIDTest, RawValuesRoundTripAndCompareExactly)
{
    for (PanelID panel : allPanelIDs)
        EXPECT_EQ(panelIDFromRawValue(rawValue(panel)), panel);
    for (RepositionMode mode : allRepositionModes)
        EXPECT_EQ(repositionModeFromRawValue(rawValue(mode)), mode);
    EXPECT_FALSE(panelIDFromRawValue(QStringLiteral("Combos")).has_value());
    EXPECT_FALSE(repositionModeFromRawValue(QStringLiteral("SR")).has_value());
    EXPECT_FALSE(repositionModeFromRawValue(QStringLiteral("summonersRift")).has_value());
    EXPECT_EQ(rawValue(RepositionMode::summonersRift), QStringLiteral("sr"));
    EXPECT_EQ(rawValue(PanelID::farmBenchmark), QStringLiteral("farmBenchmark"));
}

TEST(PanelIDTest, GameRoutesPickTheirPositionMode)
{
    EXPECT_EQ(repositionModeFromRoute(MetaModeRoute::aram()), RepositionMode::aram);
    EXPECT_EQ(repositionModeFromRoute(MetaModeRoute::arena()), RepositionMode::arena);
    EXPECT_EQ(repositionModeFromRoute(MetaModeRoute::summonersRift()), RepositionMode::summonersRift);
    EXPECT_EQ(
        repositionModeFromRoute(MetaModeRoute::unsupported(QStringLiteral("URF"))), RepositionMode::summonersRift);
    EXPECT_EQ(repositionModeFromRoute(resolveMetaMode(std::nullopt, 30)), RepositionMode::arena);
}

} // namespace
