#include "core/support/HttpSession.h"

#include "core/support/ConnectProbe.h"
#include "core/support/HttpFailureRecord.h"
#include "core/support/Log.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <map>

TOLVANE_LOG_CATEGORY(lcHttp, "http")

namespace tolvane {

namespace {

// A cookie jar that keeps nothing: sessions are ephemeral.
class NullCookieJar : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl&) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&) override { return false; }
};

constexpr const char* kTlsRefused = "tolvaneTlsRefused";
constexpr const char* kCancelled = "tolvaneCancelled";

constexpr qint64 MiB = 1024 * 1024;
// The network thread hands a body over in pieces of at most this size and waits for each to be
// taken, so a body that passes its limit is stopped within one piece of it.
constexpr qint64 readChunk = 256 * 1024;

QList<QSslCertificate> presentedChain(QNetworkReply* reply, const QList<QSslError>& errors)
{
    QList<QSslCertificate> chain = reply->sslConfiguration().peerCertificateChain();
    if (chain.isEmpty()) {
        for (const QSslError& e : errors)
            if (!e.certificate().isNull() && !chain.contains(e.certificate()))
                chain.append(e.certificate());
    }
    return chain;
}

} // namespace

struct HttpSession::Pool {
    QNetworkAccessManager* manager = nullptr;
};

namespace {

// One pool per kind of peer and trust policy on each thread, alive while a session holds it. Only
// the main thread makes requests, so in practice there is one manager per kind.
std::shared_ptr<HttpSession::Pool> sharedPool(HttpPeer peer, const TlsTrustPolicy* trust)
{
    thread_local std::map<std::pair<HttpPeer, QByteArray>, std::weak_ptr<HttpSession::Pool>> pools;
    std::weak_ptr<HttpSession::Pool>& slot = pools[{peer, trust ? trust->identity() : QByteArray()}];
    if (auto existing = slot.lock())
        return existing;
    auto* manager = new QNetworkAccessManager;
    manager->setCookieJar(new NullCookieJar(manager));
    manager->setCache(nullptr);
    manager->setAutoDeleteReplies(false);
    std::shared_ptr<HttpSession::Pool> made(new HttpSession::Pool {manager}, [](HttpSession::Pool* pool) {
        if (pool->manager->thread() == QThread::currentThread())
            delete pool->manager;
        else
            pool->manager->deleteLater();
        delete pool;
    });
    slot = made;
    return made;
}

// Qt raises an error for a status of 400 and above too, but only once the whole reply is in: for
// 401 and 407 (no credentials are ever offered) as authentication required, for the others with
// the text below (never translated). Only the first error of a reply counts, so any other means the
// reply did not arrive as it was sent: cut off, or in an encoding that failed to decode.
bool endedCleanly(const QNetworkReply& reply, int status)
{
    if (reply.error() == QNetworkReply::NoError)
        return true;
    if ((status == 401 && reply.error() == QNetworkReply::AuthenticationRequiredError)
        || (status == 407 && reply.error() == QNetworkReply::ProxyAuthenticationRequiredError))
        return true;
    return status >= 400 && reply.errorString().startsWith(QLatin1String("Error transferring "));
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool sameOrigin(const QUrl& a, const QUrl& b)
{
    auto port = [](const QUrl& u) { return u.port(u.scheme() == QLatin1String("https") ? 443 : 80); };
    return a.scheme() == b.scheme() && a.host() == b.host() && port(a) == port(b);
}

QByteArray headerValue(const QList<QNetworkReply::RawHeaderPair>& headers, const QByteArray& name)
{
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

HttpResult failure(TransportError why, QString detail)
{
    HttpResult result;
    result.transport = why;
    result.detail = std::move(detail);
    return result;
}

// What came of one reply while it arrived. The body is kept as the pieces it came in, joined once
// whole: growing one buffer would copy it at each doubling and so hold up to twice the limit.
struct Intake {
    std::vector<QByteArray> pieces;
    qint64 size = 0;
    qint64 announced = -1; // a Content-Length over the limit
    bool tooLarge = false;
    bool headless = false; // handed over without any header
    bool requestSent = false;
    bool headIn = false; // a whole head arrived
    QString timedOut; // which time-out ended it
    QString stalled; // a decoding error the library raised without ending the reply

    // Stopped here, for one of the reasons above.
    bool stopped() const { return tooLarge || headless || !timedOut.isEmpty() || !stalled.isEmpty(); }

    QByteArray joined()
    {
        if (pieces.size() == 1)
            return std::move(pieces.front());
        QByteArray whole;
        whole.reserve(size);
        for (const QByteArray& piece : std::exchange(pieces, {}))
            whole += piece;
        return whole;
    }
};

void takeAvailable(QNetworkReply& reply, Intake& intake, qint64 limit)
{
    if (intake.stopped())
        return;
    const qint64 available = reply.bytesAvailable();
    if (available <= 0)
        return;
    if (intake.size + available > limit) {
        intake.tooLarge = true;
        intake.pieces.clear();
        reply.abort();
        return;
    }
    intake.pieces.push_back(reply.read(available));
    intake.size += intake.pieces.back().size();
}

// Judges a reply's head as soon as it is in. The network library reads a head whole, on its own
// thread, before the reply hears of it. A block it will not take (Qt 6.4: over 256 KiB, over 100
// fields, or malformed) it drops, handing the reply over without a single header: its body then
// has no length, and the reply would wait for the connection to close.
void judgeHead(QNetworkReply& reply, Intake& intake, qint64 limit)
{
    // The library tells of a failure before any head arrived as a change of meta-data too.
    if (intake.stopped() || reply.isFinished() || !reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return;
    intake.headIn = true;
    bool known = false;
    const qint64 announced = reply.header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
    if (reply.rawHeaderPairs().isEmpty())
        intake.headless = true;
    else if (known && announced > limit) {
        intake.tooLarge = true;
        intake.announced = announced;
    } else
        return;
    reply.abort();
}

bool isDecompressionFailure(const QString& error)
{
    return error.startsWith(QLatin1String("Decompression failed"));
}

// Why a reply that began did not end as sent.
QString unfinished(const QString& error)
{
    // The library gives no reason of its own here, for a corrupt stream or for one that expands
    // past its safety ratio alike.
    if (isDecompressionFailure(error))
        return QStringLiteral("its compressed body could not be decompressed (corrupt, or expanding far past its "
                              "compressed size)");
    return error;
}

// Waits for one reply and reads it under the peer's body limit and the time-outs, judging its head
// on arrival. A failure comes back with what failed and why, not yet logged.
QCoro::Task<HttpResult> receive(
    QNetworkReply* rawReply, HttpPeer peer, HttpTimeouts timeouts, QDeadlineTimer deadline, CancelToken cancel)
{
    QPointer<QNetworkReply> reply(rawReply);
    const qint64 limit = bodyLimit(peer);
    auto intake = std::make_shared<Intake>();
    // The network thread stops reading the socket while a full read buffer waits here, so a
    // body reaches this thread no faster than it is taken, however busy the thread is. Qt passes
    // the size on to its network thread only once the request has started there, and a request
    // with a body starts on a later turn of the event loop: so it is given again on that turn.
    rawReply->setReadBufferSize(readChunk);
    QMetaObject::invokeMethod(
        rawReply, [rawReply] { rawReply->setReadBufferSize(readChunk); }, Qt::QueuedConnection);
    QObject::connect(rawReply, &QNetworkReply::metaDataChanged, rawReply,
        [rawReply, intake, limit] { judgeHead(*rawReply, *intake, limit); });
    QObject::connect(rawReply, &QNetworkReply::readyRead, rawReply,
        [rawReply, intake, limit] { takeAvailable(*rawReply, *intake, limit); });
    // When a compressed body fails to decode (corrupt, or expanding past the library's safety
    // ratio), Qt 6.4 raises the error and then waits for data it never asks for again, until a
    // time-out ends the reply: it is ended here instead, once the error has had its turn.
    QObject::connect(rawReply, &QNetworkReply::errorOccurred, rawReply, [rawReply, intake] {
        if (!isDecompressionFailure(rawReply->errorString()))
            return;
        QMetaObject::invokeMethod(
            rawReply,
            [rawReply, intake] {
                if (!rawReply->isFinished() && !intake->stopped()) {
                    intake->stalled = rawReply->errorString();
                    rawReply->abort();
                }
            },
            Qt::QueuedConnection);
    });

    // Idle time-out: restarted whenever data moves. Whole-resource time-out: fixed for the call.
    // Both are precise: a coarse timer may fire up to 5 % early, and a time-out said before its
    // time gives up on a peer that was still within it.
    auto* idle = new QTimer(rawReply);
    idle->setSingleShot(true);
    idle->setTimerType(Qt::PreciseTimer);
    idle->setInterval(timeouts.request);
    auto* whole = new QTimer(rawReply);
    whole->setSingleShot(true);
    whole->setTimerType(Qt::PreciseTimer);
    whole->setInterval(std::max<qint64>(0, deadline.remainingTime()));
    const auto expire = [rawReply, intake](auto why) {
        return [rawReply, intake, why] {
            if (!rawReply->isFinished() && !intake->stopped()) {
                intake->timedOut = why();
                rawReply->abort();
            }
        };
    };
    QObject::connect(rawReply, &QNetworkReply::requestSent, rawReply, [intake] { intake->requestSent = true; });
    QObject::connect(idle, &QTimer::timeout, rawReply, expire([intake, ms = timeouts.request.count()] {
        // The library reads a head whole on its own thread and tells of none of it before the end:
        // between the request and the head, bytes may have been arriving all along.
        if (intake->requestSent && !intake->headIn)
            return QStringLiteral("timed out: no complete reply head arrived within %1 ms").arg(ms);
        return QStringLiteral("timed out: nothing moved for %1 ms").arg(ms);
    }));
    QObject::connect(whole, &QTimer::timeout, rawReply, expire([ms = timeouts.resource.count()] {
        return QStringLiteral("timed out: no whole reply within %1 ms").arg(ms);
    }));
    auto kick = [idle] { idle->start(); };
    QObject::connect(rawReply, &QNetworkReply::downloadProgress, idle, kick);
    QObject::connect(rawReply, &QNetworkReply::uploadProgress, idle, kick);
    QObject::connect(rawReply, &QNetworkReply::metaDataChanged, idle, kick);
    idle->start();
    whole->start();
    auto cut = [rawReply] {
        if (!rawReply->isFinished()) {
            rawReply->setProperty(kCancelled, true);
            rawReply->abort();
        }
    };
    if (auto* n = static_cast<CancelNotifier*>(cancel.notifier()))
        QObject::connect(n, &CancelNotifier::cancelledSignal, rawReply, cut);
    if (cancel.isCancelled())
        cut();

    co_await awaitReply(reply);

    if (!reply)
        co_return failure(TransportError::cancelled, QStringLiteral("session ended"));
    reply->deleteLater();
    idle->stop();
    whole->stop();
    takeAvailable(*reply, *intake, limit);

    // Only a failure is told: a whole reply costs no text.
    const auto from = [&] { return peerName(peer) + QStringLiteral(" reply from ") + shownAddress(reply->url()); };
    const auto request = [&] { return peerName(peer) + QStringLiteral(" request to ") + shownAddress(reply->url()); };
    if (reply->property(kCancelled).toBool())
        co_return failure(TransportError::cancelled, request() + QStringLiteral(" cancelled"));
    if (intake->tooLarge) {
        co_return failure(TransportError::tooLarge,
            intake->announced >= 0
                ? QStringLiteral("%1 refused: it announced %2 bytes, over the %3-byte limit")
                      .arg(from())
                      .arg(intake->announced)
                      .arg(limit)
                : QStringLiteral("%1 abandoned: its body passed the %2-byte limit").arg(from()).arg(limit));
    }
    if (intake->headless)
        co_return failure(TransportError::incomplete,
            QStringLiteral("%1 refused: its header block was too large or malformed to read").arg(from()));
    if (!intake->timedOut.isEmpty())
        co_return failure(TransportError::timedOut, request() + QLatin1Char(' ') + intake->timedOut);
    if (!intake->stalled.isEmpty())
        co_return failure(TransportError::incomplete,
            QStringLiteral("%1 did not finish cleanly: %2").arg(from(), unfinished(intake->stalled)));

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool refused = reply->property(kTlsRefused).toBool();
    if (status.isValid() && !refused) {
        if (endedCleanly(*reply, status.toInt())) {
            HttpReply r;
            r.status = status.toInt();
            r.body = intake->joined();
            r.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
            r.headers = reply->rawHeaderPairs();
            HttpResult result;
            result.reply = std::move(r);
            co_return result;
        }
        // The reply began but did not end as sent: what arrived is not the document.
        co_return failure(TransportError::incomplete,
            QStringLiteral("%1 did not finish cleanly: %2").arg(from(), unfinished(reply->errorString())));
    }

    const QString why = request() + QStringLiteral(" failed: ");
    if (refused)
        co_return failure(TransportError::tlsRefused, why + QStringLiteral("its certificate was refused"));
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
        co_return failure(TransportError::connectionRefused, why + QStringLiteral("connection refused"));
    case QNetworkReply::SslHandshakeFailedError:
        co_return failure(TransportError::tlsRefused, why + reply->errorString());
    case QNetworkReply::TimeoutError:
        co_return failure(TransportError::timedOut, why + reply->errorString());
    case QNetworkReply::OperationCanceledError:
        co_return failure(TransportError::cancelled, request() + QStringLiteral(" cancelled"));
    default:
        co_return failure(TransportError::other, why + reply->errorString());
    }
}

} // namespace

qint64 bodyLimit(HttpPeer peer)
{
    // Each limit stands far above the largest document the peer really serves, so that only a
    // broken or hostile peer reaches it, and low enough that such a peer costs a few megabytes.
    switch (peer) {
    case HttpPeer::liveClient:
        return 4 * MiB; // a snapshot of ten players late in a match is about 60 KB
    case HttpPeer::gameClient:
        return 4 * MiB; // sessions are tens of KB; its largest documents (event recordings) about 1.2 MB
    case HttpPeer::dataDragon:
        return 8 * MiB; // item.json, the largest data file, is about 0.95 MB; icons are a few KB
    case HttpPeer::statistics:
        return 4 * MiB; // tool replies are texts of a few KB
    case HttpPeer::makerHost:
        return 1 * MiB; // a status document of a few hundred bytes; heartbeat replies are not read
    }
    return 1 * MiB;
}

QString peerName(HttpPeer peer)
{
    switch (peer) {
    case HttpPeer::liveClient:
        return QStringLiteral("Live Client");
    case HttpPeer::gameClient:
        return QStringLiteral("game client");
    case HttpPeer::dataDragon:
        return QStringLiteral("Data Dragon");
    case HttpPeer::statistics:
        return QStringLiteral("statistics service");
    case HttpPeer::makerHost:
        return QStringLiteral("maker's host");
    }
    return {};
}

QCoro::Task<void> awaitReply(QPointer<QNetworkReply> reply)
{
    if (reply && !reply->isFinished()) {
        auto finished = signalOrDestroyed(reply.data(), &QNetworkReply::finished);
        co_await finished;
    }
}

bool awaitNetworkThreadsEnded(std::chrono::milliseconds limit)
{
    // Qt names each manager's worker thread; the system keeps the first 15 bytes of the name.
    const auto anyLeft = [] {
        const QDir tasks(QStringLiteral("/proc/self/task"));
        for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile name(tasks.filePath(task + QStringLiteral("/comm")));
            if (name.open(QIODevice::ReadOnly) && name.readAll().startsWith("QNetworkAccessM"))
                return true;
        }
        return false;
    };
    const QDeadlineTimer deadline(limit);
    while (anyLeft()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(2);
    }
    return true;
}

struct HttpSession::BuiltRequest {
    QUrl url;
    HttpHeaders headers;
    QNetworkRequest request;
};

struct HttpSession::Request {
    QByteArray verb; // "GET" or "POST"
    QUrl url;
    QByteArray body;
    HttpHeaders headers;
};

HttpSession::HttpSession(
    HttpPeer peer, HttpTimeouts timeouts, std::shared_ptr<const TlsTrustPolicy> trust, QObject* parent)
    : QObject(parent)
    , peer_(peer)
    , timeouts_(timeouts)
    , trust_(std::move(trust))
{
}

HttpSession::~HttpSession()
{
    abortAll();
}

void HttpSession::forgetFailures()
{
    HttpFailureRecord::forgetAll();
}

void HttpSession::abortAll()
{
    // Each abort finishes its reply at once; the list is copied as the finishing may reach it.
    const std::vector<QPointer<QNetworkReply>> replies = std::exchange(inFlight_, {});
    for (const QPointer<QNetworkReply>& reply : replies) {
        if (reply && !reply->isFinished()) {
            reply->setProperty(kCancelled, true);
            reply->abort();
        }
    }
}

QNetworkRequest HttpSession::makeRequest(const QUrl& url, const HttpHeaders& headers) const
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    // Redirects are judged here (same origin only), never followed by Qt on its own.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    if (trust_ && trust_->pins(url))
        trust_->prepare(request);
    return request;
}

const QNetworkRequest& HttpSession::requestFor(const QUrl& url, const HttpHeaders& headers)
{
    // Building one (its TLS settings above all) costs more than comparing what it was built for.
    if (!lastRequest_ || lastRequest_->url != url || lastRequest_->headers != headers)
        lastRequest_.reset(new BuiltRequest {url, headers, makeRequest(url, headers)});
    return lastRequest_->request;
}

void HttpSession::watchTrust(QNetworkReply* reply)
{
    if (!trust_ || !trust_->pins(reply->url()))
        return;
    auto trust = trust_;
    // Both slots run synchronously: ignoreSslErrors must be called inside the sslErrors emission.
    connect(reply, &QNetworkReply::sslErrors, reply, [reply, trust](const QList<QSslError>& errors) {
        switch (trust->evaluate(reply->url(), presentedChain(reply, errors))) {
        case TlsTrustPolicy::Decision::accept:
            reply->ignoreSslErrors(errors);
            break;
        case TlsTrustPolicy::Decision::reject:
        case TlsTrustPolicy::Decision::defaultHandling:
            // Leaving the errors unignored fails the handshake before any request goes out.
            reply->setProperty(kTlsRefused, true);
            break;
        }
    });
    connect(reply, &QNetworkReply::encrypted, reply, [reply, trust] {
        if (reply->property(kTlsRefused).toBool())
            return;
        if (trust->evaluate(reply->url(), presentedChain(reply, {})) == TlsTrustPolicy::Decision::reject) {
            reply->setProperty(kTlsRefused, true);
            reply->abort();
        }
    });
}

QNetworkReply* HttpSession::issue(const Request& request)
{
    // send() has taken the pool before the first request.
    ++requestsIssued_;
    const QNetworkRequest& made = requestFor(request.url, request.headers);
    QNetworkAccessManager& manager = *pool_->manager;
    QNetworkReply* reply = request.verb == "POST" ? manager.post(made, request.body) : manager.get(made);
    std::erase_if(inFlight_, [](const QPointer<QNetworkReply>& r) { return !r || r->isFinished(); });
    inFlight_.emplace_back(reply);
    watchTrust(reply);
    return reply;
}

QCoro::Task<HttpResult> HttpSession::get(QUrl url, HttpHeaders headers, CancelToken cancel)
{
    return send(Request {"GET", std::move(url), {}, std::move(headers)}, std::move(cancel));
}

QCoro::Task<HttpResult> HttpSession::post(QUrl url, QByteArray body, HttpHeaders headers, CancelToken cancel)
{
    return send(Request {"POST", std::move(url), std::move(body), std::move(headers)}, std::move(cancel));
}

QCoro::Task<HttpResult> HttpSession::send(Request request, CancelToken cancel)
{
    QPointer<HttpSession> self(this);
    const HttpPeer peer = peer_;
    const HttpTimeouts timeouts = timeouts_;
    const QDeadlineTimer deadline(timeouts.resource, Qt::PreciseTimer); // covers every hop of the call
    const QUrl origin = request.url;
    if (!pool_)
        pool_ = sharedPool(peer_, trust_.get());
    // The manager stays while the call runs, even if the session goes.
    const std::shared_ptr<Pool> pool = pool_;
    HttpResult result;

    // The network library tries each address twice before it reports a connection refused. An
    // address that refused last time (the game's port between matches) is asked once, directly;
    // only when it accepts, or cannot tell, does a request go out again.
    const bool refusedLastTime = HttpFailureRecord::of(peer).refusedLastTime(origin);
    if (const QHostAddress literal(refusedLastTime ? origin.host() : QString()); !literal.isNull()) {
        const auto asked = [&] { return peerName(peer) + QStringLiteral(" request to ") + shownAddress(origin); };
        const int port = origin.port(origin.scheme() == QLatin1String("https") ? 443 : 80);
        const ProbeResult probed = co_await probeConnection(literal, quint16(port), timeouts.request, cancel);
        if (!self || cancel.isCancelled())
            co_return failure(TransportError::cancelled, asked() + QStringLiteral(" cancelled"));
        if (probed == ProbeResult::refused) {
            result
                = failure(TransportError::connectionRefused, asked() + QStringLiteral(" failed: connection refused"));
            HttpFailureRecord::of(peer).failed(peer, origin, result);
            co_return result;
        }
    }

    QNetworkReply* reply = issue(request);
    for (int redirects = 0;; ++redirects) {
        result = co_await receive(reply, peer, timeouts, deadline, cancel);
        if (!result.arrived() || !isRedirect(result.reply->status))
            break;
        const QByteArray location = headerValue(result.reply->headers, "Location");
        const QUrl target = request.url.resolved(QUrl::fromEncoded(location));
        if (location.isEmpty() || !target.isValid())
            break; // nowhere to go: the redirect itself is the reply
        // Another origin never sees the request's headers (an Authorization among them) or body.
        if (!sameOrigin(origin, target)) {
            result = failure(TransportError::redirectRefused,
                QStringLiteral("%1 redirect from %2 to another origin not followed: %3")
                    .arg(peerName(peer), shownAddress(request.url), shownAddress(target)));
            break;
        }
        if (redirects == maxRedirects) {
            result = failure(TransportError::redirectRefused,
                QStringLiteral("%1 request to %2 gave up after %3 redirects")
                    .arg(peerName(peer), shownAddress(origin))
                    .arg(maxRedirects));
            break;
        }
        if (!self) {
            result = failure(TransportError::cancelled, QStringLiteral("session ended"));
            break;
        }
        // 303, and 301 or 302 after a POST, go on as a GET without the body, as browsers do;
        // 307 and 308 repeat the request as it was.
        const int status = result.reply->status;
        if (status == 303 || (request.verb == "POST" && (status == 301 || status == 302))) {
            request.verb = "GET";
            request.body.clear();
            request.headers.removeIf(
                [](const auto& h) { return h.first.compare("Content-Type", Qt::CaseInsensitive) == 0; });
        }
        request.url = target;
        reply = self->issue(request);
    }
    // A call is one request to the address the caller asked for, whatever its hops.
    HttpFailureRecord::of(peer).ended(peer, origin, result);
    co_return result;
}

} // namespace tolvane
