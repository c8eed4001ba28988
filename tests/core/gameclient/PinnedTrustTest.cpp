#include "core/gameclient/RiotTrustDelegate.h"

#include "Await.h"
#include "LogCapture.h"
#include "TestCertificates.h"
#include "TestHttpServer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const QString kRejected = QStringLiteral(
    "Riot TLS pin REJECTED the cert presented on 127.0.0.1 — not signed by Riot's CA (possible MITM or cert rotation)");
const QString kUnavailable = QStringLiteral("Riot trust anchor unavailable (bundled riotgames.pem missing or invalid) "
                                            "— deferring to default handling for 127.0.0.1");

TestResponse ok(const TestRequest&)
{
    return TestResponse::json(R"({"ok":true})");
}

struct Served {
    HttpResult result;
    int requestsSeen;
};

Served fetchOnce(
    const Identity& identity, std::optional<QSslCertificate> anchor, const QString& host = QStringLiteral("127.0.0.1"))
{
    TestHttpServer server(ok, identity);
    HttpSession session(
        HttpPeer::liveClient, HttpTimeouts::gameInterface(), std::make_shared<RiotTrustDelegate>(std::move(anchor)));
    QUrl url = server.url(QStringLiteral("/probe"));
    url.setHost(host);
    HttpResult result = await(session.get(url));
    return {result, static_cast<int>(server.requests().size())};
}

} // namespace

// Which presented chains the pinned trust lets through on 127.0.0.1.
struct ChainCase {
    const char* name;
    const Identity& (*identity)();
    bool accepted;
};

class PinnedChains : public ::testing::TestWithParam<ChainCase> { };

TEST_P(PinnedChains, AcceptsOnlyChainsUnderTheAnchor)
{
    LogCapture logs;
    const ChainCase& c = GetParam();
    Served served = fetchOnce(c.identity(), TestCertificates::instance().anchor);
    if (c.accepted) {
        ASSERT_TRUE(served.result.arrived()) << served.result.detail.toStdString();
        EXPECT_EQ(served.result.reply->status, 200);
        EXPECT_EQ(served.requestsSeen, 1);
        EXPECT_EQ(logs.count(kRejected), 0);
    } else {
        EXPECT_FALSE(served.result.arrived());
        EXPECT_EQ(served.result.transport, TransportError::tlsRefused);
        // The handshake was refused before any HTTP request was sent.
        EXPECT_EQ(served.requestsSeen, 0);
        EXPECT_GE(logs.count(kRejected), 1);
        EXPECT_EQ(logs.lines("tls").front().type, QtCriticalMsg);
    }
}

INSTANTIATE_TEST_SUITE_P(Tls, PinnedChains,
    ::testing::Values(
        ChainCase {"loopback", []() -> const Identity& { return TestCertificates::instance().loopback; }, true},
        // The host name is not checked: a certificate for another name under the anchor passes.
        ChainCase {"otherHost", []() -> const Identity& { return TestCertificates::instance().otherHost; }, true},
        ChainCase {
            "intermediate", []() -> const Identity& { return TestCertificates::instance().viaIntermediate; }, true},
        ChainCase {"rogue", []() -> const Identity& { return TestCertificates::instance().rogue; }, false},
        ChainCase {"expired", []() -> const Identity& { return TestCertificates::instance().expired; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PinnedTrust, WithoutAnchorLoopbackFallsBackToDefaultVerification)
{
    LogCapture logs;
    Served served = fetchOnce(TestCertificates::instance().loopback, std::nullopt);
    // The system's roots do not know the test CA, so the default handling refuses it.
    EXPECT_FALSE(served.result.arrived());
    EXPECT_EQ(served.requestsSeen, 0);
    EXPECT_GE(logs.count(kUnavailable), 1);
    EXPECT_EQ(logs.count(kRejected), 0);
}

// Sessions of one kind share a manager, and with it kept-alive connections, only under one trust:
// a connection accepted under one anchor never carries a request that another policy would refuse.
TEST(PinnedTrust, KeptAliveConnectionsNeverCrossTrustPolicies)
{
    TestHttpServer server(ok, TestCertificates::instance().loopback);
    const QUrl url = server.url(QStringLiteral("/probe"));
    const auto pinned = [](std::optional<QSslCertificate> anchor) {
        return std::make_unique<HttpSession>(HttpPeer::liveClient, HttpTimeouts::gameInterface(),
            std::make_shared<RiotTrustDelegate>(std::move(anchor)));
    };
    auto first = pinned(TestCertificates::instance().anchor);
    auto sameAnchor = pinned(TestCertificates::instance().anchor);
    auto noAnchor = pinned(std::nullopt);
    ASSERT_TRUE(await(first->get(url)).arrived());
    EXPECT_TRUE(await(sameAnchor->get(url)).arrived());
    EXPECT_EQ(server.handshakesCompleted(), 1); // one connection, kept alive and shared

    EXPECT_EQ(await(noAnchor->get(url)).transport, TransportError::tlsRefused);
    EXPECT_EQ(server.requests().size(), 2);
}

// Anything else listening on the game's port with a certificate outside the pin is refused at every
// handshake, several times a second for as long as it listens: the refusal is said once, then only
// counted, at most once a minute.
TEST(PinnedTrust, RepeatedRejectionsAreCountedNotRepeated)
{
    LogCapture logs;
    std::chrono::steady_clock::time_point now;
    TestHttpServer rogue(ok, TestCertificates::instance().rogue);
    HttpSession session(HttpPeer::liveClient, HttpTimeouts::gameInterface(),
        std::make_shared<RiotTrustDelegate>(TestCertificates::instance().anchor, [&now] { return now; }));
    const auto poll = [&](int times) {
        for (int i = 0; i < times; ++i)
            EXPECT_EQ(await(session.get(rogue.url(QStringLiteral("/liveclientdata/allgamedata")))).transport,
                TransportError::tlsRefused);
    };
    poll(10);
    EXPECT_EQ(logs.count(kRejected), 1);
    now += std::chrono::seconds(30);
    poll(5);
    EXPECT_EQ(logs.lines("tls").size(), 1) << "counted again within the minute";
    now += std::chrono::seconds(31);
    poll(1);
    EXPECT_EQ(logs.count(kRejected), 1);
    EXPECT_EQ(
        logs.count(QStringLiteral("Riot TLS pin rejected 15 more certs presented on 127.0.0.1 since it last said so")),
        1);
    EXPECT_EQ(logs.lines("tls").size(), 2);
    EXPECT_TRUE(rogue.requests().isEmpty());
}

TEST(PinnedTrust, OnlyTheIPv4LoopbackAddressIsPinned)
{
    RiotTrustDelegate trust(TestCertificates::instance().anchor);
    EXPECT_TRUE(trust.pins(QUrl(QStringLiteral("https://127.0.0.1:2999/x"))));
    EXPECT_FALSE(trust.pins(QUrl(QStringLiteral("https://localhost:2999/x"))));
    EXPECT_FALSE(trust.pins(QUrl(QStringLiteral("https://[::1]:2999/x"))));

    // "localhost" keeps the default verification, which does not know the test CA: refused, no pin log.
    LogCapture logs;
    Served served = fetchOnce(
        TestCertificates::instance().loopback, TestCertificates::instance().anchor, QStringLiteral("localhost"));
    EXPECT_FALSE(served.result.arrived());
    EXPECT_TRUE(logs.lines("tls").isEmpty());
}

// The chains of PinnedChains, minus what a handshake cannot present.
TEST(PinnedTrust, EvaluationNeedsThePresentedIntermediate)
{
    const auto& certs = TestCertificates::instance();
    EXPECT_FALSE(RiotTrustDelegate::evaluatePinned({certs.viaIntermediate.certificate}, certs.anchor))
        << "an intermediate that is not presented cannot be found";
    EXPECT_TRUE(RiotTrustDelegate::evaluatePinned(
        {certs.viaIntermediate.certificate, certs.viaIntermediate.chain.front()}, certs.anchor));
    EXPECT_FALSE(RiotTrustDelegate::evaluatePinned({}, certs.anchor));
}

class AnchorLoading : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("riotgames.pem"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return path;
    }
    static QByteArray realPem() { return realData(QStringLiteral("riotgames.pem")); }
    static QString realDigest() { return QString::fromLatin1(RiotTrustDelegate::pinnedDigest); }

    QTemporaryDir dir;
    LogCapture logs;
};

TEST_F(AnchorLoading, TheBundledCertificateMatchesThePinnedDigest)
{
    auto anchor = RiotTrustDelegate::loadAnchor(write(realPem()), realDigest());
    ASSERT_TRUE(anchor.has_value());
    EXPECT_TRUE(logs.lines().isEmpty());
    // The bundle the build ships holds the same file.
    ASSERT_TRUE(RiotTrustDelegate::riotAnchor().has_value());
    EXPECT_EQ(*RiotTrustDelegate::riotAnchor(), *anchor);
}

TEST_F(AnchorLoading, WindowsLineEndsDecodeTheSame)
{
    QByteArray crlf = realPem();
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(RiotTrustDelegate::derFromPEM(QString::fromUtf8(crlf)),
        RiotTrustDelegate::derFromPEM(QString::fromUtf8(realPem())));
    EXPECT_TRUE(RiotTrustDelegate::loadAnchor(write(crlf), realDigest()).has_value());
}

TEST_F(AnchorLoading, FailuresLogTheirLineAndGiveNoAnchor)
{
    EXPECT_FALSE(RiotTrustDelegate::loadAnchor(std::nullopt, realDigest()));
    EXPECT_EQ(logs.count(QStringLiteral("riotgames.pem not found in bundle")), 1);

    EXPECT_FALSE(RiotTrustDelegate::loadAnchor(write("\xff\xfe not utf-8"), realDigest()));
    EXPECT_EQ(logs.count(QStringLiteral("riotgames.pem not found in bundle")), 2);

    EXPECT_FALSE(RiotTrustDelegate::loadAnchor(
        write("-----BEGIN CERTIFICATE-----\nAAA\n-----END CERTIFICATE-----\n"), realDigest()));
    EXPECT_EQ(logs.count(QStringLiteral("riotgames.pem could not be base64-decoded")), 1);

    // One letter of the body swapped for another base64 letter: the digest no longer matches.
    QByteArray tampered = realPem();
    const qsizetype at = tampered.indexOf('\n') + 10;
    tampered[at] = tampered[at] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(RiotTrustDelegate::loadAnchor(write(tampered), realDigest()));
    const auto der = RiotTrustDelegate::derFromPEM(QString::fromUtf8(tampered));
    ASSERT_TRUE(der.has_value());
    EXPECT_EQ(logs.count(QStringLiteral("riotgames.pem fingerprint mismatch (%1) — refusing to use anchor")
                             .arg(RiotTrustDelegate::sha256Hex(*der))),
        1);

    // Right digest, but the bytes are not a certificate.
    const QByteArray junk = "-----BEGIN CERTIFICATE-----\nAAECAwQF\n-----END CERTIFICATE-----\n";
    EXPECT_FALSE(RiotTrustDelegate::loadAnchor(
        write(junk), RiotTrustDelegate::sha256Hex(QByteArray("\x00\x01\x02\x03\x04\x05", 6))));
    EXPECT_EQ(logs.count(QStringLiteral("SecCertificateCreateWithData failed for riotgames.pem")), 1);
}

TEST(PemDecoding, SkipsMarkersAndForeignCharacters)
{
    EXPECT_EQ(RiotTrustDelegate::derFromPEM(QStringLiteral("-----BEGIN X-----\r\nAA EC\tAw==\n-----END X-----")),
        QByteArray("\x00\x01\x02\x03", 4));
    // Spaces and "!" are skipped: "nobase64here" is twelve base64 letters, nine bytes.
    EXPECT_EQ(RiotTrustDelegate::derFromPEM(QStringLiteral("no base64 here!")).value_or("x").size(), 9);
    EXPECT_EQ(RiotTrustDelegate::derFromPEM(QStringLiteral("-----\n")), QByteArray());
    EXPECT_FALSE(RiotTrustDelegate::derFromPEM(QStringLiteral("AAA")).has_value());
    EXPECT_FALSE(RiotTrustDelegate::derFromPEM(QStringLiteral("A=AA")).has_value());
}
