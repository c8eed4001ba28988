#include "SdkPeer.h"

#include "Await.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

namespace tolvane::test {

namespace {

QString peerDir()
{
    return QStringLiteral(TOLVANE_SOURCE_DIR "/tests/mcppeer");
}

} // namespace

SdkPeer::SdkPeer(Style style)
    : style_(style)
{
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { readOutput(); });
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

SdkPeer::~SdkPeer()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    // The peer ends when its standard input closes.
    process_.closeWriteChannel();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

QString SdkPeer::start()
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty())
        return QStringLiteral("node is not installed; scripts/setup provides it");
    if (!QFileInfo::exists(peerDir() + QStringLiteral("/node_modules/@modelcontextprotocol/sdk/package.json")))
        return QStringLiteral("the MCP SDK is not installed in tests/mcppeer; run scripts/setup (npm ci)");
    process_.setWorkingDirectory(peerDir());
    process_.start(node,
        {QStringLiteral("server.mjs"), QStringLiteral("--style"),
            style_ == Style::json ? QStringLiteral("json") : QStringLiteral("sse")});
    if (!process_.waitForStarted(30000))
        return QStringLiteral("node did not start: ") + process_.errorString();
    if (!spinUntil([this] { return port_ != 0 || process_.state() == QProcess::NotRunning; }) || port_ == 0)
        return QStringLiteral("the peer did not report its port");
    return {};
}

QUrl SdkPeer::endpoint() const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port_);
    url.setPath(QStringLiteral("/mcp"));
    return url;
}

void SdkPeer::readOutput()
{
    pending_ += process_.readAllStandardOutput();
    for (qsizetype newline = pending_.indexOf('\n'); newline >= 0; newline = pending_.indexOf('\n')) {
        const QByteArray line = pending_.left(newline);
        pending_.remove(0, newline + 1);
        if (line.startsWith("PORT "))
            port_ = static_cast<quint16>(line.mid(5).toUInt());
        else if (line.startsWith("CALL "))
            calls_.append(QJsonDocument::fromJson(line.mid(5)).object());
    }
}

QList<QJsonObject> SdkPeer::calls(int atLeast)
{
    spinUntil([&] { return calls_.size() >= atLeast; });
    return calls_;
}

void SdkPeerTest::SetUpTestSuite()
{
    for (SdkPeer::Style style : {SdkPeer::Style::json, SdkPeer::Style::sse}) {
        auto peer = std::make_unique<SdkPeer>(style);
        problems_[style] = peer->start();
        peers_[style] = std::move(peer);
    }
}

void SdkPeerTest::TearDownTestSuite()
{
    peers_.clear();
    problems_.clear();
}

void SdkPeerTest::SetUp()
{
    ASSERT_TRUE(problems_.at(GetParam()).isEmpty()) << problems_.at(GetParam()).toStdString();
    peer().clearCalls();
}

} // namespace tolvane::test
