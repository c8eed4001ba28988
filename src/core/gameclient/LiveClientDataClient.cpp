#include "core/gameclient/LiveClientDataClient.h"

#include "core/gameclient/RiotTrustDelegate.h"
#include "core/support/Log.h"

TOLVANE_LOG_CATEGORY(lcLiveClient, "liveclient")

namespace tolvane {

QUrl LiveClientDataClient::defaultUrl()
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(2999);
    url.setPath(QStringLiteral("/liveclientdata/allgamedata"));
    return url;
}

LiveClientDataClient::LiveClientDataClient()
    : LiveClientDataClient(defaultUrl(), std::make_shared<RiotTrustDelegate>())
{
}

LiveClientDataClient::LiveClientDataClient(QUrl url, std::shared_ptr<const TlsTrustPolicy> trust, HttpTimeouts timeouts)
    : session_(std::make_shared<HttpSession>(HttpPeer::liveClient, timeouts, std::move(trust)))
    , url_(std::move(url))
{
}

QCoro::Task<std::optional<AllGameData>> LiveClientDataClient::snapshot() const
{
    return fetch(session_, url_, {});
}

QCoro::Task<std::optional<AllGameData>> LiveClientDataClient::fetch(
    std::shared_ptr<HttpSession> session, QUrl url, CancelToken cancel)
{
    const HttpResult result = co_await session->get(url, {}, std::move(cancel));
    if (!result.arrived())
        co_return std::nullopt; // no game running, time-out, trust refused, abandoned: the session says so
    // The status is not looked at: a valid document under any status is a snapshot.
    auto decoded = AllGameData::decode(result.reply->body);
    if (!decoded) {
        log::error(lcLiveClient(),
            QStringLiteral("Live Client snapshot failed (likely API schema change): %1").arg(decoded.error));
        co_return std::nullopt;
    }
    co_return std::move(decoded.value);
}

std::unique_ptr<LiveSnapshotStream> LiveClientDataClient::stream(uint64_t intervalMs) const
{
    // The polling task holds the session for as long as it polls.
    return LiveSnapshotStream::start(
        [session = session_, url = url_](CancelToken cancel) { return fetch(session, url, cancel); }, intervalMs,
        LiveSnapshotStream::Backlog::newestPresent);
}

} // namespace tolvane
