#pragma once
// Shared by the panel tests: a Live Client Data peer on loopback HTTPS whose answer a test sets,
// in-game documents built from a few fields, an image source that never touches the network,
// and offscreen rendering of a panel's content into a PNG a person can look at.

#include "app/panels/HudImageCache.h"
#include "app/windows/OverlayContent.h"
#include "core/gameclient/LiveClientDataClient.h"
#include "core/gameclient/RiotTrustDelegate.h"

#include "Await.h"
#include "TestCertificates.h"
#include "TestHttpServer.h"

#include <QDir>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace tolvane::test {

// One player of a made-up snapshot.
struct SnapshotPlayer {
    SnapshotPlayer(QString champion, QString team = QStringLiteral("ORDER"), std::optional<QString> position = {},
        std::vector<LiveItem> items = {}, std::optional<int64_t> creepScore = {}, QString name = {})
        : champion(std::move(champion))
        , team(std::move(team))
        , position(std::move(position))
        , items(std::move(items))
        , creepScore(creepScore)
        , name(std::move(name))
    {
    }

    QString champion;
    QString team = QStringLiteral("ORDER");
    std::optional<QString> position;
    std::vector<LiveItem> items;
    std::optional<int64_t> creepScore; // absent: no "scores" object at all
    QString name; // Riot id game name; empty: a name made from the champion
};

// A made-up "allgamedata" document.
struct Snapshot {
    std::vector<SnapshotPlayer> players;
    std::optional<QString> activeName; // the active player's Riot id game name; absent: none
    double gameTime = 600;
    std::optional<QString> gameMode = QStringLiteral("CLASSIC");
    std::optional<int64_t> mapNumber = 11;

    QByteArray json() const
    {
        QJsonArray all;
        for (const SnapshotPlayer& p : players) {
            QJsonObject player {{QStringLiteral("championName"), p.champion}, {QStringLiteral("team"), p.team},
                {QStringLiteral("riotIdGameName"), p.name.isEmpty() ? p.champion + QStringLiteral("Player") : p.name}};
            if (p.position)
                player.insert(QStringLiteral("position"), *p.position);
            QJsonArray items;
            for (const LiveItem& item : p.items)
                items.append(QJsonObject {{QStringLiteral("itemID"), qint64(item.itemID)},
                    {QStringLiteral("price"), qint64(item.price)}, {QStringLiteral("count"), qint64(item.count)}});
            player.insert(QStringLiteral("items"), items);
            if (p.creepScore)
                player.insert(
                    QStringLiteral("scores"), QJsonObject {{QStringLiteral("creepScore"), qint64(*p.creepScore)}});
            all.append(player);
        }
        QJsonObject game {{QStringLiteral("gameTime"), gameTime}};
        if (gameMode)
            game.insert(QStringLiteral("gameMode"), *gameMode);
        if (mapNumber)
            game.insert(QStringLiteral("mapNumber"), qint64(*mapNumber));
        QJsonObject root {{QStringLiteral("allPlayers"), all}, {QStringLiteral("gameData"), game}};
        if (activeName)
            root.insert(QStringLiteral("activePlayer"), QJsonObject {{QStringLiteral("riotIdGameName"), *activeName}});
        return QJsonDocument(root).toJson(QJsonDocument::Compact);
    }

    AllGameData decoded() const { return *AllGameData::decode(json()).value; }
};

// The game's Live Client Data interface on loopback HTTPS with the test identity. Without a
// document set it answers as the real one does between matches (refuses to serve: 404).
class LiveClientPeer {
public:
    LiveClientPeer()
        : server_(
            [this](const TestRequest&) {
                return body_ ? TestResponse::json(*body_)
                             : TestResponse::json("{\"errorCode\":\"RESOURCE_NOT_FOUND\"}", 404);
            },
            TestCertificates::instance().loopback)
    {
    }

    void serve(QByteArray body) { body_ = std::move(body); }
    void serve(const Snapshot& snapshot) { body_ = snapshot.json(); }
    void noGame() { body_.reset(); }
    int polls() const { return int(server_.requests().size()); }
    // Once its model is gone: while two and a half poll intervals pass, nothing reaches the peer
    // but the request that may already have been on its way.
    bool staysQuiet(std::chrono::milliseconds pollInterval)
    {
        const int atStop = polls();
        spinFor(pollInterval * 5 / 2);
        return polls() <= atStop + 1;
    }

    static std::shared_ptr<const TlsTrustPolicy> trust()
    {
        return std::make_shared<RiotTrustDelegate>(TestCertificates::instance().anchor);
    }
    LiveClientDataClient client() const
    {
        return LiveClientDataClient(
            server_.url(QStringLiteral("/liveclientdata/allgamedata")), trust(), patientTimeouts);
    }
    TestHttpServer& server() { return server_; }

private:
    std::optional<QByteArray> body_;
    TestHttpServer server_;
};

// Images by address, set by the test; everything else stays "not yet".
class FakeImageSource : public HudImageSource {
public:
    explicit FakeImageSource(QString dataDragonBase = QStringLiteral("https://ddragon.test"))
        : HudImageSource(std::move(dataDragonBase))
    {
    }
    std::optional<QImage> image(const QUrl& address) override
    {
        asked.append(address);
        const auto found = images.constFind(address);
        return found == images.constEnd() ? std::nullopt : std::optional<QImage>(*found);
    }
    void deliver(const QUrl& address, QImage image)
    {
        images.insert(address, std::move(image));
        emit imageArrived(address);
    }

    QHash<QUrl, QImage> images;
    QList<QUrl> asked;
};

// The content drawn at its natural size (times scale) on a transparent image.
inline QImage renderContent(OverlayContent& content, double scale = 1.0)
{
    const QSizeF natural = content.naturalSize();
    QImage image(QSize(int(std::ceil(natural.width() * scale)), int(std::ceil(natural.height() * scale))),
        QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    content.paint(painter);
    painter.end();
    return image;
}

// Under <build>/panels/<name>.png, over a dark game-like ground so the translucent card reads.
inline void savePanelPng(const QImage& image, const QString& name)
{
    const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/panels");
    QDir().mkpath(folder);
    QImage shown(image.size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(QColor(46, 58, 52));
    QPainter painter(&shown);
    painter.drawImage(0, 0, image);
    painter.end();
    shown.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Whether any pixel of the area differs from fully transparent.
inline bool anyInk(const QImage& image, const QRect& area)
{
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

// The bounding box of every pixel close to a colour, empty when none is.
inline QRect inkOf(const QImage& image, const QColor& colour, int tolerance = 40, QRect area = {})
{
    const QRect clipped = (area.isNull() ? image.rect() : area).intersected(image.rect());
    QRect box;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() > 200 && std::abs(c.red() - colour.red()) <= tolerance
                && std::abs(c.green() - colour.green()) <= tolerance && std::abs(c.blue() - colour.blue()) <= tolerance)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace tolvane::test
