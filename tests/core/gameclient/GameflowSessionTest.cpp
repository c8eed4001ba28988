#include "core/gameclient/GameflowSession.h"

#include "core/gameclient/ChampSelectSession.h"

#include "Await.h"

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

using Player = GameflowSession::Player;

json::Decoded<GameflowSession> decode(const char* text)
{
    return GameflowSession::decode(QByteArray(text));
}

TEST(GameflowDecode, OnlyThePhaseIsRequired)
{
    auto d = decode(R"({"phase":"Lobby"})");
    ASSERT_TRUE(d) << d.error.toStdString();
    EXPECT_EQ(d.value->phase, QStringLiteral("Lobby"));
    EXPECT_FALSE(d.value->gameData.has_value());

    d = decode(R"({"phase":"Lobby","gameData":null})");
    ASSERT_TRUE(d);
    EXPECT_FALSE(d.value->gameData.has_value());
}

TEST(GameflowDecode, MissingTeamStaysAbsentNotEmpty)
{
    auto d = decode(R"({"phase":"GameStart","gameData":{"teamOne":[{}],"mapNumber":12}})");
    ASSERT_TRUE(d) << d.error.toStdString();
    const GameflowSession::GameData& g = *d.value->gameData;
    ASSERT_TRUE(g.teamOne.has_value());
    EXPECT_EQ(*g.teamOne, std::vector<Player> {Player {}});
    EXPECT_FALSE(g.teamTwo.has_value());
    EXPECT_EQ(g.mapNumber, 12);
    EXPECT_EQ(g.teamOne->front().displayName(), std::nullopt);
    EXPECT_EQ(g.teamOne->front().riotId(), std::nullopt);
}

TEST(GameflowDecode, MapComesFromMapNumberElseTheQueue)
{
    const std::pair<const char*, std::optional<int64_t>> cases[] = {
        {R"({"phase":"InProgress","gameData":{"mapNumber":11,"queue":{"mapId":12}}})", 11},
        {R"({"phase":"InProgress","gameData":{"queue":{"mapId":12}}})", 12},
        {R"({"phase":"InProgress","gameData":{"queue":{"mapId":"12"}}})", std::nullopt},
        {R"({"phase":"InProgress","gameData":{"queue":[]}})", std::nullopt},
    };
    for (const auto& [text, map] : cases) {
        auto d = decode(text);
        ASSERT_TRUE(d) << text;
        EXPECT_EQ(d.value->gameData->mapNumber, map) << text;
    }
}

TEST(GameflowDecode, ReadsEveryPlayerField)
{
    auto d = decode(R"({"phase":"InProgress","gameData":{"teamTwo":[
        {"championId":157,"summonerName":"old","gameName":"Faker","tagLine":"KR1","teamId":200,
         "puuid":"p-1","summonerId":9007199254740993,"selectedRole":"MID"}]}})");
    ASSERT_TRUE(d) << d.error.toStdString();
    const Player expected {157, QStringLiteral("old"), QStringLiteral("Faker"), QStringLiteral("KR1"), 200,
        QStringLiteral("p-1"), 9007199254740993};
    EXPECT_EQ(d.value->gameData->teamTwo->front(), expected);
}

TEST(GameflowDecode, OneBadValueFailsTheWholeSession)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {R"({})", "phase: missing"},
        {R"({"phase":3})", "phase: expected string"},
        {R"({"phase":"InProgress","gameData":[]})", "gameData: expected object"},
        {R"({"phase":"InProgress","gameData":{"teamOne":{}}})", "gameData.teamOne: expected array"},
        {R"({"phase":"InProgress","gameData":{"teamOne":[{},{"championId":"31"}]}})",
            "gameData.teamOne[1].championId: expected integer"},
        {R"({"phase":"InProgress","gameData":{"mapNumber":"11"}})", "gameData.mapNumber: expected integer"},
        {R"("InProgress")", "expected object"},
    };
    for (const Case& c : cases) {
        auto d = decode(c.text);
        EXPECT_FALSE(d) << c.text;
        EXPECT_EQ(d.error.toStdString(), c.error) << c.text;
    }
}

TEST(GameflowPhase, OnlyLoadingAndRunningCountExactly)
{
    for (const char* phase : {"GameStart", "InProgress"})
        EXPECT_TRUE((GameflowSession {QString::fromLatin1(phase), std::nullopt}.isLoadingOrInGame())) << phase;
    for (const char* phase : {"ChampSelect", "Reconnect", "EndOfGame", "gamestart", "INPROGRESS", ""})
        EXPECT_FALSE((GameflowSession {QString::fromLatin1(phase), std::nullopt}.isLoadingOrInGame())) << phase;
}

TEST(GameflowPlayer, DisplayNameAndRiotId)
{
    const auto s = [](const char* text) { return std::optional<QString>(QString::fromUtf8(text)); };
    struct Case {
        Player player;
        std::optional<QString> displayName;
        std::optional<RiotId> riotId;
    };
    const Case cases[] = {
        {Player {}, std::nullopt, std::nullopt},
        {Player {{}, s("summ"), s(""), s("EUW"), {}, {}, {}}, s("summ"), std::nullopt},
        {Player {{}, s("summ"), s("Game"), s(""), {}, {}, {}}, s("Game"), std::nullopt},
        {Player {{}, s("summ"), s("Game"), std::nullopt, {}, {}, {}}, s("Game"), std::nullopt},
        {Player {{}, s(""), s(""), s("x"), {}, {}, {}}, std::nullopt, std::nullopt},
        {Player {{}, std::nullopt, s(" a "), s("T 1"), {}, {}, {}}, s(" a "), RiotId {" a ", "T 1"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.player.displayName(), c.displayName);
        EXPECT_EQ(c.player.riotId(), c.riotId);
    }
}

struct RealCase {
    const char* file;
    const char* phase;
    bool loadingOrInGame;
    size_t teamOne;
    size_t teamTwo;
};

void PrintTo(const RealCase& c, std::ostream* os)
{
    *os << c.file;
}

class RealGameflow : public ::testing::TestWithParam<RealCase> { };

TEST_P(RealGameflow, Decodes)
{
    const RealCase& c = GetParam();
    const auto d = GameflowSession::decode(test::realData(QStringLiteral("lcu/gameflow/") + c.file));
    ASSERT_TRUE(d) << d.error.toStdString();
    EXPECT_EQ(d.value->phase, QString::fromLatin1(c.phase));
    EXPECT_EQ(d.value->isLoadingOrInGame(), c.loadingOrInGame);
    ASSERT_TRUE(d.value->gameData.has_value());
    // The client names the map only as the queue's "mapId": 12 for ARAM, 11 for the Rift.
    EXPECT_EQ(d.value->gameData->mapNumber, QByteArray(c.file).startsWith("aram") ? 12 : 11);
    ASSERT_TRUE(d.value->gameData->teamOne && d.value->gameData->teamTwo);
    EXPECT_EQ(d.value->gameData->teamOne->size(), c.teamOne);
    EXPECT_EQ(d.value->gameData->teamTwo->size(), c.teamTwo);
    for (const auto* team : {&*d.value->gameData->teamOne, &*d.value->gameData->teamTwo})
        for (const Player& p : *team) {
            // Players of the CN client carry summoner names, no Riot ID and no team id.
            EXPECT_TRUE(p.championId && p.puuid && p.summonerId);
            EXPECT_TRUE(p.displayName().has_value());
            EXPECT_FALSE(p.riotId().has_value());
        }
}

INSTANTIATE_TEST_SUITE_P(Captures, RealGameflow,
    ::testing::Values(RealCase {"aram_450_ReadyCheck_2020.json", "ReadyCheck", false, 0, 0},
        RealCase {"aram_450_ChampSelect_2020.json", "ChampSelect", false, 0, 0},
        RealCase {"aram_450_InProgress_cn_2024.json", "InProgress", true, 5, 5},
        RealCase {"blind_430_EndOfGame_cn_2024.json", "EndOfGame", false, 5, 5}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST(RealGameflowPlayers, LoadingScreenPlayersAsWritten)
{
    const auto d
        = GameflowSession::decode(test::realData(QStringLiteral("lcu/gameflow/aram_450_InProgress_cn_2024.json")));
    ASSERT_TRUE(d) << d.error.toStdString();
    const Player& first = d.value->gameData->teamOne->front();
    EXPECT_EQ(first,
        (Player {31, QStringLiteral("hj1212121"), std::nullopt, std::nullopt, std::nullopt,
            QStringLiteral("e2f2640e-e4fa-5ec1-b487-b71fe8251bbd"), 2486604657633312}));
    EXPECT_EQ(first.displayName(), QStringLiteral("hj1212121"));
    EXPECT_EQ(d.value->gameData->teamTwo->front().displayName(), QStringLiteral("你太强了我只能躺"));
}

// The events of one recorded ARAM game: every gameflow and champ-select session in it decodes.
TEST(RealGameflowRecording, EventsOfOneGameDecode)
{
    struct Event {
        QString uri;
        QByteArray data;
    };
    auto events = json::decode<std::vector<Event>>(
        test::realData(QStringLiteral("lcu/recordings/aram_2020_lcu_events_subset.json")), [](json::Value root) {
            return root.toArray().map([](json::Value e) {
                return e.toObject().required("JsonEvent", [](json::Value v) {
                    const json::Object o = v.toObject();
                    const std::string text
                        = simdjson::to_string(o.required("data", [](json::Value d) { return d; }).raw());
                    return Event {o.string("uri"), QByteArray(text.data(), qsizetype(text.size()))};
                });
            });
        });
    ASSERT_TRUE(events) << events.error.toStdString();
    QStringList phases;
    int champSelects = 0;
    for (const Event& e : *events.value) {
        if (e.uri == QLatin1String("/lol-gameflow/v1/session")) {
            const auto d = GameflowSession::decode(e.data);
            ASSERT_TRUE(d) << d.error.toStdString();
            phases << d.value->phase;
        } else if (e.uri == QLatin1String("/lol-champ-select/v1/session")) {
            const auto d = ChampSelectSession::decode(e.data);
            ASSERT_TRUE(d) << d.error.toStdString();
            EXPECT_EQ(d.value->localPlayerCellId, 2);
            ++champSelects;
        }
    }
    EXPECT_EQ(phases, (QStringList {QStringLiteral("ReadyCheck"), QStringLiteral("ChampSelect")}));
    EXPECT_EQ(champSelects, 3);
}

} // namespace
