#include "DefaultsBackends.h"

#include "core/overlay/RepositionEditorModel.h"

#include <optional>

using namespace tolvane;
using tolvane::test::DefaultsBackendTest;

namespace {

const PanelSizes sizes1080 = {
    {PanelID::combos, {135, 90}},
    {PanelID::cooldowns, {165, 210}},
    {PanelID::popularBuild, {165, 300}},
    {PanelID::matchup, {165, 200}},
    {PanelID::goldTracker, {234, 100}},
    {PanelID::farmBenchmark, {150, 82.5}},
};

class RepositionEditorModelTest : public DefaultsBackendTest {
protected:
    RepositionEditorModel& open(PanelPoints initial = {}, PanelSizes sizes = sizes1080, QSizeF game = {1920, 1080})
    {
        model.emplace(game, std::move(sizes), std::move(initial), PanelPositionStore(defaults),
            OverlaySettingsStore(defaults), [this](PanelPoints centers, RepositionMode mode) {
                ++doneCalls;
                doneCenters = std::move(centers);
                doneMode = mode;
            });
        model->appear();
        return *model;
    }

    void drag(PanelID id, QPointF translation)
    {
        model->dragChanged(id, model->chipSize(id), translation);
        model->dragEnded(id);
    }

    PanelPositionStore positions() const { return PanelPositionStore(defaults); }

    std::optional<RepositionEditorModel> model;
    int doneCalls = 0;
    PanelPoints doneCenters;
    std::optional<RepositionMode> doneMode;
};

TEST_P(RepositionEditorModelTest, OpensWithDefaultsOrInitialPositions)
{
    RepositionEditorModel& m = open({{PanelID::goldTracker, {960, 270}}});
    EXPECT_EQ(m.chipCenters().size(), 6u);
    EXPECT_EQ(m.chipCenter(PanelID::goldTracker), QPointF(960, 270));
    for (PanelID id :
        {PanelID::combos, PanelID::cooldowns, PanelID::popularBuild, PanelID::matchup, PanelID::farmBenchmark})
        EXPECT_EQ(m.chipCenter(id), m.defaultCenter(id));
    EXPECT_EQ(m.activeMode(), RepositionMode::summonersRift);
    EXPECT_EQ(m.undoCount(), 0);
}

TEST_P(RepositionEditorModelTest, DefaultCentreIsTheCornerPlusHalfTheChip)
{
    RepositionEditorModel& m = open();
    const QPointF gold = m.defaultCenter(PanelID::goldTracker);
    EXPECT_DOUBLE_EQ(gold.x(), 1017.48);
    EXPECT_DOUBLE_EQ(gold.y(), 920.48);
    // The farm chip reaches past the bottom edge; defaults are not clamped, neither when the
    // editor opens nor when Done stores them untouched.
    const QPointF farm = m.defaultCenter(PanelID::farmBenchmark);
    EXPECT_DOUBLE_EQ(farm.x(), 1920 * 0.68 + 75);
    EXPECT_DOUBLE_EQ(farm.y(), 1080 * 0.952 + 82.5 / 2);
    EXPECT_GT(farm.y() + 82.5 / 2, 1080);
    EXPECT_EQ(m.chipCenter(PanelID::farmBenchmark), farm);
    m.performDone();
    const auto stored = positions().fraction(PanelID::farmBenchmark, RepositionMode::summonersRift);
    ASSERT_TRUE(stored.has_value());
    EXPECT_NEAR(stored->y(), 0.990, 0.0005);
}

TEST_P(RepositionEditorModelTest, PositionsPastAnEdgeOpenAndAreStoredUnmoved)
{
    positions().setFraction(PanelID::goldTracker, {0.5, 1.2}, RepositionMode::aram);
    RepositionEditorModel& m = open({{PanelID::combos, {-40, 500}}}, sizes1080, {1366, 768});
    EXPECT_EQ(m.chipCenter(PanelID::combos), QPointF(-40, 500));
    m.switchMode(RepositionMode::aram);
    EXPECT_EQ(m.chipCenter(PanelID::goldTracker), QPointF(683, 768 * 1.2));
    m.performDone();
    const auto gold = positions().fraction(PanelID::goldTracker, RepositionMode::aram);
    ASSERT_TRUE(gold.has_value());
    EXPECT_NEAR(gold->y(), 1.2, 1e-12);
    const auto combos = positions().fraction(PanelID::combos, RepositionMode::summonersRift);
    ASSERT_TRUE(combos.has_value());
    EXPECT_NEAR(combos->x(), -40.0 / 1366, 1e-12);
}

TEST_P(RepositionEditorModelTest, MissingSizeGivesTheFallbackChip)
{
    RepositionEditorModel& m = open({}, {});
    EXPECT_EQ(m.chipSize(PanelID::combos), QSizeF(120, 60));
    const QPointF combos = m.defaultCenter(PanelID::combos);
    EXPECT_DOUBLE_EQ(combos.x(), 1920 * 0.006 + 60);
    EXPECT_DOUBLE_EQ(combos.y(), 1080 * 0.011 + 30);
}

TEST_P(RepositionEditorModelTest, DragsAreClampedToTheGameArea)
{
    RepositionEditorModel& m = open({}, {{PanelID::combos, {200, 100}}});
    m.dragChanged(PanelID::combos, {200, 100}, {-5000, -5000});
    EXPECT_EQ(m.chipCenter(PanelID::combos), QPointF(100, 50));
    m.dragChanged(PanelID::combos, {200, 100}, {5000, 5000});
    EXPECT_EQ(m.chipCenter(PanelID::combos), QPointF(1820, 1030));
    m.dragEnded(PanelID::combos);

    RepositionEditorModel& narrow = open({}, {{PanelID::combos, {200, 100}}}, {150, 1080});
    narrow.dragChanged(PanelID::combos, {200, 100}, {-500, 0});
    EXPECT_EQ(narrow.chipCenter(PanelID::combos).x(), 50); // the upper bound wins
}

TEST_P(RepositionEditorModelTest, LinkedMatchupFollowsPopularBuildUnclamped)
{
    RepositionEditorModel& m = open();
    const QPointF start = m.chipCenter(PanelID::popularBuild);
    m.dragChanged(PanelID::popularBuild, m.chipSize(PanelID::popularBuild), QPointF(-100, 400 - start.y()));
    EXPECT_EQ(m.chipCenter(PanelID::popularBuild), QPointF(start.x() - 100, 400));
    EXPECT_EQ(m.chipCenter(PanelID::matchup), QPointF(start.x() - 100, 400 + 150 + 12 + 100));

    m.dragChanged(PanelID::popularBuild, m.chipSize(PanelID::popularBuild), QPointF(0, 5000));
    const double bottom = 1080 - 150;
    EXPECT_EQ(m.chipCenter(PanelID::popularBuild).y(), bottom);
    EXPECT_EQ(m.chipCenter(PanelID::matchup).y(), bottom + 262); // past the bottom edge
}

TEST_P(RepositionEditorModelTest, DraggingMatchupBreaksTheLinkAndStoresIt)
{
    RepositionEditorModel& m = open();
    drag(PanelID::popularBuild, {0, -100});
    const QPointF pulled = m.chipCenter(PanelID::matchup);

    m.dragChanged(PanelID::matchup, m.chipSize(PanelID::matchup), {-30, 0});
    EXPECT_FALSE(m.twoBuildLinked());
    EXPECT_TRUE(defaults->contains(OverlaySettingsStore::Keys::twoBuildLinked));
    EXPECT_FALSE(OverlaySettingsStore(defaults).twoBuildLinked());
    // It moves from where it was pulled to.
    EXPECT_EQ(m.chipCenter(PanelID::matchup), pulled + QPointF(-30, 0));
    m.dragEnded(PanelID::matchup);

    drag(PanelID::popularBuild, {0, 50});
    EXPECT_EQ(m.chipCenter(PanelID::matchup), pulled + QPointF(-30, 0));
}

TEST_P(RepositionEditorModelTest, LinkNeedsThePopularBuildSize)
{
    PanelSizes sizes = sizes1080;
    sizes.erase(PanelID::popularBuild);
    RepositionEditorModel& m = open({}, sizes);
    const QPointF matchup = m.chipCenter(PanelID::matchup);
    drag(PanelID::popularBuild, {0, 40});
    EXPECT_EQ(m.chipCenter(PanelID::matchup), matchup);
}

TEST_P(RepositionEditorModelTest, LinkToggleIsStoredAndDoesNotMoveTheMatchup)
{
    OverlaySettingsStore(defaults).setTwoBuildLinked(false);
    RepositionEditorModel& m = open();
    EXPECT_FALSE(m.twoBuildLinked());
    const QPointF matchup = m.chipCenter(PanelID::matchup);
    m.toggleLink();
    EXPECT_TRUE(m.twoBuildLinked());
    EXPECT_TRUE(OverlaySettingsStore(defaults).twoBuildLinked());
    EXPECT_EQ(m.chipCenter(PanelID::matchup), matchup);
}

TEST_P(RepositionEditorModelTest, UndoStepsOnlyForRealMovesAndRestoreEveryChip)
{
    RepositionEditorModel& m = open();
    m.dragChanged(PanelID::combos, m.chipSize(PanelID::combos), {50, 0});
    m.dragChanged(PanelID::combos, m.chipSize(PanelID::combos), {0, 0});
    m.dragEnded(PanelID::combos);
    EXPECT_EQ(m.undoCount(), 0);

    drag(PanelID::combos, {50, 20});
    const PanelPoints afterFirst = m.chipCenters();
    drag(PanelID::popularBuild, {-200, 0}); // linked: the matchup chip moves too
    EXPECT_EQ(m.undoCount(), 2);

    m.performUndo();
    EXPECT_EQ(m.undoCount(), 1);
    for (const auto& [id, center] : afterFirst) {
        EXPECT_NEAR(m.chipCenter(id).x(), center.x(), 1e-9) << rawValue(id).toStdString();
        EXPECT_NEAR(m.chipCenter(id).y(), center.y(), 1e-9) << rawValue(id).toStdString();
    }
    m.performUndo();
    m.performUndo(); // nothing left: no-op
    EXPECT_EQ(m.undoCount(), 0);
    EXPECT_NEAR(m.chipCenter(PanelID::combos).x(), m.defaultCenter(PanelID::combos).x(), 1e-9);
    EXPECT_FALSE(defaults->contains(PanelPositionStore::key(PanelID::combos, RepositionMode::summonersRift)));
}

TEST_P(RepositionEditorModelTest, SwitchingModesStoresAndKeepsUndoPerMode)
{
    RepositionEditorModel& m = open();
    drag(PanelID::goldTracker, {-117.48, -650.48}); // to (900, 270)
    m.switchMode(RepositionMode::aram);

    const auto stored = positions().fraction(PanelID::goldTracker, RepositionMode::summonersRift);
    ASSERT_TRUE(stored.has_value());
    EXPECT_NEAR(stored->x(), 900.0 / 1920, 1e-12);
    EXPECT_NEAR(stored->y(), 0.25, 1e-12);
    EXPECT_EQ(m.activeMode(), RepositionMode::aram);
    EXPECT_EQ(m.undoCount(), 0);
    EXPECT_EQ(m.chipCenter(PanelID::goldTracker), m.defaultCenter(PanelID::goldTracker));

    drag(PanelID::combos, {10, 10});
    drag(PanelID::combos, {10, 10});
    EXPECT_EQ(m.undoCount(), 2);
    m.switchMode(RepositionMode::summonersRift);
    EXPECT_EQ(m.undoCount(), 1);
    EXPECT_NEAR(m.chipCenter(PanelID::goldTracker).x(), 900, 1e-9);
    m.switchMode(RepositionMode::aram);
    EXPECT_EQ(m.undoCount(), 2);
}

TEST_P(RepositionEditorModelTest, ResetClearsTheModeAtOnce)
{
    RepositionEditorModel& m = open();
    positions().setFraction(PanelID::combos, {0.5, 0.5}, RepositionMode::aram);
    drag(PanelID::goldTracker, {-100, -100});
    m.switchMode(RepositionMode::summonersRift); // the tab of the active mode stores its centres too
    drag(PanelID::goldTracker, {-100, -100});
    ASSERT_EQ(m.undoCount(), 2);
    ASSERT_TRUE(positions().fraction(PanelID::goldTracker, RepositionMode::summonersRift).has_value());

    m.performReset();
    EXPECT_EQ(m.undoCount(), 0);
    EXPECT_EQ(m.chipCenters(), m.defaultChipCenters());
    for (PanelID id : allPanelIDs)
        EXPECT_FALSE(positions().fraction(id, RepositionMode::summonersRift).has_value());
    EXPECT_TRUE(positions().fraction(PanelID::combos, RepositionMode::aram).has_value());
}

TEST_P(RepositionEditorModelTest, DoneStoresAllSixAndReportsOnce)
{
    RepositionEditorModel& m = open();
    m.switchMode(RepositionMode::aram);
    drag(PanelID::farmBenchmark, {-300, -300});
    m.performDone();
    m.performDone();

    EXPECT_EQ(doneCalls, 1);
    EXPECT_EQ(doneMode, RepositionMode::aram);
    EXPECT_EQ(doneCenters.size(), 6u);
    EXPECT_EQ(doneCenters, m.chipCenters());
    EXPECT_EQ(m.undoCount(), 0);
    for (PanelID id : allPanelIDs) {
        const auto stored = positions().fraction(id, RepositionMode::aram);
        ASSERT_TRUE(stored.has_value()) << rawValue(id).toStdString();
        EXPECT_NEAR(stored->x() * 1920, m.chipCenter(id).x(), 1e-9);
        EXPECT_NEAR(stored->y() * 1080, m.chipCenter(id).y(), 1e-9);
    }
}

TEST_P(RepositionEditorModelTest, EmptyGameAreaStoresNoBrokenFractions)
{
    positions().setFraction(PanelID::combos, {0.1, 0.2}, RepositionMode::summonersRift);
    RepositionEditorModel& m = open({}, sizes1080, {0, 0});
    m.performDone();
    EXPECT_EQ(doneCalls, 1);
    EXPECT_EQ(positions().fraction(PanelID::combos, RepositionMode::summonersRift), QPointF(0.1, 0.2));
    EXPECT_FALSE(defaults->contains(PanelPositionStore::key(PanelID::goldTracker, RepositionMode::summonersRift)));
}

TOLVANE_ALL_BACKENDS(RepositionEditorModelTest);

TEST(RepositionChipSizesTest, DefaultsScaleWithTheGameHeight)
{
    const PanelSizes sizes = RepositionEditorModel::chipSizesFor(1440, {});
    EXPECT_EQ(sizes.size(), 6u);
    EXPECT_EQ(sizes.at(PanelID::combos), QSizeF(180, 120));
    EXPECT_EQ(sizes.at(PanelID::farmBenchmark), QSizeF(200, 110));
}

TEST(RepositionChipSizesTest, LiveBuildWindowsShareTheWidestWidth)
{
    const PanelSizes sizes = RepositionEditorModel::chipSizesFor(
        1080, {{PanelID::popularBuild, {276, 410}}, {PanelID::matchup, {298, 330}}, {PanelID::combos, {40, 200}}});
    EXPECT_EQ(sizes.at(PanelID::popularBuild), QSizeF(298, 410));
    EXPECT_EQ(sizes.at(PanelID::matchup), QSizeF(298, 330));
    EXPECT_EQ(sizes.at(PanelID::combos), QSizeF(135, 200)); // 40 wide is too small: default width

    const PanelSizes narrow = RepositionEditorModel::chipSizesFor(
        1080, {{PanelID::popularBuild, {40, 410}}, {PanelID::matchup, {40, 330}}});
    EXPECT_EQ(narrow.at(PanelID::popularBuild).width(), 165);
    EXPECT_EQ(narrow.at(PanelID::matchup).width(), 165);
}

TEST(RepositionInitialPositionsTest, OnlySummonersRiftFractionsInPoints)
{
    auto defaults = std::make_shared<InMemoryUserDefaults>();
    PanelPositionStore store(defaults);
    store.setFraction(PanelID::goldTracker, {0.5, 0.25}, RepositionMode::summonersRift);
    store.setFraction(PanelID::combos, {0.5, 0.25}, RepositionMode::aram);
    store.setFraction(PanelID::matchup, {0.5, 0.25}, RepositionMode::arena);
    const PanelPoints initial = RepositionEditorModel::initialPositionsFor({1920, 1080}, store);
    EXPECT_EQ(initial, (PanelPoints {{PanelID::goldTracker, {960, 270}}}));
}

} // namespace
