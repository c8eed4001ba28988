#include "app/panels/CooldownOverlayView.h"
#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudViews.h"

#include "app/windows/CooldownPanel.h"
#include "app/windows/OverlayScale.h"
#include "platform/KeyState.h"
#include "platform/OverlayWindowNative.h"

#include "../../core/knowledge/FakeDDragon.h"
#include "Await.h"
#include "PanelTestSupport.h"
#include "TestCertificates.h"
#include "TestHttpServer.h"
#include "RefusingPort.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

namespace {

QString raw(const char* key)
{
    return QStringLiteral("GeneratedTip_SummonerSpell_%1_DisplayName").arg(QLatin1String(key));
}

LivePlayer player(QString champion, QString team, QString name, std::optional<QString> one = raw("SummonerFlash"),
    std::optional<QString> two = raw("SummonerHeal"))
{
    LivePlayer p;
    p.championName = std::move(champion);
    p.team = std::move(team);
    p.riotIdGameName = std::move(name);
    p.summonerSpells = LiveSummonerSpells {LiveSummonerSpell {std::move(one)}, LiveSummonerSpell {std::move(two)}};
    p.level = 9;
    return p;
}

// The user plays Ahri for ORDER against three enemies.
AllGameData match(double gameTime, std::optional<int64_t> map = 11)
{
    AllGameData d;
    d.activePlayer = ActivePlayer {std::nullopt, QStringLiteral("me")};
    d.allPlayers = {player(QStringLiteral("Garen"), QStringLiteral("CHAOS"), QStringLiteral("g")),
        player(QStringLiteral("Ahri"), QStringLiteral("ORDER"), QStringLiteral("me")),
        player(QStringLiteral("Miss Fortune"), QStringLiteral("CHAOS"), QStringLiteral("mf"), raw("SummonerBarrier"),
            raw("SummonerFlash")),
        player(QStringLiteral("Lux"), QStringLiteral("CHAOS"), QStringLiteral("l"), raw("SummonerDot"),
            raw("SummonerTeleport"))};
    d.gameData.gameTime = gameTime;
    d.gameData.gameMode = QStringLiteral("CLASSIC");
    d.gameData.mapNumber = map;
    return d;
}

// Round figures, so the expected countdowns read at a glance. Barrier is left out on purpose.
SummonerCooldowns table()
{
    return SummonerCooldowns(QStringLiteral("15.12.1"), 10,
        {{QStringLiteral("SummonerFlash"), 300}, {QStringLiteral("SummonerHeal"), 240},
            {QStringLiteral("SummonerDot"), 180}, {QStringLiteral("SummonerTeleport"), 300}},
        70, SummonerCooldowns::TeleportScaling {600, 330, 240});
}

// Nothing listens there: the client fails at once, which the direct tests never reach anyway.
LiveClientDataClient unusedClient()
{
    return LiveClientDataClient(
        test::refusingUrl(QStringLiteral("/liveclientdata/allgamedata"), QStringLiteral("https")), LiveClientPeer::trust());
}

// Counts changed() emissions for as long as it lives.
struct ChangeCount {
    explicit ChangeCount(CooldownPanelViewModel& vm)
    {
        connection = QObject::connect(&vm, &CooldownPanelViewModel::changed, [this] { ++count; });
    }
    ~ChangeCount() { QObject::disconnect(connection); }
    int count = 0;
    QMetaObject::Connection connection;
};

std::optional<double> remaining(const CooldownPanelViewModel& vm, int64_t enemy, int64_t slot)
{
    for (const auto& row : vm.rows()) {
        if (row.id != enemy)
            continue;
        for (const auto& cell : row.spells) {
            if (cell.id == slot)
                return cell.remaining;
        }
    }
    ADD_FAILURE() << "no cell " << enemy << "/" << slot;
    return std::nullopt;
}

class CooldownPanelModel : public ::testing::Test {
protected:
    CooldownPanelViewModel vm {unusedClient(), SharedCatalogs::fixed({}), table()};
};

} // namespace

TEST_F(CooldownPanelModel, EnemiesInSnapshotOrderWithTheirSpellsInSlotOrder)
{
    vm.handle(match(120));
    EXPECT_TRUE(vm.inGame());
    EXPECT_EQ(vm.lastGameTime(), 120);
    using Cell = CooldownPanelViewModel::SpellCell;
    const std::vector<CooldownPanelViewModel::EnemyRow> expected {
        {0, QString(),
            {Cell {0, QStringLiteral("SummonerFlash"), std::nullopt, true},
                Cell {1, QStringLiteral("SummonerHeal"), std::nullopt, true}}},
        {1, QString(),
            {Cell {0, QStringLiteral("SummonerBarrier"), std::nullopt, false},
                Cell {1, QStringLiteral("SummonerFlash"), std::nullopt, true}}},
        {2, QString(),
            {Cell {0, QStringLiteral("SummonerDot"), std::nullopt, true},
                Cell {1, QStringLiteral("SummonerTeleport"), std::nullopt, true}}},
    };
    EXPECT_EQ(vm.rows(), expected);
}

TEST_F(CooldownPanelModel, MissingSpellsLeaveGapsThatKeepTheirSlot)
{
    AllGameData d = match(300);
    d.allPlayers[0].summonerSpells.reset();
    d.allPlayers[2].summonerSpells->summonerSpellOne.rawDisplayName.reset();
    d.allPlayers[3].summonerSpells->summonerSpellOne.rawDisplayName = QStringLiteral("NotASpellName");
    vm.handle(d);
    ASSERT_EQ(vm.rows().size(), 3u);
    EXPECT_TRUE(vm.rows()[0].spells.empty()) << "a row with only the portrait is still listed";
    ASSERT_EQ(vm.rows()[1].spells.size(), 1u);
    EXPECT_EQ(vm.rows()[1].spells[0].id, 1);
    ASSERT_EQ(vm.rows()[2].spells.size(), 1u);
    EXPECT_EQ(vm.rows()[2].spells[0].spellKey, QStringLiteral("SummonerTeleport"));

    vm.markCell(1, 1);
    EXPECT_EQ(remaining(vm, 1, 1), 300.0);
    vm.markCell(0, 0); // nothing to mark
    EXPECT_TRUE(vm.rows()[0].spells.empty());
}

TEST_F(CooldownPanelModel, AClickCountsDownOnTheGameClockAndASecondClickCancels)
{
    vm.handle(match(600));
    vm.markCell(0, 0);
    ASSERT_EQ(remaining(vm, 0, 0), 300.0) << "shown at once, before the next snapshot";
    EXPECT_EQ(remaining(vm, 0, 1), std::nullopt);
    vm.handle(match(600.5));
    EXPECT_EQ(remaining(vm, 0, 0), 299.5);

    vm.markCell(0, 0);
    EXPECT_EQ(remaining(vm, 0, 0), std::nullopt);
    vm.markCell(0, 0);
    EXPECT_EQ(remaining(vm, 0, 0), 300.0) << "a cancelled spell starts again on the next click";

    vm.handle(match(899.9));
    EXPECT_NEAR(remaining(vm, 0, 0).value_or(-1), 0.6, 1e-9);
    vm.handle(match(900.5));
    EXPECT_EQ(remaining(vm, 0, 0), std::nullopt) << "run out";
    vm.markCell(0, 0);
    EXPECT_EQ(remaining(vm, 0, 0), 300.0) << "a run-out mark is started anew, not cancelled";
}

TEST_F(CooldownPanelModel, CooldownsFollowHasteItemsAndTheAramAura)
{
    AllGameData d = match(100, 12);
    d.allPlayers[0].items = {LiveItem {3158, 900, 1}}; // Ionian boots
    vm.handle(d);
    vm.markCell(0, 0);
    EXPECT_NEAR(remaining(vm, 0, 0).value_or(0), 300.0 * 100 / 180, 1e-9);
    vm.markCell(2, 0);
    EXPECT_NEAR(remaining(vm, 2, 0).value_or(0), 180.0 * 100 / 170, 1e-9);

    vm.handle(match(700, 11));
    vm.markCell(2, 1); // Teleport after its unlock follows the level
    EXPECT_EQ(remaining(vm, 2, 1), SummonerCooldowns::TeleportScaling({600, 330, 240}).cd(9));
}

TEST_F(CooldownPanelModel, ClicksThatCannotMarkChangeNothing)
{
    vm.handle(match(400));
    const auto before = vm.rows();
    ChangeCount spy(vm);
    vm.markCell(1, 0); // Barrier: not in the table
    vm.markCell(3, 0); // beyond the enemies
    vm.markCell(-1, 0);
    EXPECT_EQ(vm.rows(), before);
    EXPECT_EQ(spy.count, 0);
    EXPECT_FALSE(vm.rows()[1].spells[0].trackable);
}

TEST_F(CooldownPanelModel, LoadingScreenHidesTheRowsButKeepsTheMarks)
{
    vm.handle(match(600));
    vm.markCell(0, 0);
    AllGameData loading = match(0);
    vm.handle(loading);
    EXPECT_FALSE(vm.inGame());
    EXPECT_TRUE(vm.rows().empty());
    EXPECT_EQ(vm.lastGameTime(), 0);
    loading.gameData.gameTime = std::numeric_limits<double>::quiet_NaN();
    vm.handle(loading);
    EXPECT_FALSE(vm.inGame());

    vm.handle(match(601));
    EXPECT_EQ(remaining(vm, 0, 0), 299.0);
}

// The clock going back by more than 3 s is a new match (or a replay): old marks go.
class CooldownClockBack : public CooldownPanelModel, public ::testing::WithParamInterface<std::pair<double, bool>> { };

TEST_P(CooldownClockBack, DropsMarksOnlyBeyondThreeSeconds)
{
    const auto [next, kept] = GetParam();
    vm.handle(match(600));
    vm.markCell(0, 1);
    vm.handle(match(next));
    EXPECT_EQ(remaining(vm, 0, 1).has_value(), kept);
}

INSTANTIATE_TEST_SUITE_P(Cooldowns, CooldownClockBack,
    ::testing::Values(std::pair {597.0, true}, std::pair {596.9, false}, std::pair {610.0, true}));

TEST_F(CooldownPanelModel, ALostGameInterfaceClearsEverythingMarksIncluded)
{
    vm.handle(match(600));
    vm.markCell(0, 0);
    vm.handle(std::nullopt);
    EXPECT_FALSE(vm.inGame());
    EXPECT_TRUE(vm.rows().empty());
    EXPECT_EQ(vm.lastGameTime(), 0);
    vm.handle(match(601)); // same clock: only the flush can have dropped the mark
    EXPECT_EQ(remaining(vm, 0, 0), std::nullopt);
}

// Rows kept from poll to poll come out as a fresh view model would show the new snapshot.
TEST_F(CooldownPanelModel, RowsFollowAChampionOrSpellThatChangesBetweenPolls)
{
    vm.handle(match(100));
    AllGameData changed = match(101);
    changed.allPlayers[0].championName = QStringLiteral("Darius");
    changed.allPlayers[2].summonerSpells->summonerSpellOne.rawDisplayName = raw("SummonerHeal");
    changed.allPlayers[3].summonerSpells->summonerSpellTwo.rawDisplayName = std::nullopt;
    vm.handle(changed);
    CooldownPanelViewModel fresh {unusedClient(), SharedCatalogs::fixed({}), table()};
    fresh.handle(changed);
    EXPECT_EQ(vm.rows(), fresh.rows());
    EXPECT_EQ(vm.rows().at(1).spells.at(0).spellKey, QStringLiteral("SummonerHeal"));
    EXPECT_EQ(vm.rows().at(2).spells.size(), 1u);

    // And a click reads the spell the enemy has now: Heal's 240 s, not Barrier's untracked one.
    vm.markCell(1, 0);
    EXPECT_EQ(remaining(vm, 1, 0), 240);
}

TEST_F(CooldownPanelModel, TheLastResolvedTeamStandsWhenTheUserIsNotFound)
{
    AllGameData spectator = match(200);
    spectator.activePlayer = ActivePlayer {};
    vm.handle(spectator);
    EXPECT_TRUE(vm.inGame());
    EXPECT_TRUE(vm.rows().empty()) << "no team ever resolved: no enemies";

    vm.handle(match(201));
    vm.handle(spectator);
    EXPECT_EQ(vm.rows().size(), 3u);
    vm.handle(std::nullopt);
    vm.handle(spectator);
    EXPECT_EQ(vm.rows().size(), 3u) << "the team outlives the match";
}

TEST(CooldownPanelDefaults, TheShippedTableIsLoadedWhenNoneIsGiven)
{
    CooldownPanelViewModel vm(unusedClient(), SharedCatalogs::fixed({}));
    vm.handle(match(60));
    ASSERT_EQ(vm.rows().size(), 3u);
    EXPECT_TRUE(vm.rows()[1].spells[0].trackable) << "the shipped table knows Barrier";
}

// The whole path: the real catalog and a real capture over loopback, until the view model goes.
TEST(CooldownPanelLive, FollowsTheGameInterfaceAndStopsPollingWhenDestroyed)
{
    FakeDDragon ddragon(QStringLiteral("15.4.1"));
    LiveClientPeer game;
    game.serve(realData(QStringLiteral("allgamedata/sr_ranked_11.21_local_player.json")));
    auto vm = std::make_unique<CooldownPanelViewModel>(game.client(), std::make_shared<SharedCatalogs>(ddragon.base()));
    vm->start();
    ASSERT_TRUE(spinUntil([&] { return vm->rows().size() == 5; }));
    EXPECT_EQ(vm->version(), QStringLiteral("15.4.1"));
    QStringList champs;
    for (const auto& row : vm->rows())
        champs << row.champKey;
    EXPECT_EQ(champs.join(QLatin1Char(' ')), QStringLiteral("Renekton Viego Graves MissFortune Lux"));
    EXPECT_EQ(vm->rows()[1].spells[0].spellKey, QStringLiteral("SummonerSmite"));

    game.noGame();
    ASSERT_TRUE(spinUntil([&] { return !vm->inGame(); }));

    vm.reset();
    EXPECT_TRUE(game.staysQuiet(500ms)) << "polling outlived its view model";
}

TEST(CooldownPanelLive, WithoutACatalogRowsAndClicksStillWork)
{
    TestHttpServer ddragon([](const TestRequest&) { return TestResponse::json("gone", 404); });
    CooldownPanelViewModel vm(
        unusedClient(), std::make_shared<SharedCatalogs>(ddragon.url(QString()).toString()), table());
    await(vm.loadCatalog());
    EXPECT_EQ(vm.version(), QString());
    vm.handle(match(50));
    vm.markCell(2, 0);
    EXPECT_EQ(vm.rows()[2].champKey, QString());
    EXPECT_EQ(remaining(vm, 2, 0), 180.0);
}

// The view, drawn offscreen from a view model fed directly, with images from a fake source.
class CooldownPanelView : public ::testing::Test {
protected:
    void SetUp() override { await(vm.loadCatalog()); }

    const CooldownOverlayView::Layout::Cell& cell(int64_t enemy, int64_t slot)
    {
        static CooldownOverlayView::Layout::Cell none;
        placed = view.layout();
        for (const auto& row : placed.rows)
            for (const auto& c : row.cells)
                if (c.enemy == enemy && c.slot == slot)
                    return c;
        ADD_FAILURE() << "no cell " << enemy << "/" << slot;
        return none;
    }

    // Every spell and portrait in one solid colour, so drawn opacity can be read off pixels.
    void deliverAllImages()
    {
        for (const QUrl& address : QList<QUrl>(images.asked)) {
            QImage solid(64, 64, QImage::Format_ARGB32_Premultiplied);
            solid.fill(
                address.path().contains(QLatin1String("/champion/")) ? QColor(40, 120, 220) : QColor(230, 40, 40));
            images.deliver(address, solid);
        }
    }

    FakeDDragon ddragon {QStringLiteral("15.4.1")};
    CooldownPanelViewModel vm {unusedClient(), std::make_shared<SharedCatalogs>(ddragon.base()), table()};
    FakeImageSource images {ddragon.base()};
    CooldownOverlayView view {vm, &images};
    CooldownOverlayView::Layout placed;
};

TEST_F(CooldownPanelView, DrawsNothingOutOfAMatchOrWithoutEnemies)
{
    EXPECT_TRUE(view.naturalSize().isEmpty());
    AllGameData spectator = match(100);
    spectator.activePlayer = ActivePlayer {};
    vm.handle(spectator);
    EXPECT_TRUE(vm.inGame());
    EXPECT_TRUE(view.naturalSize().isEmpty()) << "in a match, but no team known";
    EXPECT_FALSE(view.mousePressed(QPointF(60, 60)));
    vm.handle(match(100));
    vm.handle(match(0));
    EXPECT_TRUE(view.naturalSize().isEmpty()) << "loading screen";
}

TEST_F(CooldownPanelView, RowsOfPortraitAndSpellsFillTheFixedWidth)
{
    vm.handle(match(600));
    placed = view.layout();
    const HudPanel frame = hudPanel(HUD::neutral(), 124, vm.bgOpacity());
    const double header = HUDHeader {QStringLiteral("Enemy CDs"), HUD::neutral(), QStringLiteral("est")}.height();
    EXPECT_EQ(view.naturalSize(), frame.outerSize(header + 3 * (8 + 40)));
    EXPECT_EQ(view.naturalSize().width(), 124 + 26 + frame.shadowMargins.left() + frame.shadowMargins.right());
    const QRectF content = frame.contentRect(placed.contentHeight);
    ASSERT_EQ(placed.rows.size(), 3u);
    for (const auto& row : placed.rows) {
        EXPECT_EQ(row.portrait.size(), QSizeF(40, 40));
        EXPECT_EQ(row.portrait.left(), content.left());
        ASSERT_EQ(row.cells.size(), 2u);
        EXPECT_EQ(row.cells[0].rect.size(), QSizeF(34, 34));
        EXPECT_EQ(row.cells[0].rect.left(), row.portrait.right() + 8);
        EXPECT_EQ(row.cells[1].rect.right(), content.right());
        EXPECT_EQ(row.cells[0].rect.center().y(), row.portrait.center().y());
    }
    EXPECT_EQ(placed.rows[1].portrait.top() - placed.rows[0].portrait.top(), 48);
    EXPECT_LE(placed.rows.back().portrait.bottom(), content.bottom());
}

TEST_F(CooldownPanelView, ImagesComeFromTheCatalogVersion)
{
    vm.handle(match(600));
    renderContent(view);
    const QString cdn = ddragon.base() + QStringLiteral("/cdn/15.4.1/img/");
    EXPECT_TRUE(images.asked.contains(QUrl(cdn + QStringLiteral("champion/MissFortune.png"))));
    EXPECT_TRUE(images.asked.contains(QUrl(cdn + QStringLiteral("spell/SummonerBarrier.png"))));
    EXPECT_TRUE(images.asked.contains(QUrl(cdn + QStringLiteral("spell/SummonerTeleport.png"))));
    EXPECT_EQ(images.asked.size(), 9);

    // Without a catalog there is no version, so no address at all: placeholders only.
    CooldownPanelViewModel bare(unusedClient(), SharedCatalogs::fixed({}), table());
    FakeImageSource none;
    CooldownOverlayView plain(bare, &none);
    bare.handle(match(600));
    const QImage image = renderContent(plain);
    EXPECT_TRUE(none.asked.isEmpty());
    savePanelPng(image, QStringLiteral("cooldown-placeholders"));
}

TEST_F(CooldownPanelView, AClickOnASpellCountsItDownAndASecondCancels)
{
    vm.setTimeFormat(CDTimeFormat::minutesSeconds);
    vm.handle(match(600));
    int repaints = 0;
    QObject::connect(&view, &OverlayContent::changed, [&] { ++repaints; });

    EXPECT_FALSE(view.mousePressed(view.layout().rows[0].portrait.center())) << "the portrait takes no click";
    EXPECT_TRUE(view.mousePressed(cell(0, 0).rect.topLeft() + QPointF(1, 1)));
    EXPECT_EQ(cell(0, 0).countdown, QStringLiteral("5:00"));
    EXPECT_EQ(cell(0, 0).opacity, 0.4);
    EXPECT_GT(repaints, 0);
    for (auto [format, text] : {std::pair {CDTimeFormat::seconds, "300"}, std::pair {CDTimeFormat::minutes, "5m"}}) {
        vm.setTimeFormat(format);
        EXPECT_EQ(cell(0, 0).countdown, QLatin1String(text));
    }
    vm.setTimeFormat(CDTimeFormat::seconds);
    vm.handle(match(600.5));
    EXPECT_EQ(cell(0, 0).countdown, QStringLiteral("299"));

    EXPECT_TRUE(view.mousePressed(cell(0, 0).rect.center()));
    EXPECT_EQ(cell(0, 0).countdown, std::nullopt);
    EXPECT_EQ(cell(0, 0).opacity, 1.0);

    EXPECT_TRUE(view.mousePressed(cell(1, 0).rect.center())) << "an untrackable spell takes the click too";
    EXPECT_EQ(cell(1, 0).countdown, std::nullopt);
    EXPECT_EQ(cell(1, 0).opacity, 0.25);
    EXPECT_FALSE(view.mousePressed(cell(1, 0).rect.center() + QPointF(0, 20))) << "the gap between rows";
}

TEST_F(CooldownPanelView, CountingAndUntrackableSpellsAreDrawnDimmer)
{
    vm.setTimeFormat(CDTimeFormat::minutesSeconds);
    vm.handle(match(600));
    renderContent(view);
    deliverAllImages();
    view.mousePressed(cell(0, 0).rect.center());
    vm.handle(match(671));
    vm.markCell(2, 1);
    const QImage image = renderContent(view);
    savePanelPng(renderContent(view, 2), QStringLiteral("cooldown-counting"));

    // Sampled at the top middle of each icon, clear of the countdown plate.
    const auto redAt = [&](int64_t enemy, int64_t slot) {
        const QRectF r = cell(enemy, slot).rect;
        return qRed(image.pixel(QPointF(r.center().x(), r.top() + 4).toPoint()));
    };
    const int ready = redAt(0, 1);
    const int counting = redAt(0, 0);
    const int untrackable = redAt(1, 0);
    EXPECT_GT(ready, 200);
    EXPECT_LT(counting, ready - 80);
    EXPECT_LT(untrackable, counting - 15);
    // The plate behind the countdown is dark.
    const QRectF r = cell(0, 0).rect;
    EXPECT_TRUE(inkOf(image, Qt::white, 30, r.toAlignedRect()).isValid()) << "the countdown text";
}

TEST_F(CooldownPanelView, TheUsersOpacityAppliesToTheBackgroundOnly)
{
    vm.handle(match(600));
    placed = view.layout();
    const QRectF card = hudPanel(HUD::neutral(), 124, 1).frameRect(placed.contentHeight);
    const QPoint inPadding = QPointF(card.right() - 5, card.center().y()).toPoint();
    vm.setBgOpacity(0);
    const QImage clear = renderContent(view);
    vm.setBgOpacity(1);
    const QImage solid = renderContent(view);
    EXPECT_LT(qAlpha(clear.pixel(inPadding)), 10);
    EXPECT_GT(qAlpha(solid.pixel(inPadding)), 200);
    EXPECT_TRUE(anyInk(clear, cell(0, 0).rect.toAlignedRect())) << "icons stay at any opacity";
    vm.setBgOpacity(0.35);
    savePanelPng(renderContent(view, 2), QStringLiteral("cooldown-see-through"));
}

// Hosted in its window at a zoom, as the application does: a click on the window reaches the cell.
TEST_F(CooldownPanelView, AClickOnTheZoomedPanelWindowMarksTheSpellUnderIt)
{
    FakeKeyState keys;
    FakeOverlayWindowNative native;
    OverlayScale scale {1.5};
    auto* hosted = new CooldownOverlayView(vm, &images);
    CooldownPanel window(hosted, scale, PanelPlatform {keys, native});
    vm.handle(match(600));
    window.orderFront();
    ASSERT_TRUE(spinUntil([&] { return window.frame().size() == hosted->naturalSize() * 1.5; }));

    const QPointF local = hosted->layout().rows[2].cells[1].rect.center() * 1.5;
    const QPointF global = QPointF(window.container()->mapToGlobal(local.toPoint()));
    QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &press);
    EXPECT_TRUE(remaining(vm, 2, 1).has_value());
    EXPECT_FALSE(remaining(vm, 2, 0).has_value());
}
