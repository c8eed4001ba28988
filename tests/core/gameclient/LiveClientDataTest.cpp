#include "core/gameclient/LiveClientDataClient.h"
#include "core/gameclient/RiotTrustDelegate.h"

#include "Await.h"
#include "LogCapture.h"
#include "TestCertificates.h"
#include "TestHttpServer.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

namespace {

const QString kSnapshotFailed = QStringLiteral("Live Client snapshot failed (likely API schema change): ");

std::shared_ptr<const TlsTrustPolicy> testTrust()
{
    return std::make_shared<RiotTrustDelegate>(TestCertificates::instance().anchor);
}

QByteArray capture(const char* name)
{
    return realData(QStringLiteral("allgamedata/") + QLatin1String(name));
}

// The snapshot address on a loopback port nothing listens on any more.
QUrl closedSnapshotUrl()
{
    quint16 port;
    {
        TestHttpServer gone([](const TestRequest&) { return TestResponse::json("{}"); });
        port = gone.port();
    }
    QUrl url = LiveClientDataClient::defaultUrl();
    url.setPort(port);
    return url;
}

// Lines the session logged about the Live Client: what failed and why, or that it answers again.
QStringList sessionLines(const LogCapture& logs)
{
    QStringList out;
    for (const LogLine& line : logs.lines(QStringLiteral("http")))
        out << line.message;
    return out;
}

int snapshotFailures(const LogCapture& logs)
{
    int n = 0;
    for (const LogLine& line : logs.lines("liveclient"))
        n += line.message.startsWith(kSnapshotFailed) ? 1 : 0;
    return n;
}

} // namespace

// Every real capture decodes; the spectator ones carry an error object as "activePlayer", which
// decodes as a local player without names (so no one is resolved as the user).
class RealCaptures : public ::testing::TestWithParam<const char*> { };

TEST_P(RealCaptures, Decode)
{
    auto decoded = AllGameData::decode(capture(GetParam()));
    ASSERT_TRUE(decoded) << decoded.error.toStdString();
    const AllGameData& d = *decoded.value;
    EXPECT_FALSE(d.allPlayers.empty());
    EXPECT_GT(d.gameData.gameTime, 0.0);
    EXPECT_TRUE(d.gameData.mapNumber.has_value());
    ASSERT_TRUE(d.activePlayer.has_value());
    const bool spectator = QByteArray(GetParam()).contains("spectator");
    EXPECT_EQ(!d.activePlayer->summonerName.has_value() && !d.activePlayer->riotIdGameName.has_value(), spectator);
    for (const LivePlayer& p : d.allPlayers) {
        EXPECT_FALSE(p.championName.isEmpty());
        EXPECT_TRUE(p.team == QLatin1String("ORDER") || p.team == QLatin1String("CHAOS")) << p.team.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(AllGameData, RealCaptures,
    ::testing::Values("aram_2020_spectator.json", "practicetool_11.21_a.json", "practicetool_11.21_b_vs_bot.json",
        "practicetool_11.21_c.json", "practicetool_11.21_d_vs_bot.json", "practicetool_2022_vs_bot.json",
        "sr_2020_local_player.json", "sr_2020_spectator.json", "sr_2022_local_player.json",
        "sr_ranked_11.21_local_player.json", "sr_ranked_11.21_spectator.json", "sr_spectator_2025_zh_CN_localized.json",
        "sr_vs_bot_2021_local_player.json"),
    [](const auto& info) {
        std::string name = info.param;
        for (char& c : name)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST(AllGameDataDecoding, ReadsWhatAPersonSeesInTheRankedCapture)
{
    auto decoded = AllGameData::decode(capture("sr_ranked_11.21_local_player.json"));
    ASSERT_TRUE(decoded);
    const AllGameData& d = *decoded.value;
    EXPECT_EQ(d.activePlayer->summonerName, QStringLiteral("LugnutsK"));
    EXPECT_EQ(d.gameData.gameMode, QStringLiteral("CLASSIC"));
    EXPECT_EQ(d.gameData.mapNumber, 11);
    ASSERT_EQ(d.allPlayers.size(), 10u);
    const LivePlayer& jax = d.allPlayers[0];
    EXPECT_EQ(jax.championName, QStringLiteral("Jax"));
    EXPECT_EQ(jax.position, QStringLiteral("TOP"));
    EXPECT_EQ(jax.level, 18);
    ASSERT_TRUE(jax.scores.has_value());
    EXPECT_EQ(jax.scores->takedowns(), 22);
    EXPECT_EQ(jax.scores->creepScore, 230);
    ASSERT_EQ(jax.items.size(), 7u);
    EXPECT_EQ(jax.items[0].itemID, 6333);
    EXPECT_EQ(jax.items[0].price, 325);
    ASSERT_TRUE(jax.summonerSpells.has_value());
    EXPECT_EQ(jax.summonerSpells->summonerSpellOne.spellKey(), QStringLiteral("SummonerTeleport"));
    EXPECT_EQ(jax.summonerSpells->summonerSpellTwo.spellKey(), QStringLiteral("SummonerFlash"));
    EXPECT_EQ(d.allPlayers[8].championName, QStringLiteral("Miss Fortune"));
    EXPECT_EQ(d.allPlayers[8].team, QStringLiteral("CHAOS"));
}

TEST(AllGameDataDecoding, OtherEndpointsAreNotSnapshots)
{
    for (const char* name : {"other_endpoints/playerlist_2020.json", "other_endpoints/eventdata_2020.json",
             "other_endpoints/gamestats_2020.json"})
        EXPECT_FALSE(AllGameData::decode(capture(name))) << name;
}

struct DocCase {
    const char* name;
    const char* json;
    const char* error; // nullptr: decodes
};

class SnapshotRules : public ::testing::TestWithParam<DocCase> { };

TEST_P(SnapshotRules, WholeDocumentDecodesOrFails)
{
    const DocCase& c = GetParam();
    auto decoded = AllGameData::decode(QByteArray(c.json));
    if (c.error) {
        EXPECT_FALSE(decoded);
        EXPECT_EQ(decoded.error.toStdString(), c.error);
    } else {
        EXPECT_TRUE(decoded) << decoded.error.toStdString();
    }
}

#define GD R"("gameData":{"gameTime":0})"
INSTANTIATE_TEST_SUITE_P(AllGameData, SnapshotRules,
    ::testing::Values(DocCase {"noActivePlayer", R"({"allPlayers":[],)" GD "}", nullptr},
        DocCase {"allPlayersMissing", "{" GD "}", "allPlayers: missing"},
        DocCase {"playerWithoutChampion", R"({"allPlayers":[{"team":"ORDER"}],)" GD "}",
            "allPlayers[0].championName: missing"},
        DocCase {"itemsNull", R"({"allPlayers":[{"championName":"A","team":"ORDER","items":null}],)" GD "}", nullptr},
        DocCase {"itemWithoutPrice",
            R"({"allPlayers":[{"championName":"A","team":"ORDER","items":[{"itemID":1,"count":1}]}],)" GD "}",
            "allPlayers[0].items[0].price: missing"},
        DocCase {"scoresAsText",
            R"({"allPlayers":[{"championName":"A","team":"ORDER","scores":{"kills":"3"}}],)" GD "}",
            "allPlayers[0].scores.kills: expected integer"},
        DocCase {"oneSpellOnly",
            R"({"allPlayers":[{"championName":"A","team":"ORDER","summonerSpells":{"summonerSpellOne":{}}}],)" GD "}",
            "allPlayers[0].summonerSpells.summonerSpellTwo: missing"},
        DocCase {
            "gameTimeText", R"({"allPlayers":[],"gameData":{"gameTime":"1"}})", "gameData.gameTime: expected number"},
        DocCase {"activePlayerList", R"({"activePlayer":[],"allPlayers":[],)" GD "}", "activePlayer: expected object"}),
    [](const auto& info) { return std::string(info.param.name); });
#undef GD

TEST(AllGameDataDecoding, DefaultsApplyWhileDecoding)
{
    auto decoded = AllGameData::decode(QByteArray(
        R"({"allPlayers":[{"championName":"A","team":"CHAOS","scores":{},"summonerSpells":{"summonerSpellOne":{},"summonerSpellTwo":{"rawDisplayName":null}}}],"gameData":{"gameTime":0}})"));
    ASSERT_TRUE(decoded) << decoded.error.toStdString();
    const LivePlayer& p = decoded.value->allPlayers[0];
    EXPECT_TRUE(p.items.empty());
    EXPECT_EQ(p.scores, (LiveScores {0, 0, 0}));
    EXPECT_FALSE(p.summonerSpells->summonerSpellOne.spellKey().has_value());
    EXPECT_EQ(decoded.value->gameData.gameTime, 0.0);
    EXPECT_EQ(
        (LiveScores {std::numeric_limits<int64_t>::max(), 5, 0}).takedowns(), std::numeric_limits<int64_t>::max());
}

TEST(SpellKeys, RawNamesGiveTableKeys)
{
    const std::pair<const char*, std::optional<QString>> cases[] = {
        {"Tip_SummonerSpell_SummonerAlpha_Name", QStringLiteral("SummonerAlpha")},
        {"Tip_SummonerSpell_Name", std::nullopt},
        {"X_SummonerSmiteBeta", QStringLiteral("SummonerSmite")},
        {"SummonerTeleportGamma_Y", QStringLiteral("SummonerTeleport")},
        {"A_Summoner_B", QStringLiteral("Summoner")},
        {"__SummonerAlpha__", QStringLiteral("SummonerAlpha")},
        {"tip_summonerspell_summoneralpha_name", std::nullopt},
        {"", std::nullopt},
        {"___", std::nullopt},
    };
    for (const auto& [raw, key] : cases)
        EXPECT_EQ(spellKeyFromRaw(QString::fromLatin1(raw)), key) << raw;
}

// The client against a fake Live Client server on the loopback, behind the test anchor.
class LiveClientFixture : public ::testing::Test {
protected:
    void serve(std::function<TestResponse(const TestRequest&)> handler)
    {
        server = std::make_unique<TestHttpServer>(std::move(handler), TestCertificates::instance().loopback);
        client = std::make_unique<LiveClientDataClient>(
            server->url(QStringLiteral("/liveclientdata/allgamedata")), testTrust(), patientTimeouts);
    }

    LogCapture logs;
    std::unique_ptr<TestHttpServer> server;
    std::unique_ptr<LiveClientDataClient> client;
};

TEST_F(LiveClientFixture, SnapshotDecodesWhateverStatusCarriesADocument)
{
    const QByteArray doc = capture("sr_ranked_11.21_local_player.json");
    serve([doc](const TestRequest& r) {
        EXPECT_EQ(r.path(), "/liveclientdata/allgamedata");
        EXPECT_TRUE(r.header("authorization").isEmpty());
        return TestResponse::json(doc, 500);
    });
    auto snap = await(client->snapshot());
    ASSERT_TRUE(snap.has_value());
    EXPECT_EQ(snap->allPlayers.size(), 10u);
    EXPECT_EQ(snapshotFailures(logs), 0);
}

TEST_F(LiveClientFixture, ErrorBodiesAreAbsentAndLogged)
{
    serve([](const TestRequest&) {
        return TestResponse::json(
            R"({"errorCode":"RESOURCE_NOT_FOUND","httpStatus":404,"message":"Invalid URI format"})", 404);
    });
    EXPECT_FALSE(await(client->snapshot()).has_value());
    const auto lines = logs.lines("liveclient");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].type, QtCriticalMsg);
    EXPECT_EQ(lines[0].message, kSnapshotFailed + QStringLiteral("allPlayers: missing"));
}

// A transport failure is no snapshot, and not the client's to log: the session says once what
// failed and why.
TEST_F(LiveClientFixture, TransportFailuresAreAbsentAndToldOnce)
{
    const QUrl closedUrl = closedSnapshotUrl();
    LiveClientDataClient closed(closedUrl, testTrust());
    EXPECT_FALSE(await(closed.snapshot()).has_value());
    EXPECT_EQ(sessionLines(logs),
        QStringList {QStringLiteral("Live Client request to %1 failed: connection refused").arg(closedUrl.toString())});

    // A server that accepts and never answers runs into the time-out.
    TestHttpServer silent(
        [](const TestRequest&) { return TestResponse::never(); }, TestCertificates::instance().loopback);
    const QUrl silentUrl = silent.url(QStringLiteral("/liveclientdata/allgamedata"));
    LiveClientDataClient slow(silentUrl, testTrust(), HttpTimeouts {200ms, 400ms});
    EXPECT_FALSE(await(slow.snapshot()).has_value());
    EXPECT_TRUE(sessionLines(logs).value(1).startsWith(
        QStringLiteral("Live Client request to %1 timed out: ").arg(silentUrl.toString())));

    // Truncated body: the connection closes mid-document.
    serve(
        [](const TestRequest&) { return TestResponse::json(capture("sr_ranked_11.21_local_player.json")).cutShort(); });
    EXPECT_FALSE(await(client->snapshot()).has_value());

    // A body without end is cut off at the peer's limit, logged by the session alone.
    serve([](const TestRequest&) { return TestResponse::endless(); });
    EXPECT_FALSE(await(client->snapshot()).has_value());
    EXPECT_TRUE(gaveUpNearLimit(*server, logs, HttpPeer::liveClient));
    EXPECT_EQ(snapshotFailures(logs), 0);
    EXPECT_EQ(sessionLines(logs).size(), 4); // one per failed request
}

// With no game running every poll is refused: said once when it starts, not at every poll.
TEST_F(LiveClientFixture, StreamWithoutGameYieldsAbsentElementsAndOneLine)
{
    const QUrl url = closedSnapshotUrl();
    LiveClientDataClient closed(url, testTrust());
    auto stream = closed.stream(10);
    for (int i = 0; i < 3; ++i) {
        auto element = await(stream->next());
        ASSERT_TRUE(element.has_value()) << "the stream never finishes on its own";
        EXPECT_FALSE(element->has_value());
    }
    EXPECT_TRUE(logs.lines("liveclient").isEmpty());
    EXPECT_EQ(sessionLines(logs),
        QStringList {QStringLiteral("Live Client request to %1 failed: connection refused").arg(url.toString())});
}

TEST_F(LiveClientFixture, PauseZeroPollsBackToBackOneRequestAtATime)
{
    int inFlight = 0;
    int maxInFlight = 0;
    serve([&](const TestRequest&) {
        ++inFlight;
        maxInFlight = std::max(maxInFlight, inFlight);
        TestResponse r = TestResponse::json(capture("practicetool_11.21_a.json"));
        r.delayMs = 5;
        QTimer::singleShot(5, [&] { --inFlight; });
        return r;
    });
    auto stream = client->stream(0);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(await(stream->next()).has_value());
    EXPECT_GE(server->requests().size(), 5);
    EXPECT_EQ(maxInFlight, 1);
}

TEST_F(LiveClientFixture, CancellingWhileSleepingSendsNoFurtherRequest)
{
    serve([](const TestRequest&) { return TestResponse::json(capture("practicetool_11.21_a.json")); });
    auto stream = client->stream(60'000);
    ASSERT_TRUE(await(stream->next()).has_value());
    const auto before = server->requests().size();
    stream->cancel();
    auto end = await(stream->next());
    EXPECT_FALSE(end.has_value()) << "a cancelled stream is finished";
    spinFor(100ms);
    EXPECT_EQ(server->requests().size(), before);
}

TEST_F(LiveClientFixture, BusyConsumerGetsTheNewestSnapshotButEveryAbsence)
{
    // Replies alternate: a document, a document, an error body (absent), a document, ...
    int n = 0;
    serve([&](const TestRequest&) {
        const int i = n++;
        if (i % 3 == 2)
            return TestResponse::json(R"({"error":"not a snapshot"})", 404);
        QByteArray doc = capture("practicetool_11.21_a.json");
        // Mark each document with its number through the game time.
        doc.replace("\"gameTime\": 140.5828857421875", "\"gameTime\": " + QByteArray::number(i));
        return TestResponse::json(doc);
    });
    auto stream = client->stream(1);
    // The consumer is busy: nine polls come back without anyone reading.
    ASSERT_TRUE(spinUntil([&] { return stream->buffered() >= 6; }));
    stream->cancel();
    // Expected: [2 of {0,1} -> 1], absent(2), [4 of {3,4}], absent(5), [7 of {6,7}], absent(8).
    std::vector<std::optional<double>> seen;
    while (auto element = await(stream->next()))
        if (seen.size() < 6)
            seen.push_back(*element ? std::optional<double>((*element)->gameData.gameTime) : std::nullopt);
    const std::vector<std::optional<double>> expected {1.0, std::nullopt, 4.0, std::nullopt, 7.0, std::nullopt};
    EXPECT_EQ(seen, expected);
}

// The first poll goes out at once and the next only after the pause: the slow stream's first
// snapshot comes well within its hour, and it asks no second time while the fast one polls on.
TEST_F(LiveClientFixture, TwoStreamsOnOneClientPollIndependently)
{
    serve([](const TestRequest&) { return TestResponse::json(capture("practicetool_11.21_a.json")); });
    auto fast = client->stream(10);
    auto slow = client->stream(3'600'000);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(await(fast->next()).has_value());
    ASSERT_TRUE(await(slow->next()).has_value());
    EXPECT_GE(fast->requestsStarted(), 4u);
    EXPECT_EQ(slow->requestsStarted(), 1u);
}

TEST_F(LiveClientFixture, DestroyingAStreamMidRequestEndsItQuietly)
{
    serve([](const TestRequest&) { return TestResponse::never(); });
    {
        auto stream = client->stream(10);
        spinUntil([&] { return server->requests().size() == 1; });
    }
    spinFor(50ms);
    EXPECT_EQ(server->requests().size(), 1);
    EXPECT_TRUE(logs.lines("liveclient").isEmpty());
}
