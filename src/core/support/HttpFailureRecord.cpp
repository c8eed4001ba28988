#include "core/support/HttpFailureRecord.h"

#include "core/support/Log.h"

#include <QHostAddress>

#include <map>

TOLVANE_LOG_CATEGORY(lcHttpFailures, "http")

namespace tolvane {

namespace {

std::map<HttpPeer, HttpFailureRecord>& records()
{
    thread_local std::map<HttpPeer, HttpFailureRecord> records;
    return records;
}

// The statistics service answers every call it serves with a success status, so an error status
// from it is the service failing, though the client still reads the body (an error page may carry
// a valid envelope). Other peers answer error statuses in normal use: the game client a 404 for
// every resource that has no state yet.
bool errorStatusFails(HttpPeer peer, const HttpResult& result)
{
    return peer == HttpPeer::statistics && result.arrived() && result.reply->status >= 400;
}

QString originKey(const QUrl& origin)
{
    return origin.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString();
}

} // namespace

QString shownAddress(const QUrl& url)
{
    return url.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveUserInfo | QUrl::RemoveFragment);
}

HttpFailureRecord& HttpFailureRecord::of(HttpPeer peer)
{
    return records()[peer];
}

void HttpFailureRecord::forgetAll()
{
    records().clear();
}

bool HttpFailureRecord::refusedLastTime(const QUrl& origin) const
{
    return !refusing_.isEmpty() && refusing_.contains(originKey(origin));
}

void HttpFailureRecord::failed(HttpPeer peer, const QUrl& origin, const HttpResult& result)
{
    const QString address = shownAddress(origin);
    const int status = result.arrived() ? result.reply->status : 0;
    for (Run& run : runs_)
        if (run.address == address && run.kind == result.transport && run.status == status) {
            ++run.failures;
            return;
        }
    if (runs_.size() == maxEntries)
        runs_.removeFirst();
    runs_.append({address, result.transport, status, 1});
    // To its caller the reply arrived, so the result carries no detail to say.
    if (result.arrived()) {
        log::error(lcHttpFailures(),
            QStringLiteral("%1 reply from %2 carries error status %3").arg(peerName(peer), address).arg(status));
        return;
    }
    // The game's own interfaces refuse connections whenever the game is closed: their normal
    // state, not a fault.
    const bool gameClosed = (peer == HttpPeer::gameClient || peer == HttpPeer::liveClient)
        && result.transport == TransportError::connectionRefused && QHostAddress(origin.host()).isLoopback();
    if (gameClosed)
        log::info(lcHttpFailures(), result.detail);
    else
        log::error(lcHttpFailures(), result.detail);
}

void HttpFailureRecord::ended(HttpPeer peer, const QUrl& origin, const HttpResult& result)
{
    if (result.transport == TransportError::connectionRefused) {
        if (const QString key = originKey(origin); !refusing_.contains(key)) {
            if (refusing_.size() == maxEntries)
                refusing_.removeFirst();
            refusing_.append(key);
        }
    } else if (!refusing_.isEmpty()) {
        refusing_.removeOne(originKey(origin));
    }
    if (result.arrived() && !errorStatusFails(peer, result)) {
        if (!runs_.isEmpty())
            answered(peer, shownAddress(origin));
    } else if (result.transport != TransportError::cancelled) {
        failed(peer, origin, result);
    }
}

void HttpFailureRecord::answered(HttpPeer peer, const QString& address)
{
    qint64 failures = 0;
    runs_.removeIf([&](const Run& run) {
        if (run.address != address)
            return false;
        failures += run.failures;
        return true;
    });
    if (failures > 0)
        log::info(lcHttpFailures(),
            QStringLiteral("%1 at %2 answers again after %3 failed %4")
                .arg(peerName(peer), address)
                .arg(failures)
                .arg(failures == 1 ? QStringLiteral("request") : QStringLiteral("requests")));
}

} // namespace tolvane
