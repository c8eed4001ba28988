#pragma once
// One client's HTTP session: nothing kept between requests (no cache, cookies or credentials), an
// idle time-out per request and a whole-resource time-out, optional pinned TLS for chosen hosts,
// a body limit for its kind of peer, and redirects followed only within the origin. GET and POST
// are coroutines that always finish, even when the session or its reply goes away first.
//
// Sessions name the kind of peer they talk to. Sessions of one kind and one trust policy share a
// network manager (and with it the manager's thread and kept-alive connections); the manager
// lives while any of them does. Each session keeps its own time-outs and cancellation.
//
// Every failed request is logged once, saying what failed and why (a request the caller cancelled
// is no failure). Failures repeat, as when the game is not running and every poll is refused: the
// sessions of one kind say a failure of one address when it starts, and count the same failure
// after it until the address answers again, which they say too. What they know of failing addresses
// outlives them, so that a poller making a new client for each poll says a failure no more often.
// A reply with an error status arrives to its caller like any other; only the statistics service,
// which never answers one in good health, counts it as a failure of the run.

#include "core/support/Async.h"

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QCoroTask>

class QNetworkRequest;

namespace tolvane {

struct HttpTimeouts {
    std::chrono::milliseconds request {4000}; // longest wait without any data moving
    std::chrono::milliseconds resource {6000}; // longest wait for the whole reply

    static HttpTimeouts gameInterface() { return {std::chrono::milliseconds(4000), std::chrono::milliseconds(6000)}; }
    static HttpTimeouts remoteService() { return {std::chrono::milliseconds(8000), std::chrono::milliseconds(15000)}; }
};

// The kinds of peer the application talks to.
enum class HttpPeer {
    liveClient, // the game's in-game Live Client Data interface
    gameClient, // the game client's local REST interface
    dataDragon, // the publisher's static data and icons
    statistics, // the statistics service's MCP endpoint
    makerHost, // the maker's web host: availability status and heartbeat
};

// The largest body a reply from this kind of peer may carry, and the peer's name in log lines.
qint64 bodyLimit(HttpPeer peer);
QString peerName(HttpPeer peer);

// Why no reply arrived.
enum class TransportError {
    none,
    connectionRefused,
    timedOut,
    tlsRefused,
    cancelled,
    tooLarge, // the body was (or was announced as) over the peer's limit
    incomplete, // the reply began but did not finish cleanly (cut off, undecodable encoding, unreadable head)
    redirectRefused, // a redirect off the origin, or too many of them
    other,
};

struct HttpReply {
    int status = 0;
    QByteArray body;
    QByteArray contentType;
    QList<QNetworkReply::RawHeaderPair> headers;
};

struct HttpResult {
    std::optional<HttpReply> reply; // present whenever a whole reply arrived, whatever the status
    TransportError transport = TransportError::none;
    QString detail; // for a failure: what failed and why, as logged

    bool arrived() const { return reply.has_value(); }
};

using HttpHeaders = QList<std::pair<QByteArray, QByteArray>>;

// TLS trust for the hosts a policy pins; every other host keeps Qt's default verification.
class TlsTrustPolicy {
public:
    enum class Decision { accept, reject, defaultHandling };
    virtual ~TlsTrustPolicy() = default;
    virtual bool pins(const QUrl& url) const = 0;
    // Adjusts a pinned request's TLS configuration before it is sent.
    virtual void prepare(QNetworkRequest& request) const = 0;
    // Judges the chain the server presented (leaf first).
    virtual Decision evaluate(const QUrl& url, const QList<QSslCertificate>& chain) const = 0;
    // Equal for two policies only when they decide alike for every host and chain. A manager keeps
    // connections alive across requests without a new handshake, so only sessions whose policies
    // share an identity may share one.
    virtual QByteArray identity() const = 0;
};

class HttpSession : public QObject {
    Q_OBJECT
public:
    HttpSession(HttpPeer peer, HttpTimeouts timeouts, std::shared_ptr<const TlsTrustPolicy> trust = {},
        QObject* parent = nullptr);
    ~HttpSession() override;

    QCoro::Task<HttpResult> get(QUrl url, HttpHeaders headers = {}, CancelToken cancel = {});
    QCoro::Task<HttpResult> post(QUrl url, QByteArray body, HttpHeaders headers = {}, CancelToken cancel = {});

    // Ends every request of this session in flight; each finishes as cancelled.
    void abortAll();

    HttpPeer peer() const { return peer_; }
    // Requests this session has handed to the network library, each redirect hop counting.
    int requestsIssued() const { return requestsIssued_; }
    HttpTimeouts timeouts() const { return timeouts_; }

    // Redirects followed within the origin before a request gives up.
    static constexpr int maxRedirects = 3;

    // Forgets what the sessions of this thread know of failing addresses. For test programs, whose
    // tests each start as a new process would.
    static void forgetFailures();

    // What the sessions of one kind and trust policy share: the network manager.
    struct Pool;

private:
    struct Request;
    QCoro::Task<HttpResult> send(Request request, CancelToken cancel);
    QNetworkReply* issue(const Request& request);
    QNetworkRequest makeRequest(const QUrl& url, const HttpHeaders& headers) const;
    const QNetworkRequest& requestFor(const QUrl& url, const HttpHeaders& headers);
    void watchTrust(QNetworkReply* reply);

    HttpPeer peer_;
    HttpTimeouts timeouts_;
    std::shared_ptr<const TlsTrustPolicy> trust_;
    std::shared_ptr<Pool> pool_; // taken on the first request, on this thread
    int requestsIssued_ = 0;
    std::vector<QPointer<QNetworkReply>> inFlight_;
    // The last request built, for the address and headers it was built for: a poll asks the same
    // each time.
    struct BuiltRequest;
    std::unique_ptr<BuiltRequest> lastRequest_;
};

// Awaits a reply's end: resumes once, queued, on finished() or on the reply's destruction.
QCoro::Task<void> awaitReply(QPointer<QNetworkReply> reply);

// A network manager's worker thread takes its last steps after the manager is gone: among them the
// TLS library frees what it kept for that thread. Waits, up to the limit, until no such thread is
// left, so that the end of the program cuts none of them short. For the very end of a program,
// once every session has gone; true when none is left.
bool awaitNetworkThreadsEnded(std::chrono::milliseconds limit = std::chrono::seconds(5));

} // namespace tolvane
