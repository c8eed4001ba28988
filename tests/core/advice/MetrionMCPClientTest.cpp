#include "core/advice/MetrionMCPClient.h"

#include "Await.h"
#include "LogCapture.h"
#include "TestHttpServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <chrono>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

namespace {

struct BodyCase {
    const char* label;
    QByteArray body;
    std::optional<QString> text;
};

void PrintTo(const BodyCase& c, std::ostream* os)
{
    *os << c.label;
}

class ExtractToolText : public ::testing::TestWithParam<BodyCase> { };

TEST_P(ExtractToolText, ReadsEnvelopeOrEvents)
{
    EXPECT_EQ(MetrionMCPClient::extractToolText(GetParam().body), GetParam().text);
}

const QByteArray textEnvelope = R"re({"jsonrpc":"2.0","id":1,"result":{"content":[{"type":"text","text":"hello"}]}})re";

INSTANTIATE_TEST_SUITE_P(Bodies, ExtractToolText,
    ::testing::Values(
        BodyCase {"text items joined, other types skipped",
            R"re({"result":{"content":[{"type":"text","text":"a"},{"type":"image","data":"x"},{"type":"text","text":"b"}]}})re",
            QStringLiteral("a\nb")},
        BodyCase {"error beside a result",
            R"re({"result":{"content":[{"type":"text","text":"a"}]},"error":{"code":-1,"message":"no"}})re",
            std::nullopt},
        BodyCase {"error without message is undecodable", R"re({"error":{"code":-1}})re", std::nullopt},
        BodyCase {"type compared exactly", R"re({"result":{"content":[{"type":"TEXT","text":"a"}]}})re", std::nullopt},
        BodyCase {"item without type loses the envelope",
            R"re({"result":{"content":[{"type":"text","text":"a"},{"text":"b"}]}})re", std::nullopt},
        BodyCase {"only empty texts", R"re({"result":{"content":[{"type":"text","text":""},{"type":"text"}]}})re",
            std::nullopt},
        BodyCase {"text then empty text keeps the line feed",
            R"re({"result":{"content":[{"type":"text","text":"a"},{"type":"text","text":""}]}})re",
            QStringLiteral("a\n")},
        BodyCase {"null result and content", R"re({"result":null})re", std::nullopt},
        BodyCase {"tool error text still counts",
            R"re({"result":{"isError":true,"content":[{"type":"text","text":"Unknown tool"}]}})re",
            QStringLiteral("Unknown tool")},
        BodyCase {"event stream", "event: message\ndata: " + textEnvelope + "\n\n", QStringLiteral("hello")},
        BodyCase {"event stream with blanks after data:", "event: message\r\ndata: \t " + textEnvelope + " \r\n\r\n",
            QStringLiteral("hello")},
        BodyCase {"first event an error, second with text",
            "data: {\"error\":{\"message\":\"busy\"}}\ndata:" + textEnvelope + "\n", QStringLiteral("hello")},
        BodyCase {"data line with a leading blank is skipped", " data: " + textEnvelope + "\n", std::nullopt},
        BodyCase {"lines end at CR or LF only",
            "id: 1\rdata: {\"result\":{\"content\":[{\"type\":\"text\",\"text\":\"a\u2028b\u2029c\u0085d\"}]}}\r\n",
            QStringLiteral("a\u2028b\u2029c\u0085d")},
        BodyCase {
            "data spread over two lines is not joined", "data: {\"result\":\ndata: {\"content\":[]}}\n", std::nullopt},
        BodyCase {"invalid UTF-8", "data: " + textEnvelope + "\n\xff\xfe", std::nullopt},
        BodyCase {"not JSON", "<html>502 Bad Gateway</html>", std::nullopt}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.label);
        for (QChar& c : name)
            if (!c.isLetterOrNumber())
                c = u'_';
        return name.toStdString();
    });

class MetrionClientOverHttp : public ::testing::Test {
protected:
    QCoro::Task<std::optional<QString>> call(const MetrionMCPClient& client)
    {
        QJsonObject arguments;
        arguments.insert(QStringLiteral("champion"), QStringLiteral("AHRI"));
        arguments.insert(
            QStringLiteral("desired_output_fields"), QJsonArray {QStringLiteral("a"), QStringLiteral("b")});
        return client.callTool(QStringLiteral("lol_get_champion_analysis"), arguments);
    }

    std::optional<QString> answer(TestResponse response, HttpTimeouts timeouts = HttpTimeouts::remoteService())
    {
        server.setHandler([response](const TestRequest&) { return response; });
        MetrionMCPClient client(server.url(QStringLiteral("/mcp")), timeouts);
        return await(call(client));
    }

    TestHttpServer server {[](const TestRequest&) { return TestResponse::json(textEnvelope); }};
    LogCapture logs;
};

TEST_F(MetrionClientOverHttp, SendsOneStatelessToolCall)
{
    MetrionMCPClient client(server.url(QStringLiteral("/mcp")));
    EXPECT_EQ(await(call(client)), QStringLiteral("hello"));

    ASSERT_EQ(server.requests().size(), 1); // no "initialize" first
    const TestRequest& request = server.requests().front();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path(), "/mcp");
    EXPECT_EQ(request.header("content-type"), "application/json");
    EXPECT_EQ(request.header("accept"), "application/json, text/event-stream");
    EXPECT_FALSE(request.headers.contains("mcp-session-id"));
    EXPECT_FALSE(request.headers.contains("authorization"));

    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    const QJsonObject expected = QJsonDocument::fromJson(R"re({"jsonrpc":"2.0","id":1,"method":"tools/call",
        "params":{"name":"lol_get_champion_analysis","arguments":{"champion":"AHRI","desired_output_fields":["a","b"]}}})re")
                                     .object();
    EXPECT_EQ(body, expected);
    EXPECT_FALSE(request.body.contains('\n')); // compact
}

TEST_F(MetrionClientOverHttp, EveryCallUsesTheSameId)
{
    MetrionMCPClient client(server.url(QStringLiteral("/mcp")));
    await(call(client));
    await(call(client));
    ASSERT_EQ(server.requests().size(), 2);
    for (const TestRequest& request : server.requests())
        EXPECT_EQ(QJsonDocument::fromJson(request.body).object().value(u"id").toInt(), 1);
}

TEST_F(MetrionClientOverHttp, ContentTypeIsNotConsulted)
{
    TestResponse events = TestResponse::json("event: message\ndata: " + textEnvelope + "\n\n");
    events.contentType = "application/json";
    EXPECT_EQ(answer(events), QStringLiteral("hello"));

    TestResponse plain = TestResponse::json(textEnvelope);
    plain.contentType = "text/event-stream";
    EXPECT_EQ(answer(plain), QStringLiteral("hello"));

    // Nor the status: an error page that carries the envelope still answers.
    TestResponse html = TestResponse::json(textEnvelope, 404);
    html.contentType = "text/html; charset=utf-8";
    EXPECT_EQ(answer(html), QStringLiteral("hello"));
}

TEST_F(MetrionClientOverHttp, UnusableBodiesGiveNothingSilently)
{
    EXPECT_EQ(answer(TestResponse::json(R"re({"jsonrpc":"2.0","id":1,"error":{"code":-32601,"message":"nope"}})re")),
        std::nullopt);
    EXPECT_EQ(answer(TestResponse::json("")), std::nullopt);
    EXPECT_EQ(answer(TestResponse::json("Service Unavailable", 503)), std::nullopt);
    EXPECT_EQ(answer(TestResponse::endless()), std::nullopt);
    EXPECT_TRUE(gaveUpNearLimit(server, logs, HttpPeer::statistics));
    EXPECT_TRUE(logs.lines(QStringLiteral("metrion")).isEmpty());
}

// Not the client's to log: the session says once what failed and why.
TEST_F(MetrionClientOverHttp, SilentServerEndsInTimeToldOnce)
{
    const HttpTimeouts shortTimeouts {std::chrono::milliseconds(200), std::chrono::milliseconds(400)};
    EXPECT_EQ(answer(TestResponse::never(), shortTimeouts), std::nullopt);

    EXPECT_EQ(answer(TestResponse::json(textEnvelope).cutShort(), shortTimeouts), std::nullopt);

    TestResponse closed = TestResponse::json(textEnvelope);
    closed.behaviour = TestResponse::Behaviour::closeWithoutAnswer;
    EXPECT_EQ(answer(closed, shortTimeouts), std::nullopt);
    EXPECT_TRUE(logs.lines(QStringLiteral("metrion")).isEmpty());

    const QString request
        = QStringLiteral("statistics service request to %1 ").arg(server.url(QStringLiteral("/mcp")).toString());
    const QString reply
        = QStringLiteral("statistics service reply from %1 ").arg(server.url(QStringLiteral("/mcp")).toString());
    const QList<LogLine> lines = logs.lines(QStringLiteral("http"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].message.startsWith(request + QStringLiteral("timed out: ")));
    EXPECT_TRUE(lines[1].message.startsWith(reply + QStringLiteral("did not finish cleanly: ")));
    EXPECT_TRUE(lines[2].message.startsWith(request + QStringLiteral("failed: ")));
}

TEST_F(MetrionClientOverHttp, NoServerGivesNothing)
{
    QUrl url = server.url(QStringLiteral("/mcp"));
    server.close();
    MetrionMCPClient client(url);
    EXPECT_EQ(await(call(client)), std::nullopt);
    EXPECT_EQ(
        logs.count(QStringLiteral("statistics service request to %1 failed: connection refused").arg(url.toString())),
        1);
}

TEST_F(MetrionClientOverHttp, CallOutlivesItsClient)
{
    TestResponse slow = TestResponse::json(textEnvelope);
    slow.delayMs = 100;
    server.setHandler([slow](const TestRequest&) { return slow; });
    auto client = std::make_unique<MetrionMCPClient>(server.url(QStringLiteral("/mcp")));
    auto task = call(*client);
    client.reset();
    EXPECT_EQ(await(std::move(task)), QStringLiteral("hello"));
}

} // namespace
