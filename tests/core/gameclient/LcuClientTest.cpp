#include "core/gameclient/LCUClient.h"
#include "core/gameclient/RiotTrustDelegate.h"

#include "Await.h"
#include "LogCapture.h"
#include "TestCertificates.h"
#include "TestHttpServer.h"

#include <QProcess>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <functional>
#include <future>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

namespace {

const QString champPath = QStringLiteral("/lol-champ-select/v1/session");
const QString gameflowPath = QStringLiteral("/lol-gameflow/v1/session");
const QString champDecodeFailed = QStringLiteral("champ-select decode failed (payload shape may have drifted): ");
const QString gameflowDecodeFailed = QStringLiteral("gameflow decode failed (payload shape may have drifted): ");

// Short enough that a silent peer ends a test quickly.
const HttpTimeouts shortTimeouts {300ms, 800ms};

std::shared_ptr<const TlsTrustPolicy> testTrust()
{
    return std::make_shared<RiotTrustDelegate>(TestCertificates::instance().anchor);
}

QByteArray lcuDoc(const QString& relative)
{
    return realData(QStringLiteral("lcu/") + relative);
}

QByteArray noActiveDelegate()
{
    return lcuDoc(QStringLiteral("errors/champ-select_session_404_no_active_delegate.json"));
}

// A pretend game client: answers only requests that carry its password, like the real one.
class FakeGameClient : public ::testing::Test {
protected:
    using Route = std::function<TestResponse(const TestRequest&)>;

    FakeGameClient()
        : server([this](const TestRequest& r) { return answer(r); }, TestCertificates::instance().loopback)
    {
    }

    LCUClient client(HttpTimeouts timeouts = patientTimeouts) const
    {
        return LCUClient(ClientCredentials {server.port(), password, QStringLiteral("https")}, testTrust(), timeouts);
    }

    void route(const QString& path, Route r) { routes[path.toUtf8()] = std::move(r); }
    void route(const QString& path, TestResponse response)
    {
        routes[path.toUtf8()] = [response](const TestRequest&) { return response; };
    }

    TestResponse answer(const TestRequest& request)
    {
        if (request.header("authorization") != expectedAuthorization)
            return TestResponse::json(R"({"errorCode":"UNAUTHORIZED","httpStatus":401,"message":"Unauthorized"})", 401);
        auto it = routes.find(request.path());
        if (it == routes.end())
            return TestResponse::json(noActiveDelegate(), 404);
        return it->second(request);
    }

    QString password = QStringLiteral("Xh3_q-9ZZ");
    QByteArray expectedAuthorization = "Basic " + QByteArray("riot:Xh3_q-9ZZ").toBase64();
    std::map<QByteArray, Route> routes;
    TestHttpServer server;
    LogCapture logs;
};

// --- the two session fetches: every way an answer can go ---------------------------------------

using Kind = LCUClient::ChampSelectFetch::Kind;
using GKind = LCUClient::GameflowFetch::Kind;

struct FetchCase {
    const char* name;
    // Builds the answer for one of the two session paths.
    std::function<TestResponse(bool champSelect)> response;
    Kind champ;
    GKind gameflow;
    bool decodeLogged;
    bool silentPeer = false; // needs the short time-outs
};

void PrintTo(const FetchCase& c, std::ostream* os)
{
    *os << c.name;
}

TestResponse realSession(bool champSelect)
{
    return TestResponse::json(champSelect ? lcuDoc(QStringLiteral("champ-select/draft_finalization_2024.json"))
                                          : lcuDoc(QStringLiteral("gameflow/aram_450_InProgress_cn_2024.json")));
}

TestResponse withBody(QByteArray body, int status = 200)
{
    return TestResponse::json(std::move(body), status);
}

QByteArray deeplyNested()
{
    return QByteArray(100000, '[') + QByteArray(100000, ']');
}

// A real session padded with an unknown member of megabytes, still within the body limit.
QByteArray oversizedSession(bool champSelect)
{
    QByteArray doc = realSession(champSelect).body;
    const qsizetype brace = doc.indexOf('{');
    return doc.left(brace + 1) + "\"padding\":\"" + QByteArray(2 * 1024 * 1024, 'x') + "\"," + doc.mid(brace + 1);
}

class SessionFetch : public FakeGameClient, public ::testing::WithParamInterface<FetchCase> { };

TEST_P(SessionFetch, MapsEveryAnswer)
{
    const FetchCase& c = GetParam();
    route(champPath, c.response(true));
    route(gameflowPath, c.response(false));
    const LCUClient lcu = client(c.silentPeer ? shortTimeouts : patientTimeouts);

    const auto champ = await(lcu.champSelectFetch());
    EXPECT_EQ(champ.kind, c.champ);
    EXPECT_EQ(champ.session.has_value(), c.champ == Kind::session);
    const auto flow = await(lcu.gameflowFetch());
    EXPECT_EQ(flow.kind, c.gameflow);
    EXPECT_EQ(flow.session.has_value(), c.gameflow == GKind::session);

    const QList<LogLine> lines = logs.lines(QStringLiteral("lcu"));
    if (c.decodeLogged) {
        ASSERT_EQ(lines.size(), 2);
        EXPECT_TRUE(lines[0].message.startsWith(champDecodeFailed)) << lines[0].message.toStdString();
        EXPECT_TRUE(lines[1].message.startsWith(gameflowDecodeFailed)) << lines[1].message.toStdString();
        EXPECT_EQ(lines[0].type, QtCriticalMsg);
    } else {
        EXPECT_TRUE(lines.isEmpty()) << lines.value(0).message.toStdString();
    }
    if (c.response(true).behaviour == TestResponse::Behaviour::endlessBody) {
        EXPECT_TRUE(gaveUpNearLimit(server, logs, HttpPeer::gameClient));
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, SessionFetch,
    ::testing::Values(FetchCase {"real_session", realSession, Kind::session, GKind::session, false},
        FetchCase {"no_active_delegate_404", [](bool) { return withBody(noActiveDelegate(), 404); }, Kind::notInSelect,
            GKind::notInGame, false},
        FetchCase {
            "no_content_204", [](bool) { return withBody({}, 204); }, Kind::notInSelect, GKind::notInGame, false},
        // Only 200 counts, even with a good session in the body.
        FetchCase {"created_201", [](bool champ) { return withBody(realSession(champ).body, 201); }, Kind::notInSelect,
            GKind::notInGame, false},
        FetchCase {"malformed_json", [](bool) { return withBody(R"({"localPlayerCellId":0,"phase":)"); },
            Kind::notInSelect, GKind::notInGame, true},
        FetchCase {"empty_200", [](bool) { return withBody({}); }, Kind::notInSelect, GKind::notInGame, true},
        // A whole reply whose document stops half-way.
        FetchCase {"truncated_document",
            [](bool champ) {
                const QByteArray doc = realSession(champ).body;
                return withBody(doc.left(doc.size() / 2));
            },
            Kind::notInSelect, GKind::notInGame, true},
        FetchCase {"nested_beyond_any_depth", [](bool) { return withBody(deeplyNested()); }, Kind::notInSelect,
            GKind::notInGame, true},
        FetchCase {"invalid_utf8_in_string",
            [](bool) {
                return withBody("{\"phase\":\"In\xff\",\"localPlayerCellId\":0,\"myTeam\":[],\"theirTeam\":[]}");
            },
            Kind::notInSelect, GKind::notInGame, true},
        // A body without end is cut off at the peer's limit: no answer, and no decode log.
        FetchCase {
            "endless_body", [](bool) { return TestResponse::endless(); }, Kind::unreachable, GKind::unreachable, false},
        FetchCase {"oversized_but_valid", [](bool champ) { return withBody(oversizedSession(champ)); }, Kind::session,
            GKind::session, false},
        // No answer from the client at all: a transport failure, which is not logged.
        FetchCase {"closed_without_answer",
            [](bool) {
                TestResponse r;
                r.behaviour = TestResponse::Behaviour::closeWithoutAnswer;
                return r;
            },
            Kind::unreachable, GKind::unreachable, false},
        FetchCase {"transfer_cut_short", [](bool champ) { return realSession(champ).cutShort(); }, Kind::unreachable,
            GKind::unreachable, false},
        FetchCase {"never_answers", [](bool) { return TestResponse::never(); }, Kind::unreachable, GKind::unreachable,
            false, true},
        FetchCase {"answer_after_the_time_out",
            [](bool champ) {
                TestResponse r = realSession(champ);
                r.delayMs = 2000;
                return r;
            },
            Kind::unreachable, GKind::unreachable, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FakeGameClient, DecodeLogNamesTheProblem)
{
    route(champPath, withBody(R"({"localPlayerCellId":0,"myTeam":[{"cellId":0}],"theirTeam":[]})"));
    route(gameflowPath, withBody(R"({"gameData":{}})"));
    const LCUClient lcu = client();
    EXPECT_EQ(await(lcu.champSelectFetch()).kind, Kind::notInSelect);
    EXPECT_EQ(await(lcu.gameflowFetch()).kind, GKind::notInGame);
    EXPECT_EQ(logs.count(champDecodeFailed + QStringLiteral("myTeam[0].championId: missing")), 1);
    EXPECT_EQ(logs.count(gameflowDecodeFailed + QStringLiteral("phase: missing")), 1);
}

TEST_F(FakeGameClient, SessionsArriveWhole)
{
    route(champPath, realSession(true));
    route(gameflowPath, realSession(false));
    const LCUClient lcu = client();
    const auto champ = await(lcu.champSelectFetch());
    ASSERT_EQ(champ.kind, Kind::session);
    EXPECT_EQ(champ.session, ChampSelectSession::decode(realSession(true).body).value);
    const auto flow = await(lcu.gameflowFetch());
    ASSERT_EQ(flow.kind, GKind::session);
    EXPECT_TRUE(flow.session->isLoadingOrInGame());
    EXPECT_EQ(flow.session->gameData->teamTwo->size(), 5u);
    EXPECT_EQ(await(lcu.champSelectSnapshot()), champ.session);
}

TEST_F(FakeGameClient, SendsBasicAuthorizationOnEveryRequest)
{
    route(champPath, realSession(true));
    const LCUClient lcu = client();
    EXPECT_EQ(lcu.authHeader(), QString::fromLatin1(expectedAuthorization));
    await(lcu.champSelectFetch());
    await(lcu.regionCode());
    ASSERT_EQ(server.requests().size(), 2);
    for (const TestRequest& r : server.requests()) {
        EXPECT_EQ(r.method, "GET");
        EXPECT_EQ(r.header("authorization"), expectedAuthorization);
        EXPECT_TRUE(r.body.isEmpty());
    }

    // A client with a stale password is answered, but not with a session.
    password = QStringLiteral("old");
    EXPECT_EQ(await(client().champSelectFetch()).kind, Kind::notInSelect);
}

TEST(LcuAuthorization, HeaderFromPassword)
{
    const auto header = [](const QString& password) {
        return LCUClient(ClientCredentials {1, password, QStringLiteral("https")}, testTrust(), shortTimeouts)
            .authHeader();
    };
    EXPECT_EQ(header(QString()), QStringLiteral("Basic cmlvdDo="));
    EXPECT_EQ(header(QStringLiteral("abc")), QStringLiteral("Basic cmlvdDphYmM="));
    // UTF-8 before base64, no line breaks even for a long password.
    EXPECT_EQ(header(QStringLiteral("é")), QStringLiteral("Basic cmlvdDrDqQ=="));
    EXPECT_FALSE(header(QString(200, QLatin1Char('p'))).contains(QLatin1Char('\n')));
}

// --- no server or the wrong server ------------------------------------------------------------

TEST(LcuUnreachable, ClosedPortInvalidPortAndForeignCertificate)
{
    LogCapture logs;
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    for (int64_t port : {int64_t(closedPort), int64_t(-1), int64_t(70000)}) {
        const LCUClient lcu(
            ClientCredentials {port, QStringLiteral("pw"), QStringLiteral("https")}, testTrust(), shortTimeouts);
        EXPECT_EQ(await(lcu.champSelectFetch()).kind, Kind::unreachable) << port;
        EXPECT_EQ(await(lcu.gameflowFetch()).kind, GKind::unreachable) << port;
        EXPECT_EQ(await(lcu.rawFetch(QStringLiteral("/x"))), std::nullopt) << port;
        EXPECT_EQ(await(lcu.currentSummonerPuuid()), std::nullopt) << port;
    }

    TestHttpServer rogue([](const TestRequest&) { return TestResponse::json("{\"phase\":\"InProgress\"}"); },
        TestCertificates::instance().rogue);
    const LCUClient lcu(
        ClientCredentials {rogue.port(), QStringLiteral("pw"), QStringLiteral("https")}, testTrust(), shortTimeouts);
    EXPECT_EQ(await(lcu.gameflowFetch()).kind, GKind::unreachable);
    EXPECT_TRUE(rogue.requests().isEmpty()); // refused before the password went out
    EXPECT_TRUE(logs.lines(QStringLiteral("lcu")).isEmpty());

    // Not the client's to log: the session says once what failed and why, for each address (a
    // port out of range makes no request at all).
    int refusedLines = 0;
    int trustLines = 0;
    for (const LogLine& line : logs.lines(QStringLiteral("http"))) {
        EXPECT_TRUE(line.message.startsWith(QStringLiteral("game client request to https://127.0.0.1:")))
            << line.message.toStdString();
        refusedLines += line.message.endsWith(QStringLiteral(" failed: connection refused")) ? 1 : 0;
        trustLines += line.message.endsWith(QStringLiteral(" failed: its certificate was refused")) ? 1 : 0;
    }
    EXPECT_EQ(refusedLines, 4);
    EXPECT_EQ(trustLines, 1);
}

TEST_F(FakeGameClient, DroppedClientStillFinishesItsRequest)
{
    route(champPath, TestResponse::never());
    QCoro::Task<LCUClient::ChampSelectFetch> pending = [this] {
        const LCUClient lcu = client(shortTimeouts); // the request outlives it and runs into its time-out
        return lcu.champSelectFetch();
    }();
    EXPECT_EQ(await(std::move(pending)).kind, Kind::unreachable);
}

// Discovery makes its client on a worker thread; the client is then used on the main thread.
TEST_F(FakeGameClient, ClientMadeOnAWorkerThreadWorksOnTheMainThread)
{
    route(gameflowPath, realSession(false));
    const ClientCredentials creds {server.port(), password, QStringLiteral("https")};
    std::optional<LCUClient> lcu = std::async(std::launch::async, [creds] {
        return std::optional<LCUClient>(LCUClient(creds, testTrust(), patientTimeouts));
    }).get();
    ASSERT_TRUE(lcu.has_value());
    EXPECT_EQ(await(lcu->gameflowFetch()).kind, GKind::session);
    // Dropped on another thread: the session is handed back to its own thread for deletion.
    std::async(std::launch::async, [moved = std::move(lcu)]() mutable { moved.reset(); }).get();
    spinFor(50ms);
}

// From a running process to an authorised request: discovery reads the pretend client's flags, and
// the client it makes trusts only the publisher's root, which the test identity is not under.
TEST_F(FakeGameClient, DiscoveredClientUsesThePinnedRoot)
{
    route(champPath, realSession(true));
    password = QStringLiteral("disc") + QString::number(server.port());
    expectedAuthorization = "Basic " + ("riot:" + password.toUtf8()).toBase64();
    QProcess child;
    child.start(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("sleep 20; :"), QStringLiteral("/opt/lol/LeagueClientUx"),
            QStringLiteral("--remoting-auth-token=") + password, QStringLiteral("--app-port=%1").arg(server.port())});
    ASSERT_TRUE(child.waitForStarted());
    std::optional<LCUClient> found = std::async(std::launch::async, [] { return LCUClient::discover(); }).get();
    child.kill();
    child.waitForFinished(5000);
    ASSERT_TRUE(found.has_value());
    if (found->creds().password != password)
        GTEST_SKIP() << "another pretend game client is running";
    EXPECT_EQ(found->creds(), (ClientCredentials {server.port(), password, QStringLiteral("https")}));
    EXPECT_EQ(found->authHeader(), QString::fromLatin1(expectedAuthorization));

    EXPECT_EQ(await(found->champSelectFetch()).kind, Kind::unreachable);
    EXPECT_TRUE(server.requests().isEmpty());
    const LCUClient trusting(found->creds(), testTrust(), patientTimeouts);
    EXPECT_EQ(await(trusting.champSelectFetch()).kind, Kind::session);
}

// --- the lookups ------------------------------------------------------------------------------

TEST_F(FakeGameClient, PuuidAsDecoded)
{
    const QString path = QStringLiteral("/lol-summoner/v1/current-summoner");
    const LCUClient lcu = client();
    route(path, withBody(lcuDoc(QStringLiteral("summoner/current-summoner_2024_riotid.json"))));
    EXPECT_EQ(await(lcu.currentSummonerPuuid()), QStringLiteral("25021ad0-e2a8-545d-8222-cad94af41533"));
    route(path, withBody(R"({"puuid":""})"));
    EXPECT_EQ(await(lcu.currentSummonerPuuid()), QString());
    for (const char* body : {R"({"puuid":null})", R"({"puuid":5})", "["}) {
        route(path, withBody(body));
        EXPECT_EQ(await(lcu.currentSummonerPuuid()), std::nullopt) << body;
    }
    route(path, withBody(R"({"puuid":"p"})", 404));
    EXPECT_EQ(await(lcu.currentSummonerPuuid()), std::nullopt);
    EXPECT_TRUE(logs.lines(QStringLiteral("lcu")).isEmpty());
}

TEST_F(FakeGameClient, RiotIdsNeedBothHalves)
{
    const QString path = QStringLiteral("/lol-summoner/v1/current-summoner");
    const LCUClient lcu = client();
    struct Case {
        const char* file;
        std::optional<RiotId> expected;
    };
    const Case cases[] = {
        {"current-summoner_2024_riotid.json", RiotId {QStringLiteral("seb"), QStringLiteral("katxu")}},
        {"current-summoner_cn_tencent.json", RiotId {QStringLiteral("犀利哥"), QStringLiteral("56399")}},
        {"current-summoner_vn_abbreviated.json", RiotId {QStringLiteral("rage bait"), QStringLiteral("0912")}},
        {"current-summoner_pre_riotid_a.json", std::nullopt},
        {"current-summoner_pre_riotid_b.json", std::nullopt},
    };
    for (const Case& c : cases) {
        route(path, withBody(lcuDoc(QStringLiteral("summoner/") + QLatin1String(c.file))));
        EXPECT_EQ(await(lcu.currentSummonerRiotId()), c.expected) << c.file;
    }

    route(QStringLiteral("/lol-summoner/v1/summoners/-42"), withBody(R"({"gameName":" a","tagLine":"b "})"));
    route(QStringLiteral("/lol-summoner/v1/summoners/42"), withBody(R"({"gameName":"a","tagLine":""})"));
    route(QStringLiteral("/lol-summoner/v1/summoners/43"), withBody(R"({"gameName":"a"})"));
    EXPECT_EQ(await(lcu.summonerRiotId(-42)), (RiotId {QStringLiteral(" a"), QStringLiteral("b ")}));
    EXPECT_EQ(await(lcu.summonerRiotId(42)), std::nullopt);
    EXPECT_EQ(await(lcu.summonerRiotId(43)), std::nullopt);
    EXPECT_EQ(await(lcu.summonerRiotId(44)), std::nullopt); // 404
    EXPECT_EQ(server.requests().last().target, "/lol-summoner/v1/summoners/44");
}

TEST_F(FakeGameClient, RegionCodeFromTheClient)
{
    const QString path = QStringLiteral("/riotclient/region-locale");
    const LCUClient lcu = client();
    route(path, withBody(lcuDoc(QStringLiteral("riotclient/region-locale_euw_fr.json"))));
    EXPECT_EQ(await(lcu.regionCode()), QStringLiteral("EUW"));
    route(path, withBody(lcuDoc(QStringLiteral("riotclient/region-locale_vn2.json"))));
    EXPECT_EQ(await(lcu.regionCode()), QStringLiteral("VN2"));
    route(path, withBody(R"({"webRegion":"","region":"euw1"})"));
    EXPECT_EQ(await(lcu.regionCode()), QStringLiteral("EUW"));
    route(path, withBody(R"({"webRegion":1,"region":"euw1"})"));
    EXPECT_EQ(await(lcu.regionCode()), std::nullopt);
}

TEST(LcuRegionRule, WebRegionElseRegionBeforeItsDigits)
{
    const auto s = [](const char* text) { return std::optional<QString>(QString::fromUtf8(text)); };
    const std::optional<QString> none;
    EXPECT_EQ(LCUClient::regionCodeFrom(s("euw"), s("x1")), s("EUW"));
    EXPECT_EQ(LCUClient::regionCodeFrom(s("na1"), none), s("NA1")); // nothing cut from webRegion
    EXPECT_EQ(LCUClient::regionCodeFrom(s(""), s("euw1")), s("EUW"));
    EXPECT_EQ(LCUClient::regionCodeFrom(none, s("NA1")), s("NA"));
    EXPECT_EQ(LCUClient::regionCodeFrom(none, s("1eu")), s("")); // a value, not nothing
    EXPECT_EQ(LCUClient::regionCodeFrom(none, s("tw²x")), s("TW")); // any numeric character ends it
    EXPECT_EQ(LCUClient::regionCodeFrom(none, s("stra\u00dfe")), s("STRASSE")); // full upper-casing
    EXPECT_EQ(LCUClient::regionCodeFrom(none, s("")), none);
    EXPECT_EQ(LCUClient::regionCodeFrom(none, none), none);
}

TEST_F(FakeGameClient, RunePagePerkIdsAndRawFetch)
{
    const QString path = QStringLiteral("/lol-perks/v1/currentpage");
    const LCUClient lcu = client();
    route(path, withBody(R"({"id":1,"selectedPerkIds":[8005,9111,9104,8014,8139,8135,5005,5008,5002]})"));
    EXPECT_EQ(await(lcu.currentRunePagePerkIds()),
        (std::vector<int64_t> {8005, 9111, 9104, 8014, 8139, 8135, 5005, 5008, 5002}));
    route(path, withBody(R"({"selectedPerkIds":[]})"));
    EXPECT_EQ(await(lcu.currentRunePagePerkIds()), std::vector<int64_t> {});
    route(path, withBody(R"({"selectedPerkIds":null})"));
    EXPECT_EQ(await(lcu.currentRunePagePerkIds()), std::nullopt);
    route(path, withBody(R"({"selectedPerkIds":[1,"2"]})"));
    EXPECT_EQ(await(lcu.currentRunePagePerkIds()), std::nullopt);

    // The raw fetch reports any status with its body untouched, and appends the path as given.
    const auto raw = await(lcu.rawFetch(QStringLiteral("/lol-champ-select/v1/session?x=1")));
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->status, 404);
    EXPECT_EQ(raw->body, noActiveDelegate());
    EXPECT_EQ(server.requests().last().target, "/lol-champ-select/v1/session?x=1");
}

// --- the polling stream -----------------------------------------------------------------------

TEST_F(FakeGameClient, StreamDeliversEveryPollInOrderUntilCancelled)
{
    int polls = 0;
    route(champPath, [&polls](const TestRequest&) {
        return ++polls % 2 == 1 ? realSession(true) : withBody(noActiveDelegate(), 404);
    });
    const LCUClient lcu = client();
    auto stream = lcu.champSelectStream(10);
    std::vector<bool> seen;
    for (int i = 0; i < 4; ++i) {
        auto element = await(stream->next());
        ASSERT_TRUE(element.has_value());
        seen.push_back(element->has_value());
    }
    EXPECT_EQ(seen, (std::vector<bool> {true, false, true, false}));

    stream->cancel();
    spinFor(50ms);
    const int pollsAtCancel = polls;
    // Elements buffered before the cancel still come out; then the stream ends.
    while (auto element = await(stream->next()))
        ;
    EXPECT_TRUE(stream->isFinished());
    spinFor(100ms);
    EXPECT_EQ(polls, pollsAtCancel);
}

TEST_F(FakeGameClient, DestroyedStreamStopsPolling)
{
    int polls = 0;
    route(champPath, [&polls](const TestRequest&) {
        ++polls;
        return realSession(true);
    });
    auto stream = client().champSelectStream(5);
    ASSERT_TRUE(spinUntil([&] { return stream->buffered() >= 2; }));
    stream.reset();
    spinFor(50ms);
    const int after = polls;
    spinFor(150ms);
    EXPECT_EQ(polls, after);
}

} // namespace
