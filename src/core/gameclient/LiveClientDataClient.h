#pragma once
// Reads the in-game Live Client Data document ("allgamedata") on the loopback, behind the pinned
// trust: once, or as a polling stream at a fixed pause. Every failure is an absent snapshot.

#include "core/gameclient/AllGameData.h"
#include "core/support/Async.h"
#include "core/support/HttpSession.h"
#include "core/support/PollingStream.h"

#include <QObject>
#include <QUrl>

#include <cstdint>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

// The consumer's end of a snapshot stream. An absent element means no match to show. While the
// consumer is busy, a newer present snapshot replaces an older one still waiting at the tail
// (stale snapshots are not worth working through); absent elements are never dropped.
using LiveSnapshotStream = PollingStream<AllGameData>;

class LiveClientDataClient {
public:
    static QUrl defaultUrl(); // https://127.0.0.1:2999/liveclientdata/allgamedata

    LiveClientDataClient();
    // Tests point the client elsewhere and hand in their own trust and time-outs.
    LiveClientDataClient(
        QUrl url, std::shared_ptr<const TlsTrustPolicy> trust, HttpTimeouts timeouts = HttpTimeouts::gameInterface());

    // One fetch: absent on a transport failure (which the session logs) or an undecodable body
    // (logged here).
    QCoro::Task<std::optional<AllGameData>> snapshot() const;

    // Starts polling at once: first request immediately, then one pause after each element.
    // The stream polls until it is cancelled or destroyed.
    std::unique_ptr<LiveSnapshotStream> stream(uint64_t intervalMs) const;

private:
    static QCoro::Task<std::optional<AllGameData>> fetch(
        std::shared_ptr<HttpSession> session, QUrl url, CancelToken cancel);

    std::shared_ptr<HttpSession> session_;
    QUrl url_;
};

} // namespace tolvane
