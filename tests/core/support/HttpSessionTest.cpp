#include "core/support/HttpSession.h"

#include "core/support/ConnectProbe.h"

#include "Await.h"
#include "LogCapture.h"
#include "PouringPeer.h"
#include "TestCertificates.h"
#include "TestHttpServer.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <thread>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

namespace {

// A pin on the loopback with one verdict for every chain presented.
class FixedPin : public TlsTrustPolicy {
public:
    explicit FixedPin(bool accepts)
        : accepts_(accepts)
    {
    }
    bool pins(const QUrl& url) const override { return url.host() == QLatin1String("127.0.0.1"); }
    void prepare(QNetworkRequest&) const override { }
    Decision evaluate(const QUrl&, const QList<QSslCertificate>&) const override
    {
        return accepts_ ? Decision::accept : Decision::reject;
    }
    QByteArray identity() const override { return accepts_ ? "accepts" : "refuses"; }

private:
    bool accepts_;
};

TEST(HttpSession, NothingIsKeptBetweenRequests)
{
    TestHttpServer server([](const TestRequest&) {
        TestResponse response = TestResponse::json("{}");
        response.headers = {{"Set-Cookie", "id=1"}, {"Cache-Control", "max-age=3600"}};
        return response;
    });
    HttpSession session(HttpPeer::dataDragon, HttpTimeouts::remoteService());
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(await(session.get(server.url(QStringLiteral("/x")))).arrived());
    ASSERT_EQ(server.requests().size(), 2) << "the second GET is not served from a cache";
    EXPECT_TRUE(server.requests()[1].header("cookie").isEmpty());
}

TEST(HttpSession, TimeOutsEndRequestsThatStall)
{
    TestHttpServer silent([](const TestRequest&) { return TestResponse::never(); });
    HttpSession session(HttpPeer::liveClient, HttpTimeouts {100ms, 10s});
    HttpResult idle = await(session.get(silent.url(QStringLiteral("/"))));
    EXPECT_FALSE(idle.arrived());
    EXPECT_EQ(idle.transport, TransportError::timedOut);
    // The idle limit ended it, not the whole-resource one: whether the request had gone out by then
    // is the network thread's to tell.
    EXPECT_TRUE(idle.detail.endsWith(QLatin1String("no complete reply head arrived within 100 ms"))
        || idle.detail.endsWith(QLatin1String("nothing moved for 100 ms")))
        << idle.detail.toStdString();

    // The whole-resource limit holds even while the idle limit is not reached.
    TestHttpServer late([](const TestRequest&) {
        TestResponse r = TestResponse::json("{}");
        r.delayMs = 2000;
        return r;
    });
    HttpSession strict(HttpPeer::liveClient, HttpTimeouts {10s, 150ms});
    HttpResult whole = await(strict.get(late.url(QStringLiteral("/"))));
    EXPECT_EQ(whole.transport, TransportError::timedOut);

    // Once the head is in, every piece of the body restarts the idle limit: when it runs out,
    // nothing moved.
    TestHttpServer stalling([](const TestRequest&) {
        TestResponse r = TestResponse::json("{}");
        r.announcedLength = 100;
        return r;
    });
    const QUrl stallingUrl = stalling.url(QStringLiteral("/"));
    EXPECT_EQ(await(session.get(stallingUrl)).detail.toStdString(),
        QStringLiteral("Live Client request to %1 timed out: nothing moved for 100 ms")
            .arg(stallingUrl.toString())
            .toStdString());
}

// The game's port is closed between matches, and the network library tries a closed port twice
// for each request. An address that refused is asked once, directly, before the next request goes
// out; once it accepts again, requests go out as before.
TEST(HttpSession, AnAddressThatRefusedIsAskedOnceBeforeTheNextRequest)
{
    // A port of this test's own: bound, so nothing else can take it, and refusing until it listens.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
    QUrl url(QStringLiteral("http://127.0.0.1/liveclientdata/allgamedata"));
    url.setPort(ntohs(address.sin_port));

    LogCapture logs;
    // A poller may drop its client after each failure and make a new one for its next poll, as the
    // champion-select model does while the game is closed: what was learnt outlives the sessions.
    int issued = 0;
    for (int poll = 0; poll < 4; ++poll) {
        HttpSession client(HttpPeer::liveClient, HttpTimeouts {20s, 20s});
        EXPECT_EQ(await(client.get(url)).transport, TransportError::connectionRefused) << "poll " << poll;
        issued += client.requestsIssued();
    }
    EXPECT_EQ(issued, 1) << "the polls after the first were answered by one attempt each";
    EXPECT_EQ(logs.lines(QStringLiteral("http")).size(), 1);
    HttpSession session(HttpPeer::liveClient, HttpTimeouts {20s, 20s});

    // The port opens: the next call finds it open and sends its request. Connections stay open
    // until the call ends: one closed under a request that was sent would be sent again on a new
    // one by the network library.
    ASSERT_EQ(::listen(fd, 8), 0);
    std::vector<int> accepted;
    const auto acceptAll = [&] {
        for (int connection; (connection = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
            accepted.push_back(connection);
    };
    // Answers a request that came on a connection accepted since `from`; false while none has.
    const auto answer = [&](std::size_t from) {
        acceptAll();
        static const QByteArray ok
            = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 2\r\nConnection: close\r\n\r\n{}";
        char buffer[4096];
        for (std::size_t i = from; i < accepted.size(); ++i) {
            if (::recv(accepted[i], buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
                // Whatever connected before the request is queued by now.
                acceptAll();
                return ::send(accepted[i], ok.constData(), std::size_t(ok.size()), MSG_NOSIGNAL) == ok.size();
            }
        }
        return false;
    };
    auto call = session.get(url);
    EXPECT_TRUE(spinUntil([&] { return answer(0); })) << "no request: " << accepted.size() << " connections";
    EXPECT_TRUE(await(std::move(call)).arrived());
    EXPECT_EQ(session.requestsIssued(), 1);
    EXPECT_EQ(accepted.size(), 2u) << "the probe and the request";

    // An address that answered is not asked first again, even while another of the same kind is
    // refusing: one connection, the request's.
    const int other = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in otherAddress = address;
    otherAddress.sin_port = 0;
    ASSERT_EQ(::bind(other, reinterpret_cast<sockaddr*>(&otherAddress), length), 0);
    ASSERT_EQ(::getsockname(other, reinterpret_cast<sockaddr*>(&otherAddress), &length), 0);
    QUrl refusing = url;
    refusing.setPort(ntohs(otherAddress.sin_port));
    EXPECT_EQ(await(session.get(refusing)).transport, TransportError::connectionRefused);
    const std::size_t before = accepted.size();
    auto next = session.get(url);
    EXPECT_TRUE(spinUntil([&] { return answer(before); }))
        << "no request: " << accepted.size() - before << " new connections";
    EXPECT_TRUE(await(std::move(next)).arrived());
    EXPECT_EQ(accepted.size() - before, 1u) << "asked before the request";

    // A probe that has its answer leaves no limit armed behind it: an hour's limit would still
    // wake the process when it fell due.
    const int armed = armedSingleShotTimers();
    EXPECT_EQ(await(probeConnection(QHostAddress::LocalHost, quint16(url.port()), 1h)), ProbeResult::accepting);
    EXPECT_EQ(await(probeConnection(QHostAddress::LocalHost, quint16(refusing.port()), 1h)), ProbeResult::refused);
    EXPECT_EQ(armedSingleShotTimers(), armed);

    // A connection that is never answered ends as unknown at the probe's limit, not before. With
    // its listening queue full, the port drops the probe's handshake; a cancel well past the limit
    // ends a wait that the limit did not.
    acceptAll();
    ASSERT_EQ(::listen(fd, 0), 0);
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    CancelSource giveUp;
    QTimer backstop;
    backstop.setSingleShot(true);
    QObject::connect(&backstop, &QTimer::timeout, [&] { giveUp.cancel(); });
    backstop.start(20s);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(await(probeConnection(QHostAddress::LocalHost, quint16(url.port()), 300ms, giveUp.token())),
        ProbeResult::unknown);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_FALSE(giveUp.isCancelled()) << "the limit did not end the wait";

    for (const int connection : accepted)
        ::close(connection);
    ::close(filler);
    ::close(other);
    ::close(fd);
}

// A refused connection is told apart from other failures. The game's own interfaces refuse
// whenever the game is closed, their normal state: said as information, where any other peer's
// refusal is an error.
TEST(HttpSession, RefusedConnectionIsToldApart)
{
    LogCapture logs;
    quint16 port;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    QUrl url(QStringLiteral("http://127.0.0.1/"));
    url.setPort(port);
    for (const HttpPeer peer : {HttpPeer::gameClient, HttpPeer::liveClient, HttpPeer::statistics}) {
        HttpSession session(peer, HttpTimeouts::gameInterface());
        HttpResult refused = await(session.get(url));
        EXPECT_FALSE(refused.arrived());
        EXPECT_EQ(refused.transport, TransportError::connectionRefused);
    }
    const QList<LogLine> lines = logs.lines(QStringLiteral("http"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].type, QtInfoMsg) << lines[0].message.toStdString();
    EXPECT_EQ(lines[1].type, QtInfoMsg) << lines[1].message.toStdString();
    EXPECT_EQ(lines[2].type, QtCriticalMsg) << lines[2].message.toStdString();
}

TEST(HttpSession, CancellationAndDestructionNeverLeaveTheCallerHanging)
{
    LogCapture logs;
    TestHttpServer silent([](const TestRequest&) { return TestResponse::never(); });

    CancelSource cancel;
    // Time-outs no watchdog outlasts: only the cancel or the destruction ends these requests.
    HttpSession session(HttpPeer::liveClient, HttpTimeouts {1h, 1h});
    QTimer::singleShot(50, [&] { cancel.cancel(); });
    HttpResult cancelled = await(session.get(silent.url(QStringLiteral("/")), {}, cancel.token()));
    EXPECT_EQ(cancelled.transport, TransportError::cancelled);

    // Sessions of one kind share a manager: a session going away ends its own calls only.
    TestHttpServer quick([](const TestRequest&) { return TestResponse::json("{}"); });
    auto* doomed = new HttpSession(HttpPeer::liveClient, HttpTimeouts {1h, 1h});
    QTimer::singleShot(50, [doomed] { delete doomed; });
    auto survivor = session.get(silent.url(QStringLiteral("/")), {}, cancel.token());
    HttpResult gone = await(doomed->get(silent.url(QStringLiteral("/"))));
    EXPECT_FALSE(gone.arrived());
    EXPECT_EQ(gone.transport, TransportError::cancelled);
    EXPECT_TRUE(await(session.get(quick.url(QStringLiteral("/")))).arrived());

    // The last session of its kind takes the manager with it; its calls still finish.
    auto* last = new HttpSession(HttpPeer::makerHost, HttpTimeouts {1h, 1h});
    QTimer::singleShot(50, [last] { delete last; });
    EXPECT_EQ(await(last->get(silent.url(QStringLiteral("/")))).transport, TransportError::cancelled);
    // A request its caller ended did not fail.
    EXPECT_TRUE(logs.lines(QStringLiteral("http")).isEmpty());
}

// A failure that repeats, as every poll does while the game is not running, is said when it starts
// and when it ends, not at every try, however many sessions take part.
TEST(HttpSession, RepeatedFailuresAreToldWhenTheyStartAndEnd)
{
    LogCapture logs;
    bool answering = false;
    TestHttpServer server([&answering](const TestRequest&) {
        TestResponse closing;
        closing.behaviour = TestResponse::Behaviour::closeWithoutAnswer;
        return answering ? TestResponse::json("{}") : closing;
    });
    HttpSession session(HttpPeer::liveClient, patientTimeouts);
    const QUrl url = server.url(QStringLiteral("/poll"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(await(session.get(url)).transport, TransportError::other);
    answering = true;
    EXPECT_TRUE(await(session.get(url)).arrived());
    answering = false;
    const HttpResult again = await(session.get(url));

    const QString failed = QStringLiteral("Live Client request to %1 failed: Connection closed").arg(url.toString());
    EXPECT_EQ(again.detail, failed);
    EXPECT_EQ(logs.count(failed), 2);
    EXPECT_EQ(
        logs.count(QStringLiteral("Live Client at %1 answers again after 5 failed requests").arg(url.toString())), 1);
    EXPECT_EQ(logs.lines(QStringLiteral("http")).size(), 3);

    // Something else on the game client's port presents a certificate the pin refuses, to clients
    // that come and go: one connection for each request, one line for the run, one when it ends.
    logs.clear();
    TestHttpServer impostor(
        [](const TestRequest&) { return TestResponse::json("{}"); }, TestCertificates::instance().loopback);
    const QUrl pinned = impostor.url(QStringLiteral("/lol-champ-select/v1/session"));
    for (int poll = 0; poll < 4; ++poll) {
        HttpSession client(HttpPeer::gameClient, patientTimeouts, std::make_shared<FixedPin>(false));
        EXPECT_EQ(await(client.get(pinned)).transport, TransportError::tlsRefused) << "poll " << poll;
    }
    EXPECT_EQ(impostor.connectionsAccepted(), 4);
    HttpSession trusting(HttpPeer::gameClient, patientTimeouts, std::make_shared<FixedPin>(true));
    EXPECT_TRUE(await(trusting.get(pinned)).arrived());
    const QList<LogLine> lines = logs.lines(QStringLiteral("http"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].message,
        QStringLiteral("game client request to %1 failed: its certificate was refused").arg(pinned.toString()));
    EXPECT_EQ(lines[0].type, QtCriticalMsg);
    EXPECT_EQ(lines[1].message,
        QStringLiteral("game client at %1 answers again after 4 failed requests").arg(pinned.toString()));

    // The statistics service never answers an error status in good health: a run of them is said
    // like any other failure, though each reply arrives. The game client answers 404 in normal use.
    logs.clear();
    int status = 404;
    TestHttpServer service([&status](const TestRequest&) { return TestResponse::json("{}", status); });
    const QUrl mcp = service.url(QStringLiteral("/mcp"));
    HttpSession gameClient(HttpPeer::gameClient, patientTimeouts);
    EXPECT_TRUE(await(gameClient.get(service.url(QStringLiteral("/lol-champ-select/v1/session")))).arrived());
    for (const int answered : {404, 404, 404, 200}) {
        status = answered;
        HttpSession client(HttpPeer::statistics, patientTimeouts);
        EXPECT_TRUE(await(client.post(mcp, "{}")).arrived());
    }
    const QList<LogLine> statusLines = logs.lines(QStringLiteral("http"));
    ASSERT_EQ(statusLines.size(), 2);
    EXPECT_EQ(statusLines[0].message,
        QStringLiteral("statistics service reply from %1 carries error status 404").arg(mcp.toString()));
    EXPECT_EQ(statusLines[0].type, QtCriticalMsg);
    EXPECT_EQ(statusLines[1].message,
        QStringLiteral("statistics service at %1 answers again after 3 failed requests").arg(mcp.toString()));
}

// A body is read only up to its peer's limit: an announced length over it is refused before any
// of the body arrives, and a body that grows past it is cut off.
TEST(HttpSession, BodiesStopAtThePeersLimit)
{
    LogCapture logs;
    const qint64 limit = bodyLimit(HttpPeer::makerHost);
    TestHttpServer server([limit](const TestRequest& r) {
        if (r.path() == "/announced") {
            TestResponse huge = TestResponse::json({});
            huge.announcedLength = qint64(1) << 40;
            return huge;
        }
        if (r.path() == "/endless")
            return TestResponse::endless();
        return TestResponse::json(QByteArray(limit + (r.path() == "/over" ? 1 : 0), ' '));
    });
    HttpSession session(HttpPeer::makerHost, HttpTimeouts {20s, 20s});

    const HttpResult announced = await(session.get(server.url(QStringLiteral("/announced"))));
    EXPECT_EQ(announced.transport, TransportError::tooLarge);
    EXPECT_TRUE(logs.contains(QStringLiteral("it announced 1099511627776 bytes, over the 1048576-byte limit")));

    const HttpResult atLimit = await(session.get(server.url(QStringLiteral("/at"))));
    ASSERT_TRUE(atLimit.arrived());
    EXPECT_EQ(atLimit.reply->body.size(), limit);
    EXPECT_EQ(await(session.get(server.url(QStringLiteral("/over")))).transport, TransportError::tooLarge);

    EXPECT_EQ(await(session.get(server.url(QStringLiteral("/endless")))).transport, TransportError::tooLarge);
    EXPECT_TRUE(gaveUpNearLimit(server, logs, HttpPeer::makerHost));
}

// The limit holds however long the reading thread is kept from reading: the network library takes
// no more of a body off the socket for it than one read buffer, and the socket holds the peer back.
TEST(HttpSession, ABusyReaderHoldsAnEndlessBodyBack)
{
    LogCapture logs;
    HttpSession session(HttpPeer::makerHost, HttpTimeouts {60s, 60s});
    // What the library may take of a reply for a reader that takes nothing: its read buffer and what
    // its socket keeps, under two megabytes. Without the read buffer's size it takes without end,
    // tens of megabytes within a fifth of a second.
    const qint64 held = 4 * 1024 * 1024;
    for (const bool post : {false, true}) {
        SCOPED_TRACE(post ? "POST" : "GET");
        PouringPeer peer("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n\r\n", QByteArray(64 * 1024, ' '),
            PouringPeer::Body::held);
        auto reply
            = post ? session.post(peer.url(QStringLiteral("/beat")), "{}") : session.get(peer.url(QStringLiteral("/")));
        ASSERT_TRUE(spinUntil([&] { return peer.headsSent() == 1; })) << "the peer never answered";

        // Busy, with no event loop, from before the body's first byte until the client has stopped
        // taking it off its socket or has taken more than the library may hold. What the peer goes
        // on to send is the kernel's buffers' to hold, and they may let a little more in long after
        // the client stopped.
        peer.pour();
        qint64 taken = peer.takenByClient();
        QElapsedTimer busy;
        busy.start();
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < 500 && taken <= held && busy.elapsed() < 30000) {
            std::this_thread::sleep_for(5ms);
            if (const qint64 now = peer.takenByClient(); now != taken) {
                taken = now;
                quiet.restart();
            }
        }
        ASSERT_GE(taken, 0) << "the client's end of the connection was not found";
        EXPECT_LE(taken, held) << "taken off the wire while nobody read";

        EXPECT_EQ(await(std::move(reply)).transport, TransportError::tooLarge);
        EXPECT_TRUE(spinUntil([&] { return peer.hangUps() == 1; })) << "the client did not hang up";
    }
    const QList<LogLine> lines = logs.lines(QStringLiteral("http"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                  [](const LogLine& l) { return l.message.contains(QStringLiteral("body passed the")); }),
        2);
}

// A reply that began but did not end as sent is a failure with its own log line, never a document;
// a whole reply with an error status is still a reply.
TEST(HttpSession, OnlyWholeRepliesArrive)
{
    TestResponse undecodable = TestResponse::json("this is not gzip at all, though the header says so", 422);
    undecodable.headers = {{"Content-Encoding", "gzip"}};
    TestResponse undecodableOk = undecodable;
    undecodableOk.status = 200;
    const std::pair<TestResponse, bool> cases[]
        = {{undecodable, false}, {undecodableOk, false}, {TestResponse::json(QByteArray(4000, '1')).cutShort(), false},
            {TestResponse::json("{\"errorCode\":\"UNAUTHORIZED\"}", 401), true},
            {TestResponse::json("{\"error\":2}", 422), true}, {TestResponse::json("[\"14.1.1\"]", 503), true}};
    HttpSession session(HttpPeer::dataDragon, HttpTimeouts::remoteService());
    for (const auto& [response, whole] : cases) {
        SCOPED_TRACE(response.status);
        LogCapture logs;
        TestHttpServer server([response = response](const TestRequest&) { return response; });
        const HttpResult result = await(session.get(server.url(QStringLiteral("/data"))));
        if (whole) {
            ASSERT_TRUE(result.arrived()) << result.detail.toStdString();
            EXPECT_EQ(result.reply->status, response.status);
            EXPECT_EQ(result.reply->body, response.body);
            EXPECT_TRUE(logs.lines(QStringLiteral("http")).isEmpty());
        } else {
            EXPECT_EQ(result.transport, TransportError::incomplete);
            EXPECT_TRUE(logs.contains(QStringLiteral("Data Dragon reply from ")
                + server.url(QStringLiteral("/data")).toString() + QStringLiteral(" did not finish cleanly")));
        }
    }
}

// The network library reads a reply's head whole, on its own thread, and drops one it will not
// take (over 256 KiB or 100 fields): such a reply, handed over without any header, fails at once
// instead of waiting for its connection to close. A head that never ends is out of sight on that
// thread: it ends with the reply's time.
TEST(HttpSession, HeadsTheLibraryDropsFail)
{
    LogCapture logs;
    TestHttpServer server([](const TestRequest& r) {
        TestResponse response = TestResponse::json("{}");
        for (int i = 0; r.path() == "/wide" && i < 40; ++i)
            response.headers.append({"X-Pad-" + QByteArray::number(i), QByteArray(7000, 'a')});
        for (int i = 0; r.path() == "/many" && i < 150; ++i)
            response.headers.append({"X-Field-" + QByteArray::number(i), "1"});
        return response;
    });
    HttpSession session(HttpPeer::liveClient, patientTimeouts);
    EXPECT_TRUE(await(session.get(server.url(QStringLiteral("/plain")))).arrived());
    for (const QString& path : {QStringLiteral("/wide"), QStringLiteral("/many")}) {
        const HttpResult result = await(session.get(server.url(path)));
        EXPECT_EQ(result.transport, TransportError::incomplete) << path.toStdString();
        EXPECT_EQ(logs.count(QStringLiteral("Live Client reply from %1 refused: its header block was too large or "
                                            "malformed to read")
                                 .arg(server.url(path).toString())),
            1);
    }

    // Each pouring peer stops before its session goes, so that the library's thread, reading the
    // endless head byte by byte, is free again when its manager ends.
    HttpSession strict(HttpPeer::makerHost, HttpTimeouts {20s, 300ms});
    HttpSession impatient(HttpPeer::statistics, HttpTimeouts {300ms, 20s});
    const QByteArray headLine = "X-Pad: " + QByteArray(1000, 'a') + "\r\n";
    {
        PouringPeer flood("HTTP/1.1 200 OK\r\n", headLine);
        const QUrl status = flood.url(QStringLiteral("/status"));
        EXPECT_EQ(await(strict.get(status)).transport, TransportError::timedOut);
        EXPECT_EQ(logs.count(QStringLiteral("maker's host request to %1 timed out: no whole reply within 300 ms")
                                 .arg(status.toString())),
            1);
    }
    // The idle limit runs out as well, though the head's bytes never stopped coming.
    {
        PouringPeer flood("HTTP/1.1 200 OK\r\n", headLine);
        const QUrl mcp = flood.url(QStringLiteral("/mcp"));
        EXPECT_EQ(await(impatient.post(mcp, "{}")).detail.toStdString(),
            QStringLiteral("statistics service request to %1 timed out: no complete reply head arrived within 300 ms")
                .arg(mcp.toString())
                .toStdString());
    }
}

// A compressed body that expands far past its size is refused as soon as the network library
// stops decoding it, on a GET as on a POST, and said to be what it is.
TEST(HttpSession, DecompressionBombsFailAtOnce)
{
    LogCapture logs;
    // A gigabyte of zeros in about a megabyte: one compressed megabyte, repeated as streams back to
    // back. The library stops decoding it a few pieces in.
    const QByteArray member = qCompress(QByteArray(1024 * 1024, '\0'), 9).mid(4); // without Qt's length prefix
    const QByteArray bomb = member.repeated(1024);
    TestHttpServer server([bomb](const TestRequest&) {
        TestResponse response = TestResponse::json(bomb);
        response.headers = {{"Content-Encoding", "deflate"}};
        return response;
    });
    // Time-outs the test never reaches: before, the GET ran into them.
    HttpSession session(HttpPeer::dataDragon, HttpTimeouts {20s, 20s});
    for (const bool post : {false, true}) {
        SCOPED_TRACE(post ? "POST" : "GET");
        const QUrl url = server.url(post ? QStringLiteral("/post") : QStringLiteral("/get"));
        const HttpResult result = await(post ? session.post(url, "{}") : session.get(url));
        EXPECT_EQ(result.transport, TransportError::incomplete);
        EXPECT_EQ(logs.count(QStringLiteral("Data Dragon reply from %1 did not finish cleanly: its compressed body "
                                            "could not be decompressed (corrupt, or expanding far past its "
                                            "compressed size)")
                                 .arg(url.toString())),
            1);
    }
}

TestResponse redirect(int status, const QUrl& to)
{
    TestResponse r = TestResponse::json({}, status);
    r.headers = {{"Location", to.toEncoded()}};
    return r;
}

// Redirects are followed within the origin only, a few hops at most; nothing of the request
// (body, Authorization) ever reaches another origin.
TEST(HttpSession, RedirectsStayWithinTheOrigin)
{
    LogCapture logs;
    TestHttpServer elsewhere([](const TestRequest&) { return TestResponse::json("{\"elsewhere\":true}"); });
    TestHttpServer otherHost([](const TestRequest&) { return TestResponse::json("{\"elsewhere\":true}"); },
        std::nullopt, QHostAddress(QStringLiteral("127.0.0.2")));
    TestHttpServer origin([&](const TestRequest& r) {
        if (r.path() == "/loop")
            return redirect(302, origin.url(QStringLiteral("/loop")));
        if (r.path() == "/post-elsewhere")
            return redirect(307, otherHost.url(QStringLiteral("/mcp")));
        if (r.path() == "/auth-elsewhere")
            return redirect(301, elsewhere.url(QStringLiteral("/session")));
        if (r.path() == "/post-here")
            return redirect(307, origin.url(QStringLiteral("/echo")));
        if (r.path() == "/see-other")
            return redirect(303, QUrl(QStringLiteral("/echo")));
        return TestResponse::json(r.method + " " + r.body + " " + r.header("authorization"));
    });
    HttpSession session(HttpPeer::statistics, HttpTimeouts::remoteService());
    const HttpHeaders auth {{"Authorization", "Basic cmlvdDpzZWNyZXQ="}};

    const HttpResult here = await(session.post(origin.url(QStringLiteral("/post-here")), "{\"id\":1}", auth));
    ASSERT_TRUE(here.arrived());
    EXPECT_EQ(here.reply->body, "POST {\"id\":1} Basic cmlvdDpzZWNyZXQ=");
    const HttpResult seeOther = await(session.post(origin.url(QStringLiteral("/see-other")), "{\"id\":1}"));
    ASSERT_TRUE(seeOther.arrived());
    EXPECT_EQ(seeOther.reply->body, "GET  ");

    const qsizetype before = origin.requests().size();
    EXPECT_EQ(await(session.get(origin.url(QStringLiteral("/loop")))).transport, TransportError::redirectRefused);
    EXPECT_EQ(origin.requests().size() - before, 1 + HttpSession::maxRedirects);
    EXPECT_TRUE(logs.contains(QStringLiteral("gave up after 3 redirects")));

    EXPECT_EQ(await(session.post(origin.url(QStringLiteral("/post-elsewhere")), "{\"id\":1}")).transport,
        TransportError::redirectRefused);
    EXPECT_EQ(await(session.get(origin.url(QStringLiteral("/auth-elsewhere")), auth)).transport,
        TransportError::redirectRefused);
    EXPECT_TRUE(otherHost.requests().isEmpty());
    EXPECT_TRUE(elsewhere.requests().isEmpty());
    EXPECT_EQ(logs.count(QStringLiteral("statistics service redirect from ")
                  + origin.url(QStringLiteral("/auth-elsewhere")).toString()
                  + QStringLiteral(" to another origin not followed: ")
                  + elsewhere.url(QStringLiteral("/session")).toString()),
        1);
}

} // namespace
