// The loading-screen review: both teams from the gameflow session, Riot IDs looked up where the
// session lacks them, and each player's solo-queue rank, one request at a time.

#include "ChampSelectFixture.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

using RankState = ChampSelectViewModel::RankState;
using LoadingPlayer = ChampSelectViewModel::LoadingPlayer;

const QString currentSummonerPath = QStringLiteral("/lol-summoner/v1/current-summoner");
const QString regionPath = QStringLiteral("/riotclient/region-locale");

QString summonerPath(qint64 id)
{
    return QStringLiteral("/lol-summoner/v1/summoners/") + QString::number(id);
}

// An ARAM game in progress: ten players with summoner ids and puuids but no Riot IDs.
QByteArray inProgress()
{
    return lcuDoc(QStringLiteral("gameflow/aram_450_InProgress_cn_2024.json"));
}

QJsonArray team(const QByteArray& doc, const char* name)
{
    return QJsonDocument::fromJson(doc).object()[QStringLiteral("gameData")].toObject()[QLatin1String(name)].toArray();
}

QByteArray summonerDoc(const std::optional<QString>& puuid, const QString& gameName = QStringLiteral("seb"),
    const QString& tagLine = QStringLiteral("katxu"))
{
    return edited(lcuDoc(QStringLiteral("summoner/current-summoner_2024_riotid.json")), [&](QJsonObject& root) {
        if (puuid)
            root[QStringLiteral("puuid")] = *puuid;
        else
            root.remove(QStringLiteral("puuid"));
        root[QStringLiteral("gameName")] = gameName;
        root[QStringLiteral("tagLine")] = tagLine;
    });
}

GameflowSession gameflow(const QByteArray& doc)
{
    return *GameflowSession::decode(doc).value;
}

QJsonArray players(int n, int firstId)
{
    QJsonArray list;
    for (int i = 0; i < n; ++i)
        list.append(QJsonObject {{QStringLiteral("championId"), 222}, {QStringLiteral("summonerId"), firstId + i},
            {QStringLiteral("gameName"), QStringLiteral("Arena%1").arg(firstId + i)},
            {QStringLiteral("tagLine"), QStringLiteral("EUW")}});
    return list;
}

class LoadingReview : public ChampSelectFixture {
protected:
    void SetUp() override
    {
        route(regionPath, lcuDoc(QStringLiteral("riotclient/region-locale_euw_fr.json")));
        const QJsonArray both[] = {team(inProgress(), "teamOne"), team(inProgress(), "teamTwo")};
        int n = 0;
        for (const QJsonArray& list : both) {
            for (const auto& p : list) {
                const qint64 id = p.toObject()[QStringLiteral("summonerId")].toInteger();
                route(summonerPath(id),
                    summonerDoc(QStringLiteral("x"), QStringLiteral("Player%1").arg(n), QStringLiteral("CN1")));
                ++n;
            }
        }
        teamTwoPuuid = team(inProgress(), "teamTwo")[1].toObject()[QStringLiteral("puuid")].toString();
    }

    bool ranksSettled()
    {
        return spinUntil([&] {
            if (vm->loadingAllies().empty())
                return false;
            for (const auto* list : {&vm->loadingAllies(), &vm->loadingEnemies()}) {
                for (const LoadingPlayer& p : *list) {
                    if (p.rank.kind == RankState::Kind::loading)
                        return false;
                }
            }
            return true;
        });
    }

    QString teamTwoPuuid;
};

TEST_F(LoadingReview, RealGameFindsTheUsersTeamLooksUpRiotIdsThenRanksOneAtATime)
{
    route(currentSummonerPath, summonerDoc(teamTwoPuuid));
    const qint64 lost = team(inProgress(), "teamOne")[0].toObject()[QStringLiteral("summonerId")].toInteger();
    unroute(summonerPath(lost)); // this lookup finds nothing
    ranks->byGameName[QStringLiteral("Player5")]
        = RankFetchResult::ranked(SummonerRankSnapshot {QStringLiteral("GOLD"), 2, 45, 10, 8});
    ranks->byGameName[QStringLiteral("Player6")] = RankFetchResult::unavailable();

    auto& vm = loadedModel();
    vm.enterLoadingScreen(gameflow(inProgress()), client());
    EXPECT_EQ(vm.phase(), Phase::loadingScreen);
    ASSERT_TRUE(ranksSettled());
    const auto built = vm.loadingAllies();
    vm.enterLoadingScreen(gameflow(inProgress()), client()); // a later pass of the same game
    spinFor(20ms);
    EXPECT_EQ(vm.loadingAllies(), built);

    EXPECT_EQ(logs.lines("champselect").size(), 1) << "once per game";
    EXPECT_EQ(logs.count(QStringLiteral("gameflow roster: 10 players, 0 with riot IDs, map=12")), 1);
    EXPECT_TRUE(vm.loadingTeamsIdentified());
    EXPECT_FALSE(vm.isArenaLobby());

    const auto& allies = vm.loadingAllies();
    const auto& enemies = vm.loadingEnemies();
    ASSERT_EQ(enemies.size(), 5u);
    EXPECT_EQ(allies[0].id, 0);
    EXPECT_EQ(enemies[4].id, 104);
    EXPECT_EQ(allies[0].championName, "Sivir") << "the second team holds the user";
    EXPECT_EQ(allies[4].championKey, "Zac");
    EXPECT_EQ(allies[1].puuid, teamTwoPuuid);
    EXPECT_EQ(allies[0].displayName, "Player5");
    EXPECT_EQ(allies[0].gameName, "Player5");
    EXPECT_EQ(allies[0].tagLine, "CN1");
    EXPECT_EQ(allies[0].rank, RankState::ranked(SummonerRankSnapshot {QStringLiteral("GOLD"), 2, 45, 10, 8}));
    EXPECT_EQ(allies[1].rank, RankState::unavailable());
    EXPECT_EQ(allies[2].rank, RankState::unranked());
    EXPECT_EQ(enemies[0].rank, RankState::unavailable()) << "no Riot ID found";
    EXPECT_EQ(enemies[0].displayName, "hj1212121") << "the session's summoner name stays";
    EXPECT_FALSE(enemies[0].gameName.has_value());

    ASSERT_EQ(ranks->calls.size(), 9u);
    EXPECT_EQ(ranks->calls.front(), "Player5#CN1@EUW") << "allies first";
    EXPECT_EQ(ranks->calls.back(), "Player4#CN1@EUW");
    spinUntil([&] { return sleeper->count(ChampSelectViewModel::requestPause) == 9; });
    EXPECT_EQ(sleeper->count(ChampSelectViewModel::requestPause), 9);
}

struct TeamCase {
    const char* name;
    QByteArray summoner;
    bool identified;
    bool swapped;
};

void PrintTo(const TeamCase& c, std::ostream* os)
{
    *os << c.name;
}

class LoadingTeams : public LoadingReview, public ::testing::WithParamInterface<TeamCase> { };

TEST_P(LoadingTeams, TheUsersPuuidDecidesWhichTeamIsTheirs)
{
    route(currentSummonerPath, GetParam().summoner);
    auto& vm = loadedModel();
    vm.enterLoadingScreen(gameflow(inProgress()), client());
    ASSERT_TRUE(spinUntil([&] { return vm.loadingAllies().size() == 5; }));
    EXPECT_EQ(vm.loadingTeamsIdentified(), GetParam().identified);
    EXPECT_EQ(vm.loadingAllies()[0].championName, GetParam().swapped ? "Sivir" : "Cho'Gath");
}

INSTANTIATE_TEST_SUITE_P(Puuids, LoadingTeams,
    ::testing::Values(TeamCase {"noPuuidInTheAnswer", summonerDoc(std::nullopt), false, false},
        TeamCase {"inTheFirstTeam", summonerDoc(QStringLiteral("965a3452-63fc-5234-9151-0ae2ec543cb0")), true, false},
        TeamCase {"inNeitherCountsAsTheSecond", summonerDoc(QStringLiteral("someone-else")), true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadingReview, ArenaShowsOneListWithoutAskingWhoTheUserIs)
{
    auto& vm = loadedModel();
    vm.enterLoadingScreen(
        gameflow(gameflowDoc(QStringLiteral("InProgress"), 30, players(3, 1), players(3, 4))), client());
    ASSERT_TRUE(ranksSettled());
    EXPECT_TRUE(vm.isArenaLobby());
    EXPECT_FALSE(vm.loadingTeamsIdentified());
    ASSERT_EQ(vm.loadingAllies().size(), 3u);
    EXPECT_EQ(vm.loadingAllies()[2].id, 2);
    EXPECT_TRUE(vm.loadingEnemies().empty());
    EXPECT_EQ(count(currentSummonerPath), 0);
    EXPECT_EQ(ranks->calls, (std::vector<QString> {"Arena1#EUW@EUW", "Arena2#EUW@EUW", "Arena3#EUW@EUW"}));
}

TEST_F(LoadingReview, WithoutARegionEveryRowIsUnavailable)
{
    unroute(regionPath);
    auto& vm = loadedModel();
    vm.enterLoadingScreen(gameflow(inProgress()), client());
    ASSERT_TRUE(ranksSettled());
    EXPECT_EQ(vm.loadingAllies().size() + vm.loadingEnemies().size(), 10u);
    EXPECT_TRUE(ranks->calls.empty());
    EXPECT_EQ(vm.loadingEnemies().back().rank, RankState::unavailable());
}

TEST_F(LoadingReview, ASessionWithoutPlayersBuildsNothingAndTheNextPassTriesAgain)
{
    auto& vm = loadedModel();
    vm.enterLoadingScreen(GameflowSession {QStringLiteral("GameStart"), std::nullopt}, client());
    vm.enterLoadingScreen(gameflow(gameflowDoc(QStringLiteral("GameStart"), 11)), client());
    spinFor(20ms);
    EXPECT_EQ(vm.phase(), Phase::loadingScreen);
    EXPECT_TRUE(vm.loadingAllies().empty());
    EXPECT_TRUE(logs.lines("champselect").isEmpty());
    EXPECT_EQ(count(currentSummonerPath), 0);
    vm.enterLoadingScreen(gameflow(inProgress()), client());
    EXPECT_TRUE(spinUntil([&] { return vm.loadingAllies().size() == 5; }));
}

TEST_F(LoadingReview, StoppedWhileTheRegionIsOutTheRowsKeepTheirState)
{
    TestResponse slowMissing = TestResponse::json("{}", 404);
    slowMissing.delayMs = 150;
    route(regionPath, slowMissing);
    auto& vm = loadedModel();
    vm.enterLoadingScreen(gameflow(inProgress()), client());
    ASSERT_TRUE(spinUntil([&] { return count(regionPath) == 1; }));
    vm.stop();
    spinFor(300ms);
    EXPECT_EQ(vm.loadingAllies()[0].rank, RankState::loading()) << "a stopped task writes nothing more";
    vm.enterLoadingScreen(gameflow(inProgress()), client());
    spinFor(20ms);
    EXPECT_EQ(count(regionPath), 1) << "the review stands: no second task for this game";
}

TEST_F(LoadingReview, TheGameEndingClearsTheReviewAndDropsALateRank)
{
    ranks->open = std::make_shared<bool>(false);
    route(gameflowPath, inProgress());
    auto& vm = model();
    vm.start();
    ASSERT_TRUE(spinUntil([&] { return ranks->calls.size() == 1; }));
    EXPECT_EQ(vm.phase(), Phase::loadingScreen);

    route(gameflowPath, lcuDoc(QStringLiteral("gameflow/blind_430_EndOfGame_cn_2024.json")));
    const int passes = sleeper->pollPausesBegun;
    nextPass();
    ASSERT_TRUE(passesDone(passes + 1));
    EXPECT_EQ(vm.phase(), Phase::idle);
    EXPECT_TRUE(vm.loadingAllies().empty());
    EXPECT_TRUE(vm.loadingEnemies().empty());
    *ranks->open = true;
    spinFor(30ms);
    EXPECT_TRUE(vm.loadingAllies().empty());
    EXPECT_EQ(ranks->calls.size(), 1u);
}

} // namespace
