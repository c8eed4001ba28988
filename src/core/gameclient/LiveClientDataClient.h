#pragma once
// Reads the in-game Live Client Data document ("allgamedata") on the loopback, behind the pinned
// trust: once, or as a polling stream at a fixed pause. Every failure is an absent snapshot.

#include "core/gameclient/AllGameData.h"
#include "core/support/Async.h"
#include "core/support/HttpSession.h"

#include <QObject>
#include <QUrl>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

class LiveSnapshotStream;

class LiveClientDataClient {
public:
    static QUrl defaultUrl(); // https://127.0.0.1:2999/liveclientdata/allgamedata

    LiveClientDataClient();
    // Tests point the client elsewhere and hand in their own trust and time-outs.
    LiveClientDataClient(
        QUrl url, std::shared_ptr<const TlsTrustPolicy> trust, HttpTimeouts timeouts = HttpTimeouts::gameInterface());

    // One fetch: absent on a transport failure (silently) or an undecodable body (logged).
    QCoro::Task<std::optional<AllGameData>> snapshot() const;

    // Starts polling at once: first request immediately, then one pause after each element.
    // The stream polls until it is cancelled or destroyed.
    std::unique_ptr<LiveSnapshotStream> stream(uint64_t intervalMs) const;

private:
    friend class LiveSnapshotStream;
    static QCoro::Task<std::optional<AllGameData>> fetch(
        std::shared_ptr<HttpSession> session, QUrl url, CancelToken cancel);

    std::shared_ptr<HttpSession> session_;
    QUrl url_;
};

// The consumer's end of a polling stream. Elements come in order; an absent element means no
// match to show. While the consumer is busy, a newer present snapshot replaces an older one still
// waiting at the tail (stale snapshots are not worth working through); absent elements are never
// dropped.
class LiveSnapshotStream : public QObject {
    Q_OBJECT
public:
    ~LiveSnapshotStream() override;

    // The next element, waiting for one; empty outer optional once the stream is finished.
    QCoro::Task<std::optional<std::optional<AllGameData>>> next();
    // Stops polling (a sleep ends at once, a request in flight is abandoned) and finishes.
    void cancel();

    bool isFinished() const { return finished_; }
    size_t buffered() const { return buffer_.size(); }
    // Requests started so far (for tests and diagnostics).
    uint64_t requestsStarted() const { return requests_; }

signals:
    void elementAvailable();

private:
    friend class LiveClientDataClient;
    LiveSnapshotStream() = default;
    void push(std::optional<AllGameData> element);
    static QCoro::Task<void> poll(std::shared_ptr<HttpSession> session, QUrl url, uint64_t intervalMs,
        QPointer<LiveSnapshotStream> stream, CancelToken cancel);

    std::deque<std::optional<AllGameData>> buffer_;
    CancelSource cancel_;
    bool finished_ = false;
    uint64_t requests_ = 0;
};

} // namespace tolvane
