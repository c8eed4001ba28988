// The gold spent panel: the view model against a loopback Live Client peer and Data Dragon
// stand-in (the match signal, catalog prices replacing the snapshot's), and the view drawn
// offscreen in each of its states.

#include "app/panels/GoldSpentOverlayView.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"

#include "../../core/knowledge/FakeDDragon.h"
#include "Await.h"
#include "PanelTestSupport.h"
#include "NoGame.h"

#include <gtest/gtest.h>

#include <limits>

namespace tolvane {
namespace {

using test::LiveClientPeer;
using test::Snapshot;
using test::SnapshotPlayer;
using Lead = GoldSpentTracker::Lead;

// Catalogs whose Data Dragon never answers usefully: everything stays at the snapshot's prices.
std::shared_ptr<SharedCatalogs> deadCatalogs(const test::TestHttpServer& server)
{
    return std::make_shared<SharedCatalogs>(QStringLiteral("http://127.0.0.1:%1").arg(server.port()));
}

LiveItem item(int64_t id, int64_t price, int64_t count = 1)
{
    return {id, price, count};
}

// Ahri in the middle lane against Zed, with gold to spare on both teams.
Snapshot midLane(int64_t youGold = 1400, int64_t lanerGold = 1000)
{
    Snapshot s;
    s.activeName = QStringLiteral("me");
    s.players = {
        {QStringLiteral("Ahri"), QStringLiteral("ORDER"), QStringLiteral("MIDDLE"), {item(1, youGold)}, 40,
            QStringLiteral("me")},
        {QStringLiteral("Garen"), QStringLiteral("ORDER"), QStringLiteral("TOP"), {item(1, 2000)}, 30},
        {QStringLiteral("Jinx"), QStringLiteral("ORDER"), QStringLiteral("BOTTOM"), {item(1, 2000)}, 50},
        {QStringLiteral("Zed"), QStringLiteral("CHAOS"), QStringLiteral("MIDDLE"), {item(1, lanerGold)}, 35},
        {QStringLiteral("Darius"), QStringLiteral("CHAOS"), QStringLiteral("TOP"), {item(1, 2600)}, 30},
    };
    return s;
}

class GoldSpentModel : public ::testing::Test {
protected:
    test::TestHttpServer nowhere {[](const test::TestRequest&) { return test::TestResponse::json("gone", 404); }};
    LiveClientPeer game;
};

TEST_F(GoldSpentModel, SummaryFollowsWhetherTheLastPollBroughtASnapshot)
{
    GoldSpentViewModel vm(game.client(), deadCatalogs(nowhere));
    EXPECT_FALSE(vm.summary());
    EXPECT_EQ(vm.gameMode(), MetaModeRoute::summonersRift());

    Snapshot aram = midLane();
    aram.gameMode = QStringLiteral("ARAM");
    aram.mapNumber = 12;
    game.serve(aram);
    vm.start();
    ASSERT_TRUE(test::spinUntil([&] { return vm.summary().has_value(); }));
    EXPECT_EQ(vm.gameMode(), MetaModeRoute::aram());
    ASSERT_TRUE(vm.matchup());
    EXPECT_EQ(vm.matchup()->youChampion, QStringLiteral("Ahri"));

    game.noGame();
    ASSERT_TRUE(test::spinUntil([&] { return !vm.summary(); }));
    EXPECT_FALSE(vm.matchup());
    EXPECT_EQ(vm.gameMode(), MetaModeRoute::summonersRift());

    // Whatever the snapshot holds, even no players and no local player, a match runs.
    Snapshot empty;
    empty.gameMode = QStringLiteral("CHERRY");
    empty.mapNumber = 30;
    game.serve(empty);
    ASSERT_TRUE(test::spinUntil([&] { return vm.summary().has_value(); }));
    EXPECT_FALSE(vm.matchup());
    EXPECT_EQ(vm.gameMode(), MetaModeRoute::arena());

    // An undecodable reply is no snapshot.
    game.serve(QByteArray("{\"allPlayers\": 7}"));
    ASSERT_TRUE(test::spinUntil([&] { return !vm.summary(); }));
}

TEST_F(GoldSpentModel, CatalogPricesReplaceTheSnapshotsOnceLoaded)
{
    test::FakeDDragon ddragon(QStringLiteral("15.4.1"));
    GoldSpentViewModel vm(game.client(), std::make_shared<SharedCatalogs>(ddragon.base()));
    Snapshot s = midLane();
    // Infinity Edge reported at a partial price; the catalog's total is 3450.
    s.players[0].items = {item(3031, 675), item(1055, 450, 2)};
    game.serve(s);
    vm.start();
    ASSERT_TRUE(test::spinUntil([&] { return vm.matchup() && vm.matchup()->youGold == 3450 + 900; }))
        << (vm.matchup() ? vm.matchup()->youGold : -1);
}

TEST_F(GoldSpentModel, WithoutACatalogTheSnapshotsOwnPricesStay)
{
    GoldSpentViewModel vm(game.client(), deadCatalogs(nowhere));
    Snapshot s = midLane();
    s.players[0].items = {item(3031, 675), item(1055, 450, 2)};
    game.serve(s);
    vm.start();
    ASSERT_TRUE(test::spinUntil([&] { return nowhere.requests().size() >= 1 && game.polls() >= 3; }));
    ASSERT_TRUE(vm.matchup());
    EXPECT_EQ(vm.matchup()->youGold, 675 + 900);
}

// --- the view's parts ---

TEST(GoldSpentParts, VerdictsAndLeads)
{
    using V = GoldSpentOverlayView;
    // No dead band: one gold is already a side.
    EXPECT_EQ(V::verdict(1), (V::Styled {QStringLiteral("AHEAD"), HUD::ahead()}));
    EXPECT_EQ(V::verdict(-1), (V::Styled {QStringLiteral("BEHIND"), HUD::behind()}));
    EXPECT_EQ(V::verdict(0), (V::Styled {QStringLiteral("EVEN"), HUD::neutral()}));

    EXPECT_EQ(V::leadText(Lead::order(1500)), (V::Styled {QStringLiteral("ORDER +1.5k"), V::orderBlue()}));
    EXPECT_EQ(V::leadText(Lead::chaos(800)), (V::Styled {QStringLiteral("CHAOS +800"), HUD::behind()}));
    EXPECT_EQ(V::leadText(Lead::even()), (V::Styled {QStringLiteral("Even"), HUD::neutral()}));

    EXPECT_EQ(V::laneGold(1000), QStringLiteral("1.0kg"));
    EXPECT_EQ(V::noLanerNote(std::nullopt), QStringLiteral("no lane assigned \u2014 can't pin your matchup"));
    EXPECT_EQ(V::noLanerNote(QString()), V::noLanerNote(std::nullopt));
    EXPECT_EQ(V::noLanerNote(QStringLiteral("JUNGLE")), QStringLiteral("lane opponent unclear"));
}

TEST(GoldSpentParts, TeamListsSortStablyAndDropOtherTeams)
{
    using P = GoldSpentTracker::PlayerGold;
    const auto [order, chaos] = GoldSpentOverlayView::teamLists({{QStringLiteral("A"), QStringLiteral("ORDER"), 2000},
        {QStringLiteral("X"), QStringLiteral("CHAOS"), 100}, {QStringLiteral("B"), QStringLiteral("ORDER"), 2000},
        {QStringLiteral("N"), QStringLiteral("NEUTRAL"), 9000}, {QStringLiteral("C"), QStringLiteral("ORDER"), 2500},
        {QStringLiteral("Y"), QStringLiteral("order"), 50}});
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0].champion, QStringLiteral("C"));
    EXPECT_EQ(order[1].champion, QStringLiteral("A"));
    EXPECT_EQ(order[2].champion, QStringLiteral("B"));
    ASSERT_EQ(chaos.size(), 1u);
    EXPECT_EQ(chaos[0], (P {QStringLiteral("X"), QStringLiteral("CHAOS"), 100}));
}

// --- the view drawn ---

class GoldSpentView : public ::testing::Test {
protected:
    GoldSpentViewModel vm {test::noGameClient(), SharedCatalogs::fixed({})};
    GoldSpentOverlayView view {&vm};

    QImage render(const QString& name)
    {
        const QImage image = test::renderContent(view, 2.0);
        test::savePanelPng(image, QStringLiteral("gold-") + name);
        return image;
    }
    // Where the panel's card is, in the 2x rendering.
    QRect card() const
    {
        const HudPanel panel = hudPanel(HUD::gold(), 234, 1.0);
        const QRectF frame = panel.frameRect(panel.outerSize(0).height());
        return QRect(int(frame.left() * 2), int(frame.top() * 2), int(frame.width() * 2), 100000);
    }
};

TEST_F(GoldSpentView, NotInGameIsAHeaderAndOneLine)
{
    int redraws = 0;
    QObject::connect(&view, &OverlayContent::changed, [&] { ++redraws; });
    EXPECT_EQ(view.state(), GoldSpentOverlayView::State::notInGame);
    const QImage image = render(QStringLiteral("not-in-game"));
    EXPECT_DOUBLE_EQ(
        view.naturalSize().width(), 234 + 26 + HudPanel::shadowMargins.left() + HudPanel::shadowMargins.right());
    EXPECT_FALSE(test::inkOf(image, HUD::gold(), 40, card()).isEmpty());
    vm.handle(std::nullopt);
    EXPECT_EQ(redraws, 0) << "nothing to show changed";
    EXPECT_EQ(view.state(), GoldSpentOverlayView::State::notInGame);
}

TEST_F(GoldSpentView, InLaneAheadShowsBarBadgeAndBothSides)
{
    vm.handle(midLane(1400, 1000).decoded());
    ASSERT_EQ(view.state(), GoldSpentOverlayView::State::inLane);
    const QSizeF inLane = view.naturalSize();
    const QImage image = render(QStringLiteral("ahead-400"));
    // The bar's fill in the ahead colour, right of the centre, 400/3000 of the half.
    const QRect green = test::inkOf(image, HUD::ahead(), 30);
    ASSERT_FALSE(green.isEmpty());
    EXPECT_TRUE(test::inkOf(image, HUD::behind(), 30, QRect(0, 0, image.width(), green.top())).isEmpty());

    vm.handle(std::nullopt);
    EXPECT_LT(view.naturalSize().height(), inLane.height());
}

TEST_F(GoldSpentView, BehindEvenAndFallbackStatesDraw)
{
    struct Case {
        const char* name;
        Snapshot snapshot;
    };
    Snapshot even = midLane(1000, 1000);
    Snapshot behind = midLane(200, 3500);
    Snapshot jungle = midLane();
    jungle.players[0].position = QStringLiteral("JUNGLE");
    jungle.players.push_back({QStringLiteral("Lee Sin"), QStringLiteral("CHAOS"), QStringLiteral("JUNGLE"), {}, 0});
    jungle.players.push_back({QStringLiteral("Viego"), QStringLiteral("CHAOS"), QStringLiteral("JUNGLE"), {}, 0});
    Snapshot unassigned = midLane();
    unassigned.players[0].position.reset();
    // Resolving, no players and the mirror match are drawn by SectionsFollowWhatIsKnown.
    const std::vector<Case> cases {
        {"even", even}, {"behind", behind}, {"jungle-no-laner", jungle}, {"no-lane", unassigned}};
    for (const Case& c : cases) {
        vm.handle(c.snapshot.decoded());
        const QImage image = render(QString::fromUtf8(c.name));
        EXPECT_FALSE(image.isNull()) << c.name;
    }
}

TEST_F(GoldSpentView, SectionsFollowWhatIsKnown)
{
    // Header, text, divider + lead, divider + columns.
    vm.handle([] {
        Snapshot s = midLane();
        s.activeName = QStringLiteral("someone else");
        return s.decoded();
    }());
    const double resolving = view.naturalSize().height();
    // No players: no second divider and no columns.
    vm.handle(Snapshot {}.decoded());
    const double nobody = view.naturalSize().height();
    EXPECT_LT(nobody, resolving);
    EXPECT_EQ(view.state(), GoldSpentOverlayView::State::resolving);

    // The local player's rows in gold on both teams when several share the champion.
    Snapshot mirror;
    mirror.activeName = QStringLiteral("me");
    mirror.players = {{QStringLiteral("Teemo"), QStringLiteral("ORDER"), std::nullopt, {}, 0, QStringLiteral("me")},
        {QStringLiteral("Teemo"), QStringLiteral("CHAOS"), std::nullopt, {}, 0}};
    vm.handle(mirror.decoded());
    const QImage image = render(QStringLiteral("mirror-two"));
    const int half = image.width() / 2;
    const QRect columns(0, image.height() / 2, image.width(), image.height() / 2);
    EXPECT_FALSE(test::inkOf(image, HUD::gold(), 40, columns.intersected(QRect(0, 0, half, 100000))).isEmpty());
    EXPECT_FALSE(test::inkOf(image, HUD::gold(), 40, columns.intersected(QRect(half, 0, half, 100000))).isEmpty());
}

TEST_F(GoldSpentView, ExtremeFiguresDrawWithoutOverflow)
{
    vm.setSummary(GoldSpentTracker::Summary {});
    vm.setMatchup(GoldSpentTracker::LaneMatchup {QStringLiteral("Ahri"), std::numeric_limits<int64_t>::max(),
        QStringLiteral("MIDDLE"), QStringLiteral("Zed"), std::numeric_limits<int64_t>::min()});
    ASSERT_EQ(view.state(), GoldSpentOverlayView::State::inLane);
    const QImage image = render(QStringLiteral("extreme"));
    EXPECT_FALSE(test::inkOf(image, HUD::ahead(), 30).isEmpty());
}

} // namespace
} // namespace tolvane
