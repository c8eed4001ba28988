#include "core/support/HttpSession.h"

#include "Await.h"
#include "TestHttpServer.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

TEST(HttpSession, PostSendsBodyAndHeadersAndReturnsAnyStatus)
{
    TestHttpServer server([](const TestRequest& r) {
        TestResponse response = TestResponse::json("{\"echo\":" + r.body + "}", 503);
        response.headers = {{"X-Extra", "1"}};
        return response;
    });
    HttpSession session(HttpTimeouts::remoteService());
    HttpResult result = await(session.post(server.url(QStringLiteral("/mcp")), R"({"a":1})",
        {{"Content-Type", "application/json"}, {"Accept", "text/event-stream"}}));
    ASSERT_TRUE(result.arrived());
    EXPECT_EQ(result.reply->status, 503);
    EXPECT_EQ(result.reply->body, R"({"echo":{"a":1}})");
    EXPECT_EQ(result.reply->contentType, "application/json");
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests()[0].method, "POST");
    EXPECT_EQ(server.requests()[0].header("accept"), "text/event-stream");
    EXPECT_TRUE(server.requests()[0].header("cookie").isEmpty());
}

TEST(HttpSession, NothingIsKeptBetweenRequests)
{
    TestHttpServer server([](const TestRequest&) {
        TestResponse response = TestResponse::json("{}");
        response.headers = {{"Set-Cookie", "id=1"}, {"Cache-Control", "max-age=3600"}};
        return response;
    });
    HttpSession session(HttpTimeouts::remoteService());
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(await(session.get(server.url(QStringLiteral("/x")))).arrived());
    ASSERT_EQ(server.requests().size(), 2) << "the second GET is not served from a cache";
    EXPECT_TRUE(server.requests()[1].header("cookie").isEmpty());
}

TEST(HttpSession, TimeOutsEndRequestsThatStall)
{
    TestHttpServer silent([](const TestRequest&) { return TestResponse::never(); });
    HttpSession session(HttpTimeouts {100ms, 10s});
    HttpResult idle = await(session.get(silent.url(QStringLiteral("/"))));
    EXPECT_FALSE(idle.arrived());
    EXPECT_EQ(idle.transport, TransportError::timedOut);

    // The whole-resource limit holds even while the idle limit is not reached.
    TestHttpServer late([](const TestRequest&) {
        TestResponse r = TestResponse::json("{}");
        r.delayMs = 2000;
        return r;
    });
    HttpSession strict(HttpTimeouts {10s, 150ms});
    HttpResult whole = await(strict.get(late.url(QStringLiteral("/"))));
    EXPECT_EQ(whole.transport, TransportError::timedOut);
}

TEST(HttpSession, TransportFailuresAreToldApart)
{
    quint16 port;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    HttpSession session(HttpTimeouts::gameInterface());
    QUrl url(QStringLiteral("http://127.0.0.1/"));
    url.setPort(port);
    HttpResult refused = await(session.get(url));
    EXPECT_FALSE(refused.arrived());
    EXPECT_EQ(refused.transport, TransportError::connectionRefused);

    TestHttpServer closing([](const TestRequest&) {
        TestResponse r;
        r.behaviour = TestResponse::Behaviour::closeWithoutAnswer;
        return r;
    });
    HttpResult closed = await(session.get(closing.url(QStringLiteral("/"))));
    EXPECT_FALSE(closed.arrived());
    EXPECT_NE(closed.transport, TransportError::none);
}

TEST(HttpSession, CancellationAndDestructionNeverLeaveTheCallerHanging)
{
    TestHttpServer silent([](const TestRequest&) { return TestResponse::never(); });

    CancelSource cancel;
    // Time-outs no watchdog outlasts: only the cancel or the destruction ends these requests.
    HttpSession session(HttpTimeouts {1h, 1h});
    QTimer::singleShot(50, [&] { cancel.cancel(); });
    HttpResult cancelled = await(session.get(silent.url(QStringLiteral("/")), {}, cancel.token()));
    EXPECT_EQ(cancelled.transport, TransportError::cancelled);

    auto* doomed = new HttpSession(HttpTimeouts {1h, 1h});
    QTimer::singleShot(50, [doomed] { delete doomed; });
    HttpResult gone = await(doomed->get(silent.url(QStringLiteral("/"))));
    EXPECT_FALSE(gone.arrived());
    EXPECT_EQ(gone.transport, TransportError::cancelled);
}
