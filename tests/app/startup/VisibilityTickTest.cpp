// The visibility tick against the panel windows: which panels show for the triggers, switches and
// game modes, where they go (stored centre or default anchor, kept 8 pt inside the game window),
// the zoom from the game window's height, and a panel under a Tab-drag left where it is.
#include "OverlayLoopFixture.h"

#include "app/startup/PanelPlacement.h"
#include "app/startup/ShopKeyPoll.h"
#include "app/startup/VisibilityTick.h"
#include "core/overlay/OverlayGeometry.h"

#include <functional>

namespace tolvane::test {
namespace {

class VisibilityTickTest : public OverlayLoopFixture {
protected:
    // The five click-through panels that are on screen, in the tick's order.
    QString shownOverlays() const
    {
        QStringList names;
        const std::pair<const OverlayWindow*, const char*> all[] {
            {&gold, "gold"}, {&rune, "popular"}, {&counter, "matchup"}, {&farm, "farm"}, {&combo, "combos"}};
        for (const auto& [window, name] : all) {
            if (window->isVisible())
                names << QLatin1String(name);
        }
        return names.join(u' ');
    }

    // Where the window's default anchor puts it in the game window.
    QPointF anchored(const OverlayWindow& window, OverlayWindowPosition position) const
    {
        const QSizeF size = window.frame().size();
        return OverlayGeometry::clamp(OverlayWindow::anchorOrigin(position, game, size, window.layout), size, game);
    }

    VisibilityTick tick {panels, services, overlayScale, goldVM, cooldownVM};
};

struct ShowCase {
    const char* name;
    VisibilityTriggers triggers;
    bool tabDown = false;
    bool latched = false;
    MetaModeRoute mode = MetaModeRoute::summonersRift();
    std::function<void(OverlaySettingsStore&, OverlayLoopState&)> configure = {};
    bool inGame = true;
    const char* shown = "";
};

void PrintTo(const ShowCase& c, std::ostream* os)
{
    *os << c.name;
}

class ShowRules : public VisibilityTickTest, public ::testing::WithParamInterface<ShowCase> { };

TEST_P(ShowRules, ThePanelsDueAreShownAndTheOthersHidden)
{
    const ShowCase& c = GetParam();
    settings.setTriggers(c.triggers);
    holdTab(c.tabDown);
    if (c.latched)
        state.shopLatch.shopKeyEdge();
    if (c.inGame)
        startMatch(c.mode);
    if (c.configure)
        c.configure(settings, state);
    // Everything on screen first, so that hiding is checked as much as showing.
    for (OverlayWindow* window : panels.overlays())
        window->orderFront();

    tick.tick();
    EXPECT_EQ(shownOverlays(), QLatin1String(c.shown));
}

const VisibilityTriggers tabOnly {VisibilityTriggers::tab()};
const VisibilityTriggers shopOnly {VisibilityTriggers::shop()};
const VisibilityTriggers always {VisibilityTriggers::always()};

INSTANTIATE_TEST_SUITE_P(Triggers, ShowRules,
    ::testing::Values(ShowCase {"tab held", tabOnly, true, false, {}, {}, true, "gold popular matchup farm combos"},
        ShowCase {"tab up", tabOnly, false, true, {}, {}, true, ""},
        ShowCase {
            "shop latch shows only the build panels", shopOnly, false, true, {}, {}, true, "popular matchup combos"},
        ShowCase {"shop trigger without the latch", shopOnly, false, false, {}, {}, true, ""},
        ShowCase {"always", always, false, false, {}, {}, true, "gold popular matchup farm combos"},
        ShowCase {"arena hides gold and farm", always, false, false, MetaModeRoute::arena(), {}, true,
            "popular matchup combos"},
        ShowCase {
            "aram hides farm", always, false, false, MetaModeRoute::aram(), {}, true, "gold popular matchup combos"},
        ShowCase {"unsupported mode is neither rift nor arena", always, false, false,
            MetaModeRoute::unsupported(QStringLiteral("TFT")), {}, true, "gold popular matchup combos"},
        ShowCase {"no live game", always, true, true, {}, {}, false, ""},
        ShowCase {"overlay switched off", always, true, true, {},
            [](OverlaySettingsStore&, OverlayLoopState& s) { s.userEnabled = false; }, true, ""},
        ShowCase {"panel switches", always, false, false, {},
            [](OverlaySettingsStore& s, OverlayLoopState&) {
                s.setShowGold(false);
                s.setShowMatchup(false);
                s.setShowCombos(false);
            },
            true, "popular farm"},
        ShowCase {"other switches", always, false, false, {},
            [](OverlaySettingsStore& s, OverlayLoopState&) {
                s.setShowPopular(false);
                s.setShowFarm(false);
            },
            true, "gold matchup combos"}));

TEST_F(VisibilityTickTest, WithoutAGameWindowEveryPanelIsHiddenAndTheZoomKept)
{
    settings.setTriggers(always);
    startMatch();
    cooldownVM.handle(riftSnapshot());
    overlayScale.setScale(1.3);
    tick.tick();
    ASSERT_TRUE(gold.isVisible());
    ASSERT_TRUE(cooldown.isVisible());

    setGameWindow(std::nullopt);
    tick.tick();
    EXPECT_EQ(shownOverlays(), QString());
    EXPECT_FALSE(cooldown.isVisible());
    EXPECT_EQ(overlayScale.scale(), 1.0) << "1440 pt high, from the tick that found the window";
}

struct ScaleCase {
    double height;
    double scale;
};

class ZoomFromHeight : public VisibilityTickTest, public ::testing::WithParamInterface<ScaleCase> { };

TEST_P(ZoomFromHeight, TheZoomIsTheHeightOver1440Clamped)
{
    settings.setTriggers(always);
    startMatch();
    overlayScale.setScale(1.3);
    setGameWindow(QRectF(0, 0, 1000, GetParam().height));
    tick.tick();
    EXPECT_DOUBLE_EQ(overlayScale.scale(), GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Heights, ZoomFromHeight,
    ::testing::Values(ScaleCase {2880, 1.7}, ScaleCase {720, 0.6}, ScaleCase {1000, 1000.0 / 1440},
        ScaleCase {0.5, 1.0}, ScaleCase {1, 1.0}));

TEST_F(VisibilityTickTest, TheZoomIsAssignedOnlyWhenItChanges)
{
    settings.setTriggers(always);
    startMatch();
    int changes = 0;
    QObject::connect(&overlayScale, &OverlayScale::changed, [&] { ++changes; });
    setGameWindow(QRectF(0, 0, 1920, 1080));
    tick.tick();
    tick.tick();
    EXPECT_EQ(changes, 1);
}

TEST_F(VisibilityTickTest, AStoredCentreWinsOverTheAnchorAndIsKeptInsideTheGameWindow)
{
    settings.setTriggers(always);
    startMatch();
    positions.setFraction(PanelID::goldTracker, {0.5, 0.5}, RepositionMode::summonersRift);
    positions.setFraction(PanelID::popularBuild, {1.0, 0.0}, RepositionMode::summonersRift);
    positions.setFraction(PanelID::matchup, {0.25, 0.75}, RepositionMode::aram);
    tick.tick();

    // Centre of the game window: (100 + 1280, 200 + 720), less half the panel.
    EXPECT_EQ(gold.frame().topLeft(), QPointF(1280, 870));
    // The top-right corner, pulled 8 pt inside.
    EXPECT_EQ(rune.frame().topLeft(), QPointF(100 + 2560 - 8 - 200, 200 + 1440 - 8 - 100));
    // Stored for ARAM only: the anchor in Summoner's Rift.
    EXPECT_EQ(counter.frame().topLeft(), anchored(counter, OverlayWindowPosition::rightLower));
    EXPECT_EQ(farm.frame().topLeft(), anchored(farm, OverlayWindowPosition::hudRight));
    EXPECT_EQ(combo.frame().topLeft(), anchored(combo, OverlayWindowPosition::topLeft));
    for (OverlayWindow* window : panels.overlays()) {
        EXPECT_EQ(window->lastProgrammaticOrigin, window->frame().topLeft());
        EXPECT_FALSE(window->isProgrammaticallyMoving);
    }

    // The mode the editor last finished decides, not the running game.
    state.currentMode = RepositionMode::aram;
    tick.tick();
    EXPECT_EQ(counter.frame().topLeft(), QPointF(100 + 640 - 100, 200 + 360 - 50));
    EXPECT_EQ(gold.frame().topLeft(), anchored(gold, OverlayWindowPosition::bottomCenter));
}

TEST_F(VisibilityTickTest, TheRightStackFollowsTheLayoutSetting)
{
    settings.setTriggers(always);
    startMatch();
    tick.tick();
    const QPointF before = rune.frame().topLeft();
    settings.setLayout(RightStackLayout {0.3, 0.2, 40});
    tick.tick();
    EXPECT_EQ(rune.layout, (RightStackLayout {0.3, 0.2, 40}));
    EXPECT_NE(rune.frame().topLeft(), before);
    EXPECT_EQ(rune.frame().topLeft(), anchored(rune, OverlayWindowPosition::rightUpper));
}

TEST_F(VisibilityTickTest, APanelOnScreenWhileTabIsHeldStaysWhereItIsDragged)
{
    settings.setTriggers(always);
    startMatch();
    tick.tick();
    const QPointF placed = gold.frame().topLeft();
    EXPECT_TRUE(gold.ignoresMouseEvents());

    holdTab(true);
    tick.tick();
    EXPECT_FALSE(gold.ignoresMouseEvents()) << "takes the mouse so that it can be dragged";
    gold.setFrameOrigin({700, 700});
    tick.tick();
    EXPECT_EQ(gold.frame().topLeft(), QPointF(700, 700));

    // Without Tab and with nothing stored, back to its anchor on the next tick.
    holdTab(false);
    tick.tick();
    EXPECT_EQ(gold.frame().topLeft(), placed);
    EXPECT_TRUE(gold.ignoresMouseEvents());
}

TEST_F(VisibilityTickTest, APanelSummonedByTabIsPlacedAndRaisedOnceThenLeftAlone)
{
    settings.setTriggers(tabOnly);
    startMatch();
    gold.setFrameOrigin({5, 5});
    holdTab(true);
    tick.tick();
    EXPECT_TRUE(gold.isVisible());
    EXPECT_EQ(gold.frame().topLeft(), anchored(gold, OverlayWindowPosition::bottomCenter));
    const int raises = native.raises;
    EXPECT_EQ(raises, 5);

    gold.setFrameOrigin({900, 900});
    tick.tick();
    EXPECT_EQ(gold.frame().topLeft(), QPointF(900, 900));
    EXPECT_EQ(native.raises, raises) << "a panel already shown is not raised again";

    holdTab(false);
    tick.tick();
    EXPECT_EQ(shownOverlays(), QString());
}

TEST_F(VisibilityTickTest, TheCooldownPanelFollowsItsOwnRuleAndTakesClicks)
{
    settings.setTriggers(tabOnly); // neither trigger nor Tab matters to it
    startMatch();
    cooldownVM.handle(riftSnapshot());
    ASSERT_TRUE(cooldownVM.inGame());
    ASSERT_FALSE(cooldownVM.rows().empty());
    cooldown.setIgnoresMouseEvents(true);

    tick.tick();
    EXPECT_TRUE(cooldown.isVisible());
    EXPECT_FALSE(cooldown.ignoresMouseEvents());
    const QSizeF size = cooldown.frame().size();
    EXPECT_EQ(cooldown.frame().topLeft(),
        OverlayGeometry::clamp(CooldownPanel::anchorOrigin(OverlayWindowPosition::leftCenter, game, size), size, game));
    EXPECT_EQ(shownOverlays(), QString());

    positions.setFraction(PanelID::cooldowns, {0.5, 0.5}, RepositionMode::summonersRift);
    tick.tick();
    EXPECT_EQ(cooldown.frame().topLeft(), QPointF(1280, 870));

    goldVM.setGameMode(MetaModeRoute::aram());
    tick.tick();
    EXPECT_FALSE(cooldown.isVisible()) << "Summoner's Rift only";

    goldVM.setGameMode(MetaModeRoute::summonersRift());
    settings.setShowCooldowns(false);
    tick.tick();
    EXPECT_FALSE(cooldown.isVisible());

    settings.setShowCooldowns(true);
    state.userEnabled = false;
    tick.tick();
    EXPECT_FALSE(cooldown.isVisible());

    state.userEnabled = true;
    cooldownVM.handle(std::nullopt);
    tick.tick();
    EXPECT_FALSE(cooldown.isVisible()) << "no longer in a game";
}

TEST_F(VisibilityTickTest, WhileRepositioningNoPanelIsTouchedButTheZoomFollows)
{
    settings.setTriggers(always);
    startMatch();
    tick.tick();
    rune.orderOut();
    gold.setFrameOrigin({3, 4});

    state.repositionMode = true;
    setGameWindow(QRectF(0, 0, 1920, 1080));
    endMatch();
    settings.setTriggers(tabOnly);
    holdTab(true);
    startMatch();
    tick.tick();
    EXPECT_DOUBLE_EQ(overlayScale.scale(), 0.75);
    EXPECT_FALSE(rune.isVisible());
    EXPECT_TRUE(gold.isVisible());
    EXPECT_EQ(gold.frame().topLeft(), QPointF(3, 4));
}

TEST_F(VisibilityTickTest, WhenTheServiceIsOffEveryPanelIsHiddenWhateverElseHolds)
{
    settings.setTriggers(always);
    startMatch();
    cooldownVM.handle(riftSnapshot());
    tick.tick();
    ASSERT_EQ(shownOverlays(), QStringLiteral("gold popular matchup farm combos"));
    ASSERT_TRUE(cooldown.isVisible());

    state.availabilityDisabled = true;
    tick.tick();
    EXPECT_EQ(shownOverlays(), QString());
    EXPECT_FALSE(cooldown.isVisible());
}

TEST_F(VisibilityTickTest, InAMatchTheLoopsReadTheStoreAgainOnlyOnceItWasWritten)
{
    settings.setTriggers(tabOnly);
    positions.setFraction(PanelID::goldTracker, QPointF(0.5, 0.5), RepositionMode::summonersRift);
    ShopKeyPoll poll {services, goldVM};
    startMatch();
    holdTab(true);
    tick.tick();
    poll.pollShopKeys();
    ASSERT_TRUE(gold.isVisible());

    const int read = defaults->reads;
    for (int i = 0; i < 10; ++i) {
        tick.tick();
        poll.pollShopKeys();
    }
    EXPECT_EQ(defaults->reads, read) << "nothing was written, yet the store was read again";

    settings.setShowGold(false);
    tick.tick();
    EXPECT_FALSE(gold.isVisible()) << "a setting written counts at the next tick";
}

TEST_F(VisibilityTickTest, OutsideAMatchTheTickReadsNeitherTheKeyboardNorTheWindowList)
{
    settings.setTriggers(always);
    for (int i = 0; i < 5; ++i)
        tick.tick();
    EXPECT_EQ(keys.reads, 0);
    EXPECT_EQ(windowList.listings, 0);

    startMatch();
    tick.tick();
    tick.tick();
    EXPECT_EQ(keys.reads, 2) << "Tab, once a tick";
    EXPECT_EQ(windowList.listings, 2);
}

TEST_F(VisibilityTickTest, AHiddenPanelIsMeasuredOnlyOnceItShowsAndIsPlacedAtItsNewSize)
{
    settings.setTriggers(tabOnly);
    startMatch();
    auto& content = static_cast<TestContent&>(*gold.container()->content());
    int measured = 0;
    QObject::connect(gold.container(), &ScaledContainer::sizeReported, [&] { ++measured; });
    for (const double width : {240.0, 260.0, 280.0})
        content.setNaturalSize({width, 120});
    EXPECT_EQ(measured, 0) << "nobody sees it";

    holdTab(true);
    tick.tick();
    ASSERT_TRUE(gold.isVisible());
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(gold.frame().size(), QSizeF(280, 120));
    EXPECT_EQ(gold.frame().topLeft(), anchored(gold, OverlayWindowPosition::bottomCenter));

    content.setNaturalSize({300, 120});
    EXPECT_EQ(measured, 2) << "on screen: measured at once";
}

TEST_F(VisibilityTickTest, TheCooldownPanelTakesTheStoredFormatAndOpacityOnlyWhenTheyDiffer)
{
    cooldownVM.setTimeFormat(CDTimeFormat::minutes);
    int changes = 0;
    QObject::connect(&cooldownVM, &CooldownPanelViewModel::changed, [&] { ++changes; });

    tick.tick();
    EXPECT_EQ(cooldownVM.timeFormat(), CDTimeFormat::minutes) << "no stored format: left alone";
    EXPECT_DOUBLE_EQ(cooldownVM.bgOpacity(), 0.7);
    EXPECT_EQ(changes, 0);

    settings.setCooldownFormat(CDTimeFormat::minutesSeconds);
    settings.setCdPanelOpacity(0.4);
    tick.tick();
    tick.tick();
    EXPECT_EQ(cooldownVM.timeFormat(), CDTimeFormat::minutesSeconds);
    EXPECT_DOUBLE_EQ(cooldownVM.bgOpacity(), 0.4);
    EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace tolvane::test
