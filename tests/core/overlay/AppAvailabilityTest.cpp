#include "core/overlay/AppAvailability.h"
#include "core/overlay/MakerWebHost.h"
#include "core/overlay/UsagePing.h"
#include "core/support/HttpSession.h"

#include "Await.h"
#include "LogCapture.h"
#include "TestHttpServer.h"

#include <QRegularExpression>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using Status = AppAvailability::Status;

namespace {

const QRegularExpression canonicalUuid(
    QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));

QUrl hostOf(const TestHttpServer& server)
{
    QUrl url = server.url(QStringLiteral("/"));
    url.setPath(QString());
    return url;
}

struct ReplyCase {
    const char* name;
    int status;
    QByteArray body;
    Status expected;
};

class AvailabilityReplyTest : public ::testing::TestWithParam<ReplyCase> { };

TEST_P(AvailabilityReplyTest, ReadsTheStatusDocument)
{
    const ReplyCase& c = GetParam();
    TestHttpServer server([&](const TestRequest&) { return TestResponse::json(c.body, c.status); });
    auto session = std::make_shared<HttpSession>(HttpPeer::makerHost, AppAvailability::timeouts());
    const Status status
        = await(AppAvailability::check(session, std::make_shared<InMemoryUserDefaults>(), hostOf(server)));
    EXPECT_EQ(status, c.expected) << "got message " << status.message.toStdString();
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().method, QByteArray("GET"));
    EXPECT_EQ(server.requests().first().path(), QByteArray("/app-status.json"));
}

const ReplyCase replyCases[] = {
    {"disabledWithMessage", 200, R"({"disabled": true, "message": " \n Down for maintenance.\r\n\t "})",
        Status::disabled(QStringLiteral("Down for maintenance."))},
    {"disabledWithoutMessage", 200, R"({"disabled": true})", Status::disabled(AppAvailability::defaultMessage())},
    {"disabledWithNullMessage", 200, R"({"disabled": true, "message": null, "extra": [1]})",
        Status::disabled(AppAvailability::defaultMessage())},
    {"notDisabled", 200, R"({"disabled": false, "message": "x"})", Status::available()},
    {"emptyObject", 200, "{}", Status::available()},
    {"disabledAsText", 200, R"({"disabled": "true"})", Status::available()},
    {"messageOfWrongType", 200, R"({"disabled": true, "message": 5})", Status::available()},
    {"notJson", 200, "<html>down</html>", Status::available()},
    {"serviceUnavailable", 503, R"({"disabled": true})", Status::available()},
};

INSTANTIATE_TEST_SUITE_P(Replies, AvailabilityReplyTest, ::testing::ValuesIn(replyCases),
    [](const auto& info) { return std::string(info.param.name); });

// A check that fails counts as available; the session says once what failed and why.
TEST(AvailabilityTest, NoReplyInTimeCountsAsAvailable)
{
    LogCapture logs;
    TestHttpServer server([](const TestRequest&) { return TestResponse::never(); });
    // The check's own 8 s, shortened so the test does not wait it out.
    auto session = std::make_shared<HttpSession>(
        HttpPeer::makerHost, HttpTimeouts {std::chrono::milliseconds(300), std::chrono::milliseconds(300)});
    EXPECT_EQ(await(AppAvailability::check(session, std::make_shared<InMemoryUserDefaults>(), hostOf(server))),
        Status::available());
    const QList<LogLine> lines = logs.lines(QStringLiteral("http"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].message.startsWith(QStringLiteral("maker's host request to %1 timed out: ")
                                                .arg(AppAvailability::statusEndpoint(hostOf(server)).toString())));
}

TEST(AvailabilityTest, UnreachableHostCountsAsAvailable)
{
    LogCapture logs;
    QUrl host;
    {
        TestHttpServer closed([](const TestRequest&) { return TestResponse::json("{}"); });
        host = hostOf(closed);
    }
    auto session = std::make_shared<HttpSession>(HttpPeer::makerHost, AppAvailability::timeouts());
    EXPECT_EQ(
        await(AppAvailability::check(session, std::make_shared<InMemoryUserDefaults>(), host)), Status::available());
    EXPECT_EQ(logs.count(QStringLiteral("maker's host request to %1 failed: connection refused")
                             .arg(AppAvailability::statusEndpoint(host).toString())),
        1);
}

TEST(AvailabilityTest, CacheBusterIsFreshAndDevFlagFollowsIt)
{
    TestHttpServer server([](const TestRequest&) { return TestResponse::json("{}"); });
    auto session = std::make_shared<HttpSession>(HttpPeer::makerHost, AppAvailability::timeouts());
    auto defaults = std::make_shared<InMemoryUserDefaults>();

    await(AppAvailability::check(session, defaults, hostOf(server)));
    defaults->set(UsagePing::devFlagKey, true);
    await(AppAvailability::check(session, defaults, hostOf(server)));

    ASSERT_EQ(server.requests().size(), 2);
    const QUrlQuery plain(QUrl(QString::fromUtf8(server.requests()[0].target)).query());
    const QUrlQuery dev(QUrl(QString::fromUtf8(server.requests()[1].target)).query());

    ASSERT_EQ(plain.queryItems().size(), 1);
    EXPECT_EQ(plain.queryItems()[0].first, QStringLiteral("cb"));
    EXPECT_TRUE(canonicalUuid.match(plain.queryItems()[0].second).hasMatch()) << plain.toString().toStdString();

    ASSERT_EQ(dev.queryItems().size(), 2);
    EXPECT_EQ(dev.queryItems()[0].first, QStringLiteral("cb"));
    EXPECT_EQ(dev.queryItems()[1], (std::pair {QStringLiteral("dev"), QStringLiteral("1")}));
    EXPECT_NE(plain.queryItems()[0].second, dev.queryItems()[0].second);

    // A flag stored as false is not a dev install.
    defaults->set(UsagePing::devFlagKey, false);
    await(AppAvailability::check(session, defaults, hostOf(server)));
    ASSERT_EQ(server.requests().size(), 3);
    EXPECT_FALSE(server.requests()[2].target.contains("dev="));
}

TEST(AvailabilityTest, MakerAddressesUseTheHostTheBuildSets)
{
    const QString host = MakerWebHost::domain();
    EXPECT_EQ(AppAvailability::statusEndpoint().host(), host);
    EXPECT_EQ(AppAvailability::statusEndpoint().scheme(), QStringLiteral("https"));
    EXPECT_EQ(AppAvailability::statusEndpoint().path(), QStringLiteral("/app-status.json"));
    EXPECT_EQ(UsagePing::endpoint().host(), host);
    EXPECT_EQ(UsagePing::endpoint().path(), QStringLiteral("/api/heartbeat"));
    EXPECT_EQ(AppAvailability::defaultMessage(),
        QStringLiteral("Tolvane is temporarily unavailable. Please check ") + host + QStringLiteral(" for details."));
}

} // namespace
