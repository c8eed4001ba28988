#include "app/panels/ComboOverlayView.h"
#include "app/panels/ComboViewModel.h"
#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"

#include "../../core/knowledge/FakeDDragon.h"
#include "Await.h"
#include "PanelTestSupport.h"
#include "TestCertificates.h"
#include "TestHttpServer.h"
#include "RefusingPort.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

namespace {

using Combos = std::vector<ChampionCombo>;

Combos combos(int n)
{
    Combos list;
    for (int i = 1; i <= n; ++i)
        list.push_back({QStringLiteral("Combo %1").arg(i), std::nullopt});
    return list;
}

// Answers with whatever the test set last; while a gate is set, the answer waits for its timeout.
class FakeComboProvider : public ComboProvider {
public:
    struct Call {
        QString champion;
        MetaQuery query;
    };

    QCoro::Task<std::optional<Combos>> fetchCombos(QString championDisplayName, MetaQuery query) override
    {
        calls.push_back({championDisplayName, query});
        const std::optional<Combos> result = answer;
        if (QTimer* gate = this->gate)
            co_await signalOrDestroyed(gate, &QTimer::timeout);
        co_return result;
    }

    std::vector<Call> calls;
    std::optional<Combos> answer = combos(3);
    QTimer* gate = nullptr;
};

AllGameData game(QString champion = QStringLiteral("Ahri"), std::optional<QString> position = QStringLiteral("MIDDLE"),
    std::optional<QString> mode = QStringLiteral("CLASSIC"), std::optional<int64_t> map = 11)
{
    AllGameData d;
    d.activePlayer = ActivePlayer {std::nullopt, QStringLiteral("me")};
    LivePlayer me;
    me.championName = std::move(champion);
    me.team = QStringLiteral("ORDER");
    me.riotIdGameName = QStringLiteral("me");
    me.position = std::move(position);
    LivePlayer enemy;
    enemy.championName = QStringLiteral("Zed");
    enemy.team = QStringLiteral("CHAOS");
    enemy.riotIdGameName = QStringLiteral("other");
    d.allPlayers = {enemy, me};
    d.gameData.gameTime = 95;
    d.gameData.gameMode = std::move(mode);
    d.gameData.mapNumber = map;
    return d;
}

LiveClientDataClient unusedClient()
{
    return LiveClientDataClient(
        test::refusingUrl(QStringLiteral("/liveclientdata/allgamedata"), QStringLiteral("https")), LiveClientPeer::trust());
}

class ComboPanelModel : public ::testing::Test {
protected:
    void handle(std::optional<AllGameData> data) { await(vm->handle(std::move(data))); }

    std::shared_ptr<FakeComboProvider> provider = std::make_shared<FakeComboProvider>();
    std::chrono::steady_clock::time_point now {};
    std::unique_ptr<ComboViewModel> vm
        = std::make_unique<ComboViewModel>(provider, unusedClient(), SharedCatalogs::fixed({}), [this] { return now; });
};

} // namespace

TEST_F(ComboPanelModel, AsksOncePerChampionWithTheLaneAsAPlainRole)
{
    handle(game());
    ASSERT_EQ(provider->calls.size(), 1u);
    EXPECT_EQ(provider->calls[0].champion, QStringLiteral("Ahri"));
    EXPECT_EQ(provider->calls[0].query, MetaQuery::summonersRift(MetaRole::mid, false));
    EXPECT_TRUE(vm->inGame());
    EXPECT_EQ(vm->combos(), combos(3));
    EXPECT_EQ(vm->champion(), QStringLiteral("Ahri"));

    now += 10min;
    handle(game());
    EXPECT_EQ(provider->calls.size(), 1u) << "an answered champion is not asked again during the match";
}

TEST_F(ComboPanelModel, AnUnavailableServiceIsAskedAgainNoSoonerThanFifteenSeconds)
{
    provider->answer.reset();
    handle(game());
    EXPECT_EQ(vm->combos(), std::nullopt);
    EXPECT_EQ(vm->champion(), std::nullopt);
    now += 14999ms;
    handle(game());
    EXPECT_EQ(provider->calls.size(), 1u);
    now += 1ms;
    provider->answer = Combos {};
    handle(game());
    EXPECT_EQ(provider->calls.size(), 2u);
    EXPECT_EQ(vm->combos(), Combos {}) << "an empty answer is final and hides the panel";
    now += 1h;
    handle(game());
    EXPECT_EQ(provider->calls.size(), 2u);
}

TEST_F(ComboPanelModel, AFailedPollResetsTheMatchAndTheSpacing)
{
    provider->answer.reset();
    handle(game());
    handle(std::nullopt);
    EXPECT_FALSE(vm->inGame());
    provider->answer = combos(2);
    handle(game()); // same instant: only the reset lets this through
    EXPECT_EQ(provider->calls.size(), 2u);
    EXPECT_EQ(vm->combos(), combos(2));

    handle(std::nullopt);
    EXPECT_FALSE(vm->inGame());
    EXPECT_EQ(vm->combos(), std::nullopt);
    EXPECT_EQ(vm->champion(), std::nullopt);
    now += 1s;
    handle(game());
    EXPECT_EQ(provider->calls.size(), 3u) << "the next match asks again";
}

TEST_F(ComboPanelModel, AnUnresolvedPlayerChangesOnlyInGame)
{
    handle(game());
    AllGameData spectator = game(QStringLiteral("Lux"));
    spectator.activePlayer = ActivePlayer {};
    now += 1h;
    handle(spectator);
    EXPECT_TRUE(vm->inGame());
    EXPECT_EQ(vm->combos(), combos(3));
    EXPECT_EQ(vm->champion(), QStringLiteral("Ahri"));
    EXPECT_EQ(provider->calls.size(), 1u);
}

TEST_F(ComboPanelModel, AnotherChampionIsAskedForWhileTheOldCombosStay)
{
    handle(game());
    now += 20s;
    provider->answer.reset();
    handle(game(QStringLiteral("Lux"), QStringLiteral("UTILITY")));
    ASSERT_EQ(provider->calls.size(), 2u);
    EXPECT_EQ(provider->calls[1].query, MetaQuery::summonersRift(MetaRole::support, false));
    EXPECT_EQ(vm->combos(), combos(3));
    EXPECT_EQ(vm->champion(), QStringLiteral("Ahri"));
}

struct ModeCase {
    const char* name;
    std::optional<QString> mode;
    std::optional<int64_t> map;
    bool asks;
};

class ComboModes : public ComboPanelModel, public ::testing::WithParamInterface<ModeCase> { };

TEST_P(ComboModes, OnlySummonersRiftIsAskedFor)
{
    const ModeCase& c = GetParam();
    handle(game(QStringLiteral("Ahri"), QStringLiteral("MIDDLE"), c.mode, c.map));
    EXPECT_EQ(provider->calls.size(), c.asks ? 1u : 0u);
    if (!c.asks) {
        EXPECT_EQ(vm->combos(), std::nullopt);
        EXPECT_EQ(vm->champion(), QStringLiteral("Ahri"));
        now += 1h;
        handle(game(QStringLiteral("Ahri"), QStringLiteral("MIDDLE"), c.mode, c.map));
        EXPECT_EQ(provider->calls.size(), 0u) << "settled for the rest of the match";
    }
}

INSTANTIATE_TEST_SUITE_P(Combos, ComboModes,
    ::testing::Values(ModeCase {"classic", QStringLiteral("CLASSIC"), 11, true},
        ModeCase {"nothingKnown", std::nullopt, std::nullopt, true},
        ModeCase {"aramMap", QStringLiteral("CLASSIC"), 12, false},
        ModeCase {"aramMode", QStringLiteral("ARAM"), 11, false},
        ModeCase {"practiceTool", QStringLiteral("PRACTICETOOL"), 11, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ComboPanelModel, WithoutALaneTheClassTagsGiveTheRoleButNotTheInferredFlag)
{
    FakeDDragon ddragon(QStringLiteral("15.4.1"));
    vm = std::make_unique<ComboViewModel>(
        provider, unusedClient(), std::make_shared<SharedCatalogs>(ddragon.base()), [this] { return now; });
    await(vm->loadCatalog());

    handle(game(QStringLiteral("NoSuchChampion"), std::nullopt));
    handle(game(QStringLiteral("Ahri"), QStringLiteral("")));
    ASSERT_EQ(provider->calls.size(), 1u) << "no role: no request, and no spacing stamp either";
    EXPECT_EQ(provider->calls[0].query, MetaQuery::summonersRift(MetaRole::mid, false));
}

TEST_F(ComboPanelModel, AnAnswerForAMatchThatEndedMeanwhileIsDropped)
{
    QTimer gate;
    gate.setSingleShot(true);
    provider->gate = &gate;
    auto pending = vm->handle(game());
    provider->gate = nullptr;
    handle(std::nullopt);
    gate.start(0);
    await(std::move(pending));
    EXPECT_FALSE(vm->inGame());
    EXPECT_EQ(vm->combos(), std::nullopt);
}

TEST_F(ComboPanelModel, TheViewModelMayGoWhileTheServiceIsAsked)
{
    QTimer gate;
    gate.setSingleShot(true);
    provider->gate = &gate;
    auto pending = vm->handle(game());
    vm.reset();
    gate.start(0);
    await(std::move(pending));
    EXPECT_EQ(provider->calls.size(), 1u);
}

class ComboPanelView : public ComboPanelModel {
protected:
    ComboOverlayView::Layout showing(Combos list, int maxShown = 6)
    {
        provider->answer = std::move(list);
        handle(std::nullopt);
        handle(game());
        return ComboOverlayView(*vm, 216, maxShown).layout();
    }
};

TEST_F(ComboPanelView, AlmostNothingWhileThereIsNothingToShow)
{
    ComboOverlayView view(*vm, 216, 6);
    EXPECT_EQ(view.naturalSize(), QSizeF(1, 1)) << "out of a match";
    provider->answer = Combos {};
    handle(game());
    EXPECT_EQ(view.naturalSize(), QSizeF(1, 1)) << "the service knows no combo";
    handle(game(QStringLiteral("Ahri"), QStringLiteral("MIDDLE"), QStringLiteral("ARAM")));
    EXPECT_EQ(view.naturalSize(), QSizeF(1, 1));
    EXPECT_FALSE(anyInk(renderContent(view), QRect(0, 0, 1, 1)));
}

TEST_F(ComboPanelView, TheFirstRowsUpToTheLimitNumberedFromOne)
{
    const auto eight = showing(combos(8));
    ASSERT_TRUE(eight.shown);
    ASSERT_EQ(eight.rows.size(), 6u);
    EXPECT_EQ(eight.rows.front().number, QStringLiteral("1"));
    EXPECT_EQ(eight.rows.back().number, QStringLiteral("6"));
    EXPECT_EQ(eight.rows.back().name, QStringLiteral("Combo 6"));
    EXPECT_EQ(showing(combos(3)).rows.size(), 3u);
    EXPECT_EQ(showing(combos(3), 2).rows.size(), 2u);

    const auto none = showing(combos(3), -4);
    EXPECT_TRUE(none.rows.empty()) << "a negative limit shows no rows";
    EXPECT_GT(none.pill.top(), none.header.bottom());
}

TEST_F(ComboPanelView, RowsShareABaselineAndTheNamesTheRestOfTheWidth)
{
    const auto placed = showing(combos(3));
    const HudPanel frame = hudPanel(HUD::violet(), 216, 1.0);
    EXPECT_EQ(placed.size, frame.outerSize(placed.contentHeight));
    EXPECT_EQ(placed.size.width(), 216 + 26 + frame.shadowMargins.left() + frame.shadowMargins.right());
    const QRectF content = frame.contentRect(placed.contentHeight);
    const HudTextStyle number {hudSmallFont(), HUD::textSecondary(), 0, true};
    const HudTextStyle name {hudBodyFont(), HUD::textPrimary()};
    double previousBottom = placed.header.bottom();
    for (const auto& row : placed.rows) {
        EXPECT_EQ(row.numberBox.left(), content.left());
        EXPECT_NEAR(row.nameBox.left(), row.numberBox.right() + 6, 1e-9);
        EXPECT_NEAR(row.nameBox.right(), content.right(), 1e-9);
        EXPECT_NEAR(row.numberBox.top() + number.ascent(), row.nameBox.top() + name.ascent(), 1e-9);
        EXPECT_GT(std::min(row.numberBox.top(), row.nameBox.top()), previousBottom);
        previousBottom = std::max(row.numberBox.bottom(), row.nameBox.bottom());
    }
    EXPECT_GT(placed.pill.top(), previousBottom);
    EXPECT_NEAR(placed.pill.bottom(), content.bottom(), 1e-9);
}

TEST_F(ComboPanelView, RedrawsWhenTheModelChangesAndLeavesAPicture)
{
    provider->answer = Combos {{QStringLiteral("Q-Flash into R-E-W"), std::nullopt},
        {QStringLiteral("E-Q-W with a long name that does not fit the panel at any size"), std::nullopt},
        {QStringLiteral("Charm, Orb"), QStringLiteral("https://example.org/v")}};
    ComboOverlayView view(*vm, 216, 6);
    int repaints = 0;
    QObject::connect(&view, &OverlayContent::changed, [&] { ++repaints; });
    handle(game());
    EXPECT_GT(repaints, 0);
    const QImage image = renderContent(view);
    const auto placed = view.layout();
    // The header's violet title and the amber caption are drawn where the layout puts them.
    EXPECT_TRUE(inkOf(image, HUD::violet(), 60, placed.header.toAlignedRect()).isValid());
    EXPECT_TRUE(inkOf(image, HUD::textPrimary(), 40, placed.rows[1].nameBox.toAlignedRect()).isValid());
    savePanelPng(renderContent(view, 2), QStringLiteral("combos-three"));
    provider->answer = combos(8);
    handle(std::nullopt);
    handle(game(QStringLiteral("Miss Fortune"), QStringLiteral("BOTTOM")));
    savePanelPng(renderContent(view, 2), QStringLiteral("combos-eight-show-six"));
}
