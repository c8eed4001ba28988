// Dragged panels stored as their centre's fractions of the game window, per panel and mode in
// use; the application's own placements and moves without Tab store nothing.
#include "OverlayLoopFixture.h"

#include "app/startup/PanelMoveTracker.h"
#include "app/startup/PanelPlacement.h"
#include "app/startup/VisibilityTick.h"

namespace tolvane::test {
namespace {

class PanelMoveTrackerTest : public OverlayLoopFixture {
protected:
    PanelMoveTrackerTest()
    {
        tracker.watch();
        holdTab(true);
    }

    // Moves the window as a drag does: not flagged as the application's own.
    static void drag(PanelWindow& window, QPointF origin) { window.setFrameOrigin(origin); }

    std::optional<QPointF> stored(PanelID panel, RepositionMode mode = RepositionMode::summonersRift) const
    {
        return positions.fraction(panel, mode);
    }

    PanelMoveTracker tracker {panels, services};
};

TEST_F(PanelMoveTrackerTest, ADragToTheGameWindowsCentreStoresHalfAndHalf)
{
    // Centre (1380, 920) for a 200 x 100 panel.
    drag(farm, {1280, 870});
    EXPECT_EQ(stored(PanelID::farmBenchmark), QPointF(0.5, 0.5));

    // Measured from the top-left corner, y downward: a panel low on the left.
    drag(cooldown, {100 + 256 - 100, 200 + 144 - 50});
    EXPECT_EQ(stored(PanelID::cooldowns), QPointF(0.1, 0.9));
    for (const RepositionMode other : {RepositionMode::aram, RepositionMode::arena})
        EXPECT_EQ(stored(PanelID::cooldowns, other), std::nullopt);
}

TEST_F(PanelMoveTrackerTest, FractionsOfAPanelDraggedOutsideAreClamped)
{
    drag(combo, {-2000, 5000});
    EXPECT_EQ(stored(PanelID::combos), QPointF(0.0, 0.0));
    drag(combo, {9000, -900});
    EXPECT_EQ(stored(PanelID::combos), QPointF(1.0, 1.0));
}

TEST_F(PanelMoveTrackerTest, EachPanelIsStoredUnderItsOwnIdentityAndTheModeInUse)
{
    state.currentMode = RepositionMode::arena;
    const std::pair<PanelWindow*, PanelID> all[] {{&gold, PanelID::goldTracker}, {&rune, PanelID::popularBuild},
        {&counter, PanelID::matchup}, {&farm, PanelID::farmBenchmark}, {&combo, PanelID::combos},
        {&cooldown, PanelID::cooldowns}};
    double x = 200;
    for (const auto& [window, id] : all) {
        drag(*window, {x, 870});
        const auto fraction = stored(id, RepositionMode::arena);
        ASSERT_TRUE(fraction.has_value()) << rawValue(id).toStdString();
        EXPECT_DOUBLE_EQ(fraction->x(), (x + 100 - 100) / 2560);
        EXPECT_EQ(stored(id), std::nullopt) << "Summoner's Rift untouched";
        x += 300;
    }
}

TEST_F(PanelMoveTrackerTest, MovesThatAreNotTheUsersDragsStoreNothing)
{
    // The application's own placement.
    PanelPlacement(panels, services).positionPanel(gold, OverlayWindowPosition::bottomCenter, game);
    EXPECT_EQ(stored(PanelID::goldTracker), std::nullopt);

    // Less than a point from where the application put it.
    const QPointF placed = gold.frame().topLeft();
    drag(gold, placed + QPointF(0.9, -0.9));
    EXPECT_EQ(stored(PanelID::goldTracker), std::nullopt);

    // Without Tab.
    holdTab(false);
    drag(gold, {500, 500});
    EXPECT_EQ(stored(PanelID::goldTracker), std::nullopt);

    // Without a game window, or with a degenerate one.
    holdTab(true);
    setGameWindow(std::nullopt);
    drag(gold, {600, 600});
    setGameWindow(QRectF(0, 0, 1920, 1));
    drag(gold, {700, 700});
    EXPECT_EQ(stored(PanelID::goldTracker), std::nullopt);

    // A point or more away on one axis is a drag.
    setGameWindow(game);
    drag(gold, placed + QPointF(1, 0));
    EXPECT_TRUE(stored(PanelID::goldTracker).has_value());
}

TEST_F(PanelMoveTrackerTest, AWindowThatIsNotAPanelIsIgnored)
{
    OverlayWindow stranger {new TestContent(panelSize), overlayScale, {keys, native}};
    stranger.setFrameOrigin({400, 400});
    tracker.windowDidMove(&stranger);
    tracker.windowDidMove(nullptr);
    for (const PanelID id : allPanelIDs)
        EXPECT_EQ(stored(id), std::nullopt);
}

TEST_F(PanelMoveTrackerTest, TheTickPutsADraggedPanelBackWhereItWasLeft)
{
    VisibilityTick tick {panels, services, overlayScale, goldVM, cooldownVM};
    settings.setTriggers(VisibilityTriggers::always());
    startMatch();
    holdTab(false);
    tick.tick();
    ASSERT_TRUE(counter.isVisible());

    holdTab(true);
    tick.tick();
    drag(counter, {900, 640});
    drag(counter, {1001, 702}); // the drag's last move is what stays
    holdTab(false);
    tick.tick();
    EXPECT_EQ(counter.frame().topLeft(), QPointF(1001, 702));
    tick.tick();
    EXPECT_EQ(counter.frame().topLeft(), QPointF(1001, 702));
}

} // namespace
} // namespace tolvane::test
