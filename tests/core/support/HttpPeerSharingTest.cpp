// The sessions of one kind of peer share one network manager, and with it one worker thread, so
// six panels polling the game cost one thread rather than six; another kind has its own.
#include "core/support/HttpSession.h"

#include "Await.h"
#include "TestHttpServer.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace tolvane;
using namespace tolvane::test;

namespace {

// Qt names each manager's worker thread; the system keeps the first 15 bytes of the name.
int networkThreads()
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    int count = 0;
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(task + QStringLiteral("/comm")));
        if (name.open(QIODevice::ReadOnly) && name.readAll().startsWith("QNetworkAccessM"))
            ++count;
    }
    return count;
}

TEST(HttpPeerSharing, SessionsOfOneKindUseOneNetworkThread)
{
    ASSERT_TRUE(awaitNetworkThreadsEnded()) << "an earlier test's network thread is still running";
    TestHttpServer server([](const TestRequest&) { return TestResponse::json("{}"); });

    std::vector<std::unique_ptr<HttpSession>> panels;
    for (int i = 0; i < 6; ++i) {
        panels.push_back(std::make_unique<HttpSession>(HttpPeer::liveClient, HttpTimeouts::gameInterface()));
        ASSERT_TRUE(await(panels.back()->get(server.url(QStringLiteral("/liveclientdata/allgamedata")))).arrived());
    }
    EXPECT_EQ(networkThreads(), 1);

    HttpSession dataDragon(HttpPeer::dataDragon, HttpTimeouts::remoteService());
    ASSERT_TRUE(await(dataDragon.get(server.url(QStringLiteral("/api/versions.json")))).arrived());
    EXPECT_EQ(networkThreads(), 2) << "another kind of peer has a manager of its own";
}

} // namespace
