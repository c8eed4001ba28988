#pragma once
// What the HTTP sessions of one kind of peer have learnt of the addresses that failed them. It is
// kept for the thread's life, not a session's: a poller that makes a new client for each poll (the
// champion-select model, while the game is closed) would otherwise say the same failure at every
// poll and try a refusing address twice each time. Only the main thread makes requests, so in
// practice there is one record per kind of peer for the process, and it needs no lock.

#include "core/support/HttpSession.h"

#include <QList>
#include <QString>
#include <QUrl>

namespace tolvane {

class HttpFailureRecord {
public:
    // This thread's record for the kind of peer.
    static HttpFailureRecord& of(HttpPeer peer);
    // Forgets every record of this thread (see HttpSession::forgetFailures).
    static void forgetAll();

    // Whether the origin's last call was refused a connection.
    bool refusedLastTime(const QUrl& origin) const;
    // A call to the origin failed: no reply arrived, or one whose error status the peer counts as
    // a failure. The first failure of a kind (and status) is said, the ones after it are counted
    // until the address answers again.
    void failed(HttpPeer peer, const QUrl& origin, const HttpResult& result);
    // A call to the origin ended, however it did.
    void ended(HttpPeer peer, const QUrl& origin, const HttpResult& result);

    // Addresses that never answer again (one-off lookups) must not pile up.
    static constexpr qsizetype maxEntries = 64;

private:
    void answered(HttpPeer peer, const QString& address);

    struct Run {
        QString address;
        TransportError kind;
        int status; // of a reply that arrived with an error status, else 0
        qint64 failures;
    };
    QList<Run> runs_;
    // Origins (scheme, host and port) whose last call was refused a connection, oldest first.
    QList<QString> refusing_;
};

// An address as the log shows it: without query, user information or fragment.
QString shownAddress(const QUrl& url);

} // namespace tolvane
