#include "core/gameclient/LCUClient.h"

#include "core/gameclient/LCUDiscovery.h"
#include "core/gameclient/RiotTrustDelegate.h"
#include "core/support/Log.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <chrono>

TOLVANE_LOG_CATEGORY(lcLcu, "lcu")

namespace tolvane {

using json::Object;
using json::Value;

namespace {

// Requests are made and awaited on the main thread, while discovery makes its client on a worker
// thread: the session goes to the main thread at once, and is deleted there.
std::shared_ptr<HttpSession> makeSession(HttpTimeouts timeouts, std::shared_ptr<const TlsTrustPolicy> trust)
{
    auto* session = new HttpSession(HttpPeer::gameClient, timeouts, std::move(trust));
    if (QCoreApplication* app = QCoreApplication::instance(); app && session->thread() != app->thread())
        session->moveToThread(app->thread());
    return std::shared_ptr<HttpSession>(session, [](HttpSession* s) {
        if (s->thread() == QThread::currentThread())
            delete s;
        else
            s->deleteLater();
    });
}

QString basicAuthorization(const QString& password)
{
    return QStringLiteral("Basic ") + QString::fromLatin1((QStringLiteral("riot:") + password).toUtf8().toBase64());
}

struct Me {
    std::optional<QString> puuid;
    std::optional<QString> gameName;
    std::optional<QString> tagLine;
};

Me decodeMe(Value root)
{
    const Object o = root.toObject();
    return {o.optString("puuid"), o.optString("gameName"), o.optString("tagLine")};
}

std::optional<RiotId> riotIdFrom(const QByteArray& body)
{
    auto decoded = json::decode<Me>(body, [](Value root) {
        const Object o = root.toObject();
        return Me {std::nullopt, o.optString("gameName"), o.optString("tagLine")};
    });
    if (!decoded || !decoded.value->gameName || decoded.value->gameName->isEmpty() || !decoded.value->tagLine
        || decoded.value->tagLine->isEmpty())
        return std::nullopt;
    return RiotId {*decoded.value->gameName, *decoded.value->tagLine};
}

} // namespace

LCUClient::LCUClient(ClientCredentials credentials)
    : LCUClient(std::move(credentials), std::make_shared<RiotTrustDelegate>(), HttpTimeouts::gameInterface())
{
}

LCUClient::LCUClient(ClientCredentials credentials, std::shared_ptr<const TlsTrustPolicy> trust, HttpTimeouts timeouts)
{
    auto shared = std::make_shared<Shared>();
    shared->authHeader = basicAuthorization(credentials.password);
    shared->creds = std::move(credentials);
    shared->session = makeSession(timeouts, std::move(trust));
    shared_ = std::move(shared);
}

std::optional<LCUClient> LCUClient::discover()
{
    auto creds = LCUDiscovery::discover();
    if (!creds)
        return std::nullopt;
    return LCUClient(std::move(*creds));
}

QCoro::Task<std::optional<HttpReply>> LCUClient::send(SharedPtr shared, QString path, CancelToken cancel)
{
    // The credentials' scheme is not used: the client always serves HTTPS on the loopback.
    const QUrl url(QStringLiteral("https://127.0.0.1:") + QString::number(shared->creds.port) + path, QUrl::StrictMode);
    if (!url.isValid())
        co_return std::nullopt; // a port out of range, for one: no request is made
    HttpHeaders headers;
    headers.append({QByteArray("Authorization"), shared->authHeader.toLatin1()});
    const HttpResult result = co_await shared->session->get(url, std::move(headers), std::move(cancel));
    // A transport failure (refused, timed out, trust refused, cut short) is the client being gone,
    // which the poller expects: the session says so when it starts and when it ends.
    co_return result.reply;
}

QCoro::Task<std::optional<QByteArray>> LCUClient::fetchOk(SharedPtr shared, QString path)
{
    std::optional<HttpReply> reply = co_await send(std::move(shared), std::move(path), {});
    if (!reply || reply->status != 200)
        co_return std::nullopt;
    co_return std::move(reply->body);
}

QCoro::Task<LCUClient::ChampSelectFetch> LCUClient::champSelectFetch() const
{
    return fetchChampSelect(shared_, {});
}

QCoro::Task<LCUClient::ChampSelectFetch> LCUClient::fetchChampSelect(SharedPtr shared, CancelToken cancel)
{
    using Kind = ChampSelectFetch::Kind;
    std::optional<HttpReply> reply
        = co_await send(std::move(shared), QStringLiteral("/lol-champ-select/v1/session"), std::move(cancel));
    if (!reply)
        co_return ChampSelectFetch {Kind::unreachable, std::nullopt};
    // Outside champion select the client answers 404 "No active delegate".
    if (reply->status != 200)
        co_return ChampSelectFetch {Kind::notInSelect, std::nullopt};
    auto decoded = ChampSelectSession::decode(reply->body);
    if (!decoded) {
        log::error(lcLcu(),
            QStringLiteral("champ-select decode failed (payload shape may have drifted): %1").arg(decoded.error));
        co_return ChampSelectFetch {Kind::notInSelect, std::nullopt};
    }
    co_return ChampSelectFetch {Kind::session, std::move(decoded.value)};
}

QCoro::Task<LCUClient::GameflowFetch> LCUClient::gameflowFetch() const
{
    return fetchGameflow(shared_);
}

QCoro::Task<LCUClient::GameflowFetch> LCUClient::fetchGameflow(SharedPtr shared)
{
    using Kind = GameflowFetch::Kind;
    std::optional<HttpReply> reply = co_await send(std::move(shared), QStringLiteral("/lol-gameflow/v1/session"), {});
    if (!reply)
        co_return GameflowFetch {Kind::unreachable, std::nullopt};
    if (reply->status != 200)
        co_return GameflowFetch {Kind::notInGame, std::nullopt};
    auto decoded = GameflowSession::decode(reply->body);
    if (!decoded) {
        log::error(
            lcLcu(), QStringLiteral("gameflow decode failed (payload shape may have drifted): %1").arg(decoded.error));
        co_return GameflowFetch {Kind::notInGame, std::nullopt};
    }
    co_return GameflowFetch {Kind::session, std::move(decoded.value)};
}

QCoro::Task<std::optional<QString>> LCUClient::currentSummonerPuuid() const
{
    const auto body = co_await fetchOk(shared_, QStringLiteral("/lol-summoner/v1/current-summoner"));
    if (!body)
        co_return std::nullopt;
    auto decoded = json::decode<Me>(*body, decodeMe);
    if (!decoded)
        co_return std::nullopt;
    co_return decoded.value->puuid;
}

QCoro::Task<std::optional<RiotId>> LCUClient::currentSummonerRiotId() const
{
    const auto body = co_await fetchOk(shared_, QStringLiteral("/lol-summoner/v1/current-summoner"));
    co_return body ? riotIdFrom(*body) : std::nullopt;
}

QCoro::Task<std::optional<RiotId>> LCUClient::summonerRiotId(int64_t summonerId) const
{
    const auto body
        = co_await fetchOk(shared_, QStringLiteral("/lol-summoner/v1/summoners/") + QString::number(summonerId));
    co_return body ? riotIdFrom(*body) : std::nullopt;
}

QCoro::Task<std::optional<QString>> LCUClient::regionCode() const
{
    const auto body = co_await fetchOk(shared_, QStringLiteral("/riotclient/region-locale"));
    if (!body)
        co_return std::nullopt;
    struct RL {
        std::optional<QString> webRegion;
        std::optional<QString> region;
    };
    auto decoded = json::decode<RL>(*body, [](Value root) {
        const Object o = root.toObject();
        return RL {o.optString("webRegion"), o.optString("region")};
    });
    if (!decoded)
        co_return std::nullopt;
    co_return regionCodeFrom(decoded.value->webRegion, decoded.value->region);
}

std::optional<QString> LCUClient::regionCodeFrom(
    const std::optional<QString>& webRegion, const std::optional<QString>& region)
{
    if (webRegion && !webRegion->isEmpty())
        return webRegion->toUpper();
    if (!region || region->isEmpty())
        return std::nullopt;
    // "EUW1" is the platform id; the region the rank service wants is the part before the digits.
    const QString upper = region->toUpper();
    for (qsizetype at = 0; at < upper.size();) {
        char32_t code = upper[at].unicode();
        qsizetype width = 1;
        if (upper[at].isHighSurrogate() && at + 1 < upper.size() && upper[at + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(upper[at], upper[at + 1]);
            width = 2;
        }
        if (QChar::isNumber(code))
            return upper.left(at);
        at += width;
    }
    return upper;
}

QCoro::Task<std::optional<std::vector<int64_t>>> LCUClient::currentRunePagePerkIds() const
{
    const auto body = co_await fetchOk(shared_, QStringLiteral("/lol-perks/v1/currentpage"));
    if (!body)
        co_return std::nullopt;
    auto decoded = json::decode<std::optional<std::vector<int64_t>>>(*body, [](Value root) {
        return root.toObject().optional(
            "selectedPerkIds", [](Value ids) { return ids.toArray().map([](Value id) { return id.toInt64(); }); });
    });
    if (!decoded)
        co_return std::nullopt;
    co_return std::move(*decoded.value);
}

QCoro::Task<std::optional<ChampSelectSession>> LCUClient::champSelectSnapshot() const
{
    return snapshotOf(shared_, {});
}

QCoro::Task<std::optional<ChampSelectSession>> LCUClient::snapshotOf(SharedPtr shared, CancelToken cancel)
{
    ChampSelectFetch fetch = co_await fetchChampSelect(shared, std::move(cancel));
    co_return std::move(fetch.session);
}

QCoro::Task<std::optional<HttpReply>> LCUClient::rawFetch(QString path) const
{
    return send(shared_, std::move(path), {});
}

std::unique_ptr<ChampSelectSnapshotStream> LCUClient::champSelectStream(uint64_t intervalMs) const
{
    return ChampSelectSnapshotStream::start(
        [shared = shared_](CancelToken cancel) { return snapshotOf(shared, cancel); }, intervalMs,
        ChampSelectSnapshotStream::Backlog::keepAll);
}

} // namespace tolvane
