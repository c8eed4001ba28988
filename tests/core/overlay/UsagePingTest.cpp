#include "core/overlay/UsagePing.h"

#include "Await.h"
#include "LogCapture.h"
#include "TestHttpServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

namespace {

// A pause that ends when the test says so (or when cancelled), never by the clock.
class ManualSleeper final : public Sleeper {
public:
    QCoro::Task<bool> sleep(std::chrono::milliseconds pause, CancelToken token) override
    {
        pauses.push_back(pause);
        const int ticket = ++started;
        ++pending;
        while (wakes < ticket && !token.isCancelled())
            co_await sleepFor(1ms, token);
        --pending;
        co_return !token.isCancelled();
    }

    void wakeOne() { ++wakes; }

    std::vector<std::chrono::milliseconds> pauses;
    int started = 0;
    int pending = 0;
    int wakes = 0;
};

class UsagePingTest : public ::testing::Test {
protected:
    std::unique_ptr<UsagePing> makePing(std::optional<QString> version = QStringLiteral("1.4.2"))
    {
        QUrl host = server.url(QStringLiteral("/"));
        host.setPath(QString());
        return std::make_unique<UsagePing>(defaults, UsagePing::Options {host, version, 300s, sleeper});
    }

    QJsonObject body(int index) const { return QJsonDocument::fromJson(server.requests().at(index).body).object(); }

    // The loop has finished a pass and waits for the next one.
    bool waitsForNextPass(int pass) const
    {
        return spinUntil([&] { return sleeper->started >= pass && sleeper->pending == 1; });
    }

    TestHttpServer server {[](const TestRequest&) { return TestResponse::json("{}"); }};
    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    std::shared_ptr<ManualSleeper> sleeper = std::make_shared<ManualSleeper>();
};

TEST_F(UsagePingTest, FirstBeatGoesOutAtStartWithAFreshStoredId)
{
    auto ping = makePing();
    ping->start();
    ASSERT_TRUE(waitsForNextPass(1));
    ASSERT_EQ(server.requests().size(), 1);

    const TestRequest& request = server.requests().first();
    EXPECT_EQ(request.method, QByteArray("POST"));
    EXPECT_EQ(request.path(), QByteArray("/api/heartbeat"));
    EXPECT_EQ(request.header("Content-Type"), QByteArray("application/json"));

    const QJsonObject sent = body(0);
    EXPECT_EQ(sent.size(), 3);
    const QString id = sent.value(QStringLiteral("id")).toString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"))
                    .match(id)
                    .hasMatch())
        << id.toStdString();
    EXPECT_EQ(defaults->stringValue(UsagePing::installIDKey), id);
    EXPECT_EQ(sent.value(QStringLiteral("v")).toString(), QStringLiteral("1.4.2"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))
                    .match(sent.value(QStringLiteral("os")).toString())
                    .hasMatch());
    EXPECT_EQ(sleeper->pauses, std::vector<std::chrono::milliseconds> {300s});
}

TEST_F(UsagePingTest, SecondStartWhileRunningStartsNoSecondLoop)
{
    auto ping = makePing();
    ping->start();
    ASSERT_TRUE(waitsForNextPass(1));
    ping->start();
    EXPECT_TRUE(ping->isRunning());
    sleeper->wakeOne();
    ASSERT_TRUE(waitsForNextPass(2));
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_EQ(sleeper->started, 2);
}

TEST_F(UsagePingTest, IdStaysTheSameOverBeatsAndLaunches)
{
    {
        auto ping = makePing();
        ping->start();
        ASSERT_TRUE(waitsForNextPass(1));
        sleeper->wakeOne();
        ASSERT_TRUE(waitsForNextPass(2));
    }
    sleeper = std::make_shared<ManualSleeper>();
    auto relaunched = makePing();
    relaunched->start();
    ASSERT_TRUE(waitsForNextPass(1));
    ASSERT_EQ(server.requests().size(), 3);
    const QString id = body(0).value(QStringLiteral("id")).toString();
    EXPECT_EQ(body(1).value(QStringLiteral("id")).toString(), id);
    EXPECT_EQ(body(2).value(QStringLiteral("id")).toString(), id);
    EXPECT_EQ(relaunched->installID(), id);
}

TEST_F(UsagePingTest, SwitchOffOrDevFlagSendsNothingAndMakesNoId)
{
    for (int variant = 0; variant < 2; ++variant) {
        defaults = std::make_shared<InMemoryUserDefaults>();
        sleeper = std::make_shared<ManualSleeper>();
        if (variant == 0)
            OverlaySettingsStore(defaults).setUsagePingEnabled(false);
        else
            defaults->set(UsagePing::devFlagKey, true);
        auto ping = makePing();
        ping->start();
        ASSERT_TRUE(waitsForNextPass(1)) << variant;
        sleeper->wakeOne();
        ASSERT_TRUE(waitsForNextPass(2)) << variant;
        EXPECT_TRUE(server.requests().isEmpty()) << variant;
        EXPECT_FALSE(defaults->contains(UsagePing::installIDKey)) << variant;
    }
}

TEST_F(UsagePingTest, SwitchIsReadOnEveryBeat)
{
    OverlaySettingsStore settings(defaults);
    settings.setUsagePingEnabled(false);
    auto ping = makePing();
    ping->start();
    ASSERT_TRUE(waitsForNextPass(1));
    EXPECT_TRUE(server.requests().isEmpty());
    settings.setUsagePingEnabled(true);
    sleeper->wakeOne();
    ASSERT_TRUE(waitsForNextPass(2));
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(UsagePingTest, MissingVersionSendsDev)
{
    ASSERT_TRUE(QCoreApplication::applicationVersion().isEmpty());
    auto ping = makePing(std::nullopt);
    EXPECT_EQ(ping->appVersion(), QStringLiteral("dev"));
    ping->start();
    ASSERT_TRUE(waitsForNextPass(1));
    EXPECT_EQ(body(0).value(QStringLiteral("v")).toString(), QStringLiteral("dev"));
}

TEST_F(UsagePingTest, StopEndsTheLoopAndStartBeginsAnew)
{
    auto ping = makePing();
    ping->start();
    ASSERT_TRUE(waitsForNextPass(1));
    ping->stop();
    EXPECT_FALSE(ping->isRunning());
    ASSERT_TRUE(spinUntil([&] { return sleeper->pending == 0; }));
    sleeper->wakeOne();
    spinFor(50ms);
    EXPECT_EQ(sleeper->started, 1);
    EXPECT_EQ(server.requests().size(), 1);

    ping->start();
    ASSERT_TRUE(waitsForNextPass(2));
    EXPECT_EQ(server.requests().size(), 2);
}

TEST_F(UsagePingTest, LoopEndsWhenItsOwnerIsGone)
{
    auto ping = makePing();
    ping->start();
    ASSERT_TRUE(waitsForNextPass(1));
    ping.reset();
    ASSERT_TRUE(spinUntil([&] { return sleeper->pending == 0; }));
    sleeper->wakeOne();
    spinFor(50ms);
    EXPECT_EQ(sleeper->started, 1);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(UsagePingTest, ReplyErrorsAreIgnoredAndTheLoopGoesOn)
{
    LogCapture logs;
    server.setHandler([](const TestRequest&) { return TestResponse::json("oops", 500); });
    auto ping = makePing();
    ping->start();
    ASSERT_TRUE(waitsForNextPass(1));
    // A reply without end is cut off at the maker's host limit.
    server.setHandler([](const TestRequest&) { return TestResponse::endless(); });
    sleeper->wakeOne();
    ASSERT_TRUE(waitsForNextPass(2));
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_TRUE(gaveUpNearLimit(server, logs, HttpPeer::makerHost));
}

} // namespace
