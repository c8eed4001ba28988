// The loading-screen review as drawn: the rank column's wording and colours, the name lines, and
// the cards the real loading screen gives (titles, order, arena, empty teams).

#include "app/champselect/LoadingReviewView.h"
#include "app/panels/HudStyle.h"

#include "ChampSelectFixture.h"
#include "LiveViewSupport.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

using RankState = ChampSelectViewModel::RankState;
using LoadingPlayer = ChampSelectViewModel::LoadingPlayer;

struct RankCase {
    const char* name;
    RankState rank;
    QString first;
    std::optional<QString> record;
};

void PrintTo(const RankCase& c, std::ostream* os)
{
    *os << c.name;
}

class RankColumn : public ::testing::TestWithParam<RankCase> { };

TEST_P(RankColumn, SaysWhatIsKnown)
{
    const auto [first, record] = LoadingReviewView::rankLines(GetParam().rank);
    EXPECT_EQ(first, GetParam().first);
    EXPECT_EQ(record, GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(States, RankColumn,
    ::testing::Values(RankCase {"loading", RankState::loading(), QStringLiteral("…"), std::nullopt},
        RankCase {"unavailable", RankState::unavailable(), QStringLiteral("—"), std::nullopt},
        RankCase {"unranked", RankState::unranked(), QStringLiteral("Unranked"), std::nullopt},
        RankCase {"gold", RankState::ranked({QStringLiteral("GOLD"), 2, 45, 120, 106}),
            QStringLiteral("GOLD 2 · 45 LP"), QStringLiteral("53% · 120W 106L")},
        RankCase {"grandmasterWithoutDivision", RankState::ranked({QStringLiteral("GRANDMASTER"), {}, 312, 1200, 1000}),
            QStringLiteral("GM · 312 LP"), QStringLiteral("55% · 1200W 1000L")},
        RankCase {"noGamesNoRecord", RankState::ranked({QStringLiteral("SILVER"), 4, 0, 0, 0}),
            QStringLiteral("SILV 4 · 0 LP"), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RankColumnColour, FollowsTheWinRateBands)
{
    EXPECT_EQ(LoadingReviewView::recordColour(55), HUD::ahead());
    EXPECT_EQ(LoadingReviewView::recordColour(54), HUD::textSecondary());
    EXPECT_EQ(LoadingReviewView::recordColour(48), HUD::textSecondary());
    EXPECT_EQ(LoadingReviewView::recordColour(47), HUD::behind());
}

TEST(PlayerNames, TheChampionMovesUpWithoutADisplayName)
{
    LoadingPlayer both;
    both.displayName = QStringLiteral("seb");
    both.championName = QStringLiteral("Zac");
    EXPECT_EQ(LoadingReviewView::nameLines(both),
        std::make_pair(QStringLiteral("seb"), std::optional(QStringLiteral("Zac"))));
    LoadingPlayer championOnly;
    championOnly.championName = QStringLiteral("Zac");
    EXPECT_EQ(
        LoadingReviewView::nameLines(championOnly), std::make_pair(QStringLiteral("Zac"), std::optional<QString>()));
    EXPECT_EQ(
        LoadingReviewView::nameLines(LoadingPlayer {}), std::make_pair(QStringLiteral("—"), std::optional<QString>()));
}

// 5 v 5 of a real ARAM game, or a small arena lobby.
class LoadingReviewViewTest : public ChampSelectFixture {
protected:
    void SetUp() override
    {
        route(QStringLiteral("/riotclient/region-locale"),
            lcuDoc(QStringLiteral("riotclient/region-locale_euw_fr.json")));
        ranks->byGameName[QStringLiteral("Arena1")]
            = RankFetchResult::ranked({QStringLiteral("GOLD"), 2, 45, 120, 106});
    }

    bool settled()
    {
        return spinUntil([&] {
            for (const auto* list : {&vm->loadingAllies(), &vm->loadingEnemies()})
                for (const auto& p : *list)
                    if (p.rank.kind == RankState::Kind::loading)
                        return false;
            return !vm->loadingAllies().empty();
        });
    }

    static QJsonArray arena(int n, int first)
    {
        QJsonArray list;
        for (int i = 0; i < n; ++i)
            list.append(QJsonObject {{QStringLiteral("championId"), 222}, {QStringLiteral("summonerId"), first + i},
                {QStringLiteral("gameName"), QStringLiteral("Arena%1").arg(first + i)},
                {QStringLiteral("tagLine"), QStringLiteral("EUW")}});
        return list;
    }
};

TEST_F(LoadingReviewViewTest, UnidentifiedTeamsAreSidesAndEachCardListsItsPlayers)
{
    auto& vm = loadedModel();
    vm.enterLoadingScreen(
        *GameflowSession::decode(lcuDoc(QStringLiteral("gameflow/aram_450_InProgress_cn_2024.json"))).value, client());
    ASSERT_TRUE(settled());
    ASSERT_FALSE(vm.loadingTeamsIdentified()) << "the current summoner is not served";

    LoadingReviewView view(vm);
    EXPECT_EQ(view.entryNames(), (std::vector<QString> {"status", "Blue side", "Red side"}));
    const auto& blue = view.entry(QStringLiteral("Blue side"))->rows;
    ASSERT_EQ(blue.size(), 7u) << "header, five players, caveat";
    EXPECT_EQ(blue.front(), "header: Blue side");
    EXPECT_EQ(blue.back(), "pill: Metrion · solo queue · this season");
    EXPECT_TRUE(blue[1].startsWith(QStringLiteral("player 0: "))) << blue[1].toStdString();
    EXPECT_TRUE(view.entry(QStringLiteral("Red side"))->rows[1].startsWith(QStringLiteral("player 100: ")));
    EXPECT_DOUBLE_EQ(view.entry(QStringLiteral("Red side"))->size.width(), cardFrameWidth(348, 1.0));

    view.setWindowFontScale(1.55);
    EXPECT_DOUBLE_EQ(view.entry(QStringLiteral("Red side"))->size.width(), cardFrameWidth(348, 1.55));
}

TEST_F(LoadingReviewViewTest, ArenaIsOneGoldCardOfEveryPlayer)
{
    auto& vm = loadedModel();
    vm.enterLoadingScreen(
        *GameflowSession::decode(gameflowDoc(QStringLiteral("InProgress"), 30, arena(3, 1), arena(3, 4))).value,
        client());
    ASSERT_TRUE(settled());
    LoadingReviewView view(vm);
    EXPECT_EQ(view.entryNames(), (std::vector<QString> {"status", "All players"}));
    const auto& rows = view.entry(QStringLiteral("All players"))->rows;
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_TRUE(rows[1].endsWith(QStringLiteral("| GOLD 2 · 45 LP / 53% · 120W 106L"))) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith(QStringLiteral("| Unranked"))) << rows[2].toStdString();
    const QImage image = renderWidget(view, QStringLiteral("loading-review-arena"));
    EXPECT_FALSE(inkOfColour(image, HUD::gold()).isEmpty()) << "the card's accent";
}

TEST_F(LoadingReviewViewTest, WithoutPlayersOnlyTheStatusLineShows)
{
    LoadingReviewView view(loadedModel());
    EXPECT_EQ(view.entryNames(), (std::vector<QString> {"status"}));
    EXPECT_EQ(view.entry(QStringLiteral("status"))->rows.front(), "Loading screen");
}

} // namespace
