// The application delegate on Qt's offscreen platform with fake key state, window list, window
// flags and alerts, an in-memory settings store, and its network answers handed in: the launch,
// the item-id check, the availability switch, the overlay switch and the reposition wiring.

#include "AppDelegateFixture.h"
#include "Await.h"
#include "LogCapture.h"

#include "app/champselect/ChampSelectViewModel.h"
#include "app/mainwindow/AppNotifications.h"
#include "app/mainwindow/MainWindowChrome.h"
#include "app/mainwindow/MainWindowController.h"
#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/CounterBuildViewModel.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/RuneBuildViewModel.h"
#include "app/windows/CooldownPanel.h"
#include "app/windows/OverlayWindow.h"
#include "app/windows/RepositionOverlayController.h"
#include "app/windows/RepositionOverlayView.h"
#include "core/knowledge/CounterRules.h"
#include "core/knowledge/ItemCatalog.h"
#include "core/overlay/KeyCodes.h"

#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using namespace std::chrono_literals;

// A catalog that knows every id of the shipped counter rules.
ItemCatalog catalogKnowingRules()
{
    ItemCatalog catalog;
    for (int64_t id : CounterRulesLoader().load().allItemIDs())
        catalog.totalCostByID[id] = 1000;
    catalog.totalCostByID[1001] = 300;
    return catalog;
}

QStringList actionTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

class AppDelegateTest : public test::AppDelegateFixture {
protected:
    AppDelegateTest()
    {
        catalog = catalogKnowingRules();
        // Most tests are about the overlay; the main window opens only where a test asks. The
        // tray shows the status item, so the stored flag decides.
        trayAvailable = true;
        defaults->set(OverlaySettingsStore::Keys::mainWindowDismissed, true);
    }

    void writeGameConfig(const QByteArray& text)
    {
        QFile file(dir.filePath(QStringLiteral("game.cfg")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // A Summoner's Rift match in a 1440 pt game window, with the panels always shown.
    void startMatch()
    {
        windows.windows = std::vector<WindowInfo> {
            {QStringLiteral("League of Legends"), QString(), 0, QRectF(0, 0, 2560, 1440), 0}};
        OverlaySettingsStore(defaults).setTriggers(VisibilityTriggers::always());
        delegate->goldVM().setSummary(GoldSpentTracker::Summary {});
    }

    std::vector<PanelWindow*> allSix() const
    {
        const auto all = delegate->panelWindows().all();
        return {all.begin(), all.end()};
    }
    int visibleCount() const
    {
        const std::vector<PanelWindow*> windows = allSix();
        return static_cast<int>(
            std::count_if(windows.begin(), windows.end(), [](const PanelWindow* w) { return w->isVisible(); }));
    }

    test::LogCapture logs;
};

TEST_F(AppDelegateTest, LaunchBuildsHiddenPanelsMenusAndBothLoops)
{
    AppDelegate& app = launch();

    const OverlayPanels& panels = app.panelWindows();
    for (OverlayWindow* w : panels.overlays())
        ASSERT_NE(w, nullptr);
    ASSERT_NE(panels.cooldown, nullptr);
    EXPECT_EQ(visibleCount(), 0);
    // The panels keep the widths their views were given (gold 234, matchup 248, farm 200).
    EXPECT_NEAR(panels.counter->frame().width() - panels.gold->frame().width(), 14, 0.5);
    EXPECT_NEAR(panels.gold->frame().width() - panels.farm->frame().width(), 34, 0.5);

    ASSERT_NE(app.visTimer(), nullptr);
    ASSERT_NE(app.keyPollTimer(), nullptr);
    EXPECT_EQ(app.visTimer()->interval(), 120);
    EXPECT_EQ(app.keyPollTimer()->interval(), 20);
    // Both loops run only while a match does; its end hides what showed.
    EXPECT_FALSE(app.visTimer()->isActive());
    EXPECT_FALSE(app.keyPollTimer()->isActive());
    app.goldVM().setSummary(GoldSpentTracker::Summary {});
    EXPECT_TRUE(app.visTimer()->isActive());
    EXPECT_TRUE(app.keyPollTimer()->isActive());
    app.goldVM().setSummary(std::nullopt);
    EXPECT_FALSE(app.visTimer()->isActive());
    EXPECT_FALSE(app.keyPollTimer()->isActive());

    // No tray under the offscreen platform: the menu exists all the same.
    EXPECT_EQ(app.statusItem(), nullptr);
    ASSERT_NE(app.statusMenu(), nullptr);
    EXPECT_EQ(actionTexts(*app.statusMenu()).first(), QStringLiteral("Open Tolvane"));
    ASSERT_NE(app.mainMenu(), nullptr);
    const QList<QAction*> top = app.mainMenu()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(actionTexts(*top[0]->menu()),
        (QStringList {QStringLiteral("About Tolvane"), QStringLiteral("-"), QStringLiteral("Open Tolvane"),
            QStringLiteral("-"), QStringLiteral("Hide Tolvane"), QStringLiteral("Quit Tolvane")}));
    EXPECT_EQ(actionTexts(*top[1]->menu()), (QStringList {QStringLiteral("Close"), QStringLiteral("Minimize")}));

    // Dismissed before: only the status item remains.
    EXPECT_FALSE(app.hasMainWindowController());
    EXPECT_FALSE(app.champVM().isPolling());
}

// Where the key state tells of each change, the shop-key poll makes the match's first reading
// and then rests: each key is read as it moves, and each press still turns into the latch.
TEST_F(AppDelegateTest, TheKeyPollRestsWhileNoKeyMoves)
{
    keys.tellsChanges = true;
    AppDelegate& app = launch();
    QTimer* poll = app.keyPollTimer();
    ASSERT_NE(poll, nullptr);
    EXPECT_FALSE(keys.watched());

    app.goldVM().setSummary(GoldSpentTracker::Summary {});
    EXPECT_TRUE(keys.watched());
    EXPECT_TRUE(poll->isActive()); // the match's first reading
    ASSERT_TRUE(test::spinUntil([&] { return !poll->isActive(); }));

    // A key is read at once rather than a turn later, and wakes no poll.
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, true);
    EXPECT_TRUE(app.loopState().shopLatch.isLatched());
    EXPECT_FALSE(poll->isActive());
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, false);
    // So a tap that is up again before any turn could come still counts, and unlatches: the
    // release before it was read. As do taps right after another key moved.
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, true);
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, false);
    EXPECT_FALSE(app.loopState().shopLatch.isLatched());
    keys.setDown(VirtualKey::tab, true);
    keys.setDown(VirtualKey::tab, false);
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, true);
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, false);
    EXPECT_TRUE(app.loopState().shopLatch.isLatched());
    keys.setDown(VirtualKey::escape, true);
    keys.setDown(VirtualKey::escape, false);
    EXPECT_FALSE(app.loopState().shopLatch.isLatched());
    EXPECT_FALSE(poll->isActive());

    // The match ends with the key held, and it is let go in between.
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, true);
    ASSERT_TRUE(test::spinUntil([&] { return app.loopState().shopLatch.isLatched(); }));
    app.goldVM().setSummary(std::nullopt);
    EXPECT_FALSE(keys.watched());
    EXPECT_FALSE(poll->isActive());
    // Between matches a key moving wakes nothing.
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, false);
    EXPECT_FALSE(poll->isActive());

    // The next match reads where the keys stand before any moves, so its first press counts.
    app.goldVM().setSummary(GoldSpentTracker::Summary {});
    ASSERT_TRUE(test::spinUntil([&] { return !poll->isActive(); }));
    keys.setDown(OverlaySettingsStore::Defaults::shopKeyCode, true);
    ASSERT_TRUE(test::spinUntil([&] { return app.loopState().shopLatch.isLatched(); }));

    // Nothing is left watching for a delegate that is gone.
    delegate.reset();
    EXPECT_FALSE(keys.watched());
}

TEST_F(AppDelegateTest, MainWindowOpensOnTheLiveTabAndReopensOnTheLastOne)
{
    defaults->set(OverlaySettingsStore::Keys::mainWindowDismissed, false);
    AppDelegate& app = launch();

    ASSERT_TRUE(app.hasMainWindowController());
    MainWindowController& main = app.mainWindowController();
    EXPECT_TRUE(main.window()->isVisible());
    EXPECT_EQ(main.chrome().selection(), MainTab::live);
    EXPECT_EQ(main.window()->menuBar(), app.mainMenu());
    EXPECT_TRUE(app.champVM().isPolling());

    app.openSettings();
    main.window()->hide();
    EXPECT_TRUE(app.applicationShouldHandleReopen());
    EXPECT_TRUE(main.window()->isVisible());
    EXPECT_EQ(main.chrome().selection(), MainTab::settings);
    // One controller for the life of the process.
    EXPECT_EQ(&app.mainWindowController(), &main);
}

TEST_F(AppDelegateTest, WithoutATrayTheWindowIsTheWayInWhateverWasStored)
{
    trayAvailable = false;
    AppDelegate& app = launch();
    ASSERT_TRUE(app.hasMainWindowController());
    EXPECT_TRUE(app.mainWindowController().window()->isVisible());
}

// "Quit Tolvane" from the status menu (true) or the application menu (false).
class QuitTest : public AppDelegateTest, public ::testing::WithParamInterface<bool> { };

TEST_P(QuitTest, QuittingIsNoDismissalTheNextLaunchOpensTheWindow)
{
    defaults->set(OverlaySettingsStore::Keys::mainWindowDismissed, false);
    AppDelegate& app = launch();
    QMainWindow* window = app.mainWindowController().window();
    ASSERT_TRUE(window->isVisible());

    QAction* quit
        = GetParam() ? app.statusMenu()->actions().last() : app.mainMenu()->actions()[0]->menu()->actions().last();
    ASSERT_EQ(quit->text(), QStringLiteral("Quit Tolvane"));
    QTimer::singleShot(0, quit, &QAction::trigger);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    watchdog.start(30s);
    ASSERT_EQ(QCoreApplication::exec(), 0);
    // Qt closed the window on the way out.
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(OverlaySettingsStore(defaults).mainWindowDismissed());

    delegate.reset();
    EXPECT_TRUE(launch().mainWindowController().window()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Menus, QuitTest, ::testing::Bool());

struct FormatCase {
    const char* name;
    std::optional<const char*> stored;
    std::optional<QByteArray> gameConfig;
    CDTimeFormat expected;
};

class LaunchCooldownFormat : public AppDelegateTest, public ::testing::WithParamInterface<FormatCase> { };

TEST_P(LaunchCooldownFormat, IsSettledStoredAndGivenToThePanel)
{
    const FormatCase& c = GetParam();
    if (c.stored)
        defaults->set(OverlaySettingsStore::Keys::cooldownFormat, QString::fromLatin1(*c.stored));
    if (c.gameConfig)
        writeGameConfig(*c.gameConfig);
    defaults->set(OverlaySettingsStore::Keys::cdPanelOpacity, 0.45);

    AppDelegate& app = launch();

    EXPECT_EQ(OverlaySettingsStore(defaults).cooldownFormat(), c.expected);
    EXPECT_EQ(app.cooldownVM().timeFormat(), c.expected);
    EXPECT_DOUBLE_EQ(app.cooldownVM().bgOpacity(), 0.45);
}

INSTANTIATE_TEST_SUITE_P(Sources, LaunchCooldownFormat,
    ::testing::Values(
        // A stored choice wins: the game's file is not consulted.
        FormatCase {"storedWins", "minutes", QByteArray("NumericCooldownFormat=0\n"), CDTimeFormat::minutes},
        FormatCase {"fromGame", std::nullopt, QByteArray("Other=1\r\nNumericCooldownFormat = 0\r\n"),
            CDTimeFormat::minutesSeconds},
        FormatCase {"noGame", std::nullopt, std::nullopt, CDTimeFormat::seconds}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppDelegateTest, ItemCatalogReachesTheThreeModelsAndIsChecked)
{
    AppDelegate& app = launch();
    ASSERT_TRUE(test::spinUntil([&] { return !app.counterVM().itemCatalog().totalCostByID.empty(); }));
    EXPECT_EQ(app.runeVM().itemCatalog(), catalog);
    EXPECT_EQ(app.champVM().itemCatalog(), catalog);
    const auto ids = app.counterVM().rules().allItemIDs();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(logs.count(
                  QStringLiteral("item-id canary: all %1 curated counter-rule ids present in DDragon").arg(ids.size())),
        1);
}

TEST_F(AppDelegateTest, DataDragonOutageLeavesEmptyCatalogsAndSaysSoOnce)
{
    catalog = ItemCatalog();
    AppDelegate& app = launch();
    const QString skipped = QStringLiteral(
        "item-id canary: DDragon catalog empty (load failed or warm-up) — curated-id validation skipped");
    test::spinUntil([&] { return logs.count(skipped) > 0; });
    EXPECT_TRUE(app.counterVM().itemCatalog().totalCostByID.empty());
    EXPECT_TRUE(app.champVM().itemCatalog().totalCostByID.empty());
    EXPECT_EQ(logs.count(skipped), 1);
}

TEST(ItemIDCanary, MissingIdsAreNamedByTheirFirstRule)
{
    CounterRules rules;
    const auto rule = [](int64_t id, QString name) {
        CounterRules::ItemRule r;
        r.id = id;
        r.name = std::move(name);
        return r;
    };
    rules.items = {rule(3075, QStringLiteral("Thornmail")), rule(3111, QStringLiteral("Mercury's Treads")),
        rule(3075, QStringLiteral("Thorns (old)"))};
    ItemCatalog catalog;
    catalog.totalCostByID[3111] = 1100;

    test::LogCapture logs;
    AppDelegate::runItemIDCanary(catalog, rules);

    const QList<test::LogLine> lines = logs.lines(QStringLiteral("startup"));
    ASSERT_EQ(lines.size(), 2); // the id is listed twice in the rules
    for (const test::LogLine& line : lines) {
        EXPECT_EQ(line.type, QtCriticalMsg);
        EXPECT_EQ(line.message,
            QStringLiteral("item-id ROT: curated id 3075 ('Thornmail') absent from DDragon — icon falls back to "
                           "name; update counter-rules.json"));
    }
}

TEST_F(AppDelegateTest, RemoteSwitchTurnsTheAppOffWithOneAlert)
{
    defaults->set(OverlaySettingsStore::Keys::mainWindowDismissed, false);
    availability = AppAvailability::Status::disabled(QStringLiteral("Down for maintenance"));
    AppDelegate& app = launch();
    ASSERT_TRUE(test::spinUntil([&] { return app.loopState().availabilityDisabled; }));

    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, QStringLiteral("Tolvane is unavailable"));
    EXPECT_EQ(alerts.shown[0].informative, QStringLiteral("Down for maintenance"));
    EXPECT_FALSE(app.champVM().isPolling());
    EXPECT_FALSE(app.mainWindowController().window()->isVisible());
    const QStringList menu = actionTexts(*app.statusMenu());
    EXPECT_EQ(menu.first(), QStringLiteral("Tolvane is unavailable"));
    EXPECT_FALSE(app.statusMenu()->actions()[3]->isEnabled());

    // Even in a match, nothing shows.
    startMatch();
    keys.setDown(VirtualKey::tab, true);
    app.tick();
    EXPECT_EQ(visibleCount(), 0);

    app.applyAvailability(AppAvailability::Status::disabled(QStringLiteral("again")));
    EXPECT_EQ(alerts.shown.size(), 1u);

    // The main window can still be opened, and starts the assistant again.
    app.openMain();
    EXPECT_TRUE(app.champVM().isPolling());
}

TEST_F(AppDelegateTest, AvailableAnswerChangesNothing)
{
    AppDelegate& app = launch();
    test::spinFor(20ms);
    EXPECT_FALSE(app.loopState().availabilityDisabled);
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(actionTexts(*app.statusMenu()).first(), QStringLiteral("Open Tolvane"));
}

TEST_F(AppDelegateTest, OverlaySwitchHidesAndBringsBackThePanels)
{
    AppDelegate& app = launch();
    startMatch();
    app.tick();
    const int shown = visibleCount();
    ASSERT_GT(shown, 0);

    app.toggleEnabled();
    EXPECT_FALSE(app.statusMenu()->actions()[1]->isChecked());
    app.tick();
    EXPECT_EQ(visibleCount(), 0);

    app.toggleEnabled();
    EXPECT_TRUE(app.statusMenu()->actions()[1]->isChecked());
    app.tick();
    EXPECT_EQ(visibleCount(), shown);
}

TEST_F(AppDelegateTest, APanelWithNothingToShowIsNotPutOnScreen)
{
    AppDelegate& app = launch();
    startMatch();
    app.tick();
    // No local player: the combos panel has no combos to show, though it is due.
    const OverlayPanels& panels = app.panelWindows();
    EXPECT_TRUE(panels.gold->isVisible());
    EXPECT_FALSE(panels.combo->isVisible());
    app.tick();
    EXPECT_FALSE(panels.combo->isVisible()) << "nor on the next tick";
}

TEST_F(AppDelegateTest, RepositionEditorOpensFromTheNotificationAndClosesFromTheMenu)
{
    AppDelegate& app = launch();
    startMatch();
    app.tick();
    ASSERT_GT(visibleCount(), 0);

    AppNotifications::defaultCenter().postOpenRepositionMode();
    EXPECT_TRUE(app.loopState().repositionMode);
    EXPECT_TRUE(app.repositionController().isOpen());
    EXPECT_EQ(visibleCount(), 0);
    EXPECT_EQ(app.statusMenu()->actions()[2]->text(), QStringLiteral("Done Repositioning"));
    // The tick leaves the panels alone while the editor is open.
    app.tick();
    EXPECT_EQ(visibleCount(), 0);

    // "Done Repositioning": every panel with something to show comes forward (the combos and
    // cooldown panels have nothing yet), the mode in use stays. Then the tick leaves only the
    // due ones: the farm panel was switched off meanwhile.
    OverlaySettingsStore(defaults).setShowFarm(false);
    app.toggleRepositionMode();
    EXPECT_FALSE(app.loopState().repositionMode);
    EXPECT_FALSE(app.repositionController().isOpen());
    EXPECT_EQ(visibleCount(), 4);
    EXPECT_EQ(app.loopState().currentMode, RepositionMode::summonersRift);
    EXPECT_EQ(app.statusMenu()->actions()[2]->text(), QStringLiteral("Reposition Panels…"));
    const OverlayPanels& panels = app.panelWindows();
    ASSERT_TRUE(test::spinUntil([&] { return !panels.farm->isVisible(); }));
    EXPECT_EQ(visibleCount(), 3);
    EXPECT_TRUE(panels.gold->isVisible() && panels.rune->isVisible() && panels.counter->isVisible());

    // Between matches the tick rests, yet the panels brought forward go again.
    app.goldVM().setSummary(std::nullopt);
    ASSERT_EQ(visibleCount(), 0);
    app.toggleRepositionMode();
    app.toggleRepositionMode();
    EXPECT_EQ(visibleCount(), 4);
    EXPECT_TRUE(test::spinUntil([&] { return visibleCount() == 0; }));
    EXPECT_FALSE(app.visTimer()->isActive());
}

TEST_F(AppDelegateTest, FinishingTheEditorForAramMakesAramsPositionsTheOnesInUse)
{
    AppDelegate& app = launch();
    app.toggleRepositionMode();
    ASSERT_TRUE(app.repositionController().isOpen());

    RepositionEditorModel& editor = app.repositionController().view()->model();
    editor.switchMode(RepositionMode::aram);
    editor.performDone();
    test::spinUntil([&] { return !app.loopState().repositionMode; });

    EXPECT_FALSE(app.loopState().repositionMode);
    EXPECT_EQ(app.loopState().currentMode, RepositionMode::aram);
    EXPECT_EQ(visibleCount(), 4);
    // No game runs: none is due, so the tick that follows takes them all off the screen.
    EXPECT_TRUE(test::spinUntil([&] { return visibleCount() == 0; }));
}

TEST_F(AppDelegateTest, ResetNotificationClearsEveryStoredPosition)
{
    AppDelegate& app = launch();
    app.positionStore().setFraction(PanelID::goldTracker, QPointF(0.2, 0.3), RepositionMode::aram);
    app.positionStore().setFraction(PanelID::combos, QPointF(0.5, 0.5), RepositionMode::summonersRift);

    AppNotifications::defaultCenter().postResetAllPanelPositions();

    EXPECT_FALSE(app.positionStore().fraction(PanelID::goldTracker, RepositionMode::aram));
    EXPECT_FALSE(app.positionStore().fraction(PanelID::combos, RepositionMode::summonersRift));
}

TEST_F(AppDelegateTest, NotificationsStopReachingADelegateThatIsGone)
{
    launch();
    delegate.reset();
    AppNotifications::defaultCenter().postOpenRepositionMode();
    AppNotifications::defaultCenter().postResetAllPanelPositions();
    SUCCEED();
}

} // namespace
} // namespace tolvane
