#include "core/support/HttpSession.h"

#include "core/support/Log.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
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

constexpr const char* kTimedOut = "tolvaneTimedOut";
constexpr const char* kTlsRefused = "tolvaneTlsRefused";
constexpr const char* kCancelled = "tolvaneCancelled";

constexpr qint64 MiB = 1024 * 1024;
// The network thread hands a body over in pieces of at most this size and waits for each to be
// taken, so a body that passes its limit is stopped within one piece of it.
constexpr qint64 readChunk = 256 * 1024;

QString shown(const QUrl& url)
{
    return url.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveUserInfo | QUrl::RemoveFragment);
}

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

// One manager per kind of peer and trust policy on each thread, alive while a session holds it.
// Only the main thread makes requests, so in practice there is one manager per kind.
std::shared_ptr<QNetworkAccessManager> sharedManager(HttpPeer peer, const TlsTrustPolicy* trust)
{
    thread_local std::map<std::pair<HttpPeer, QByteArray>, std::weak_ptr<QNetworkAccessManager>> managers;
    std::weak_ptr<QNetworkAccessManager>& slot = managers[{peer, trust ? trust->identity() : QByteArray()}];
    if (auto existing = slot.lock())
        return existing;
    auto* manager = new QNetworkAccessManager;
    manager->setCookieJar(new NullCookieJar(manager));
    manager->setCache(nullptr);
    manager->setAutoDeleteReplies(false);
    std::shared_ptr<QNetworkAccessManager> made(manager, [](QNetworkAccessManager* m) {
        if (m->thread() == QThread::currentThread())
            delete m;
        else
            m->deleteLater();
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

// A body kept as the pieces it came in, joined once whole: growing one buffer would copy it at
// each doubling and so hold up to twice the limit.
struct Body {
    std::vector<QByteArray> pieces;
    qint64 size = 0;
    qint64 announced = -1; // a Content-Length over the limit
    bool tooLarge = false;

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

void takeAvailable(QNetworkReply& reply, Body& body, qint64 limit)
{
    if (body.tooLarge)
        return;
    const qint64 available = reply.bytesAvailable();
    if (available <= 0)
        return;
    if (body.size + available > limit) {
        body.tooLarge = true;
        body.pieces.clear();
        reply.abort();
        return;
    }
    body.pieces.push_back(reply.read(available));
    body.size += body.pieces.back().size();
}

// Waits for one reply and reads it under the peer's body limit and the time-outs.
QCoro::Task<HttpResult> receive(QNetworkReply* rawReply, HttpPeer peer, std::chrono::milliseconds idleLimit,
    QDeadlineTimer deadline, CancelToken cancel)
{
    QPointer<QNetworkReply> reply(rawReply);
    const qint64 limit = bodyLimit(peer);
    auto body = std::make_shared<Body>();
    // The network thread stops reading the socket while a full read buffer waits here, so a
    // body reaches this thread no faster than it is taken, however busy the thread is. Qt passes
    // the size on to its network thread only once the request has started there, and a request
    // with a body starts on a later turn of the event loop: so it is given again on that turn.
    rawReply->setReadBufferSize(readChunk);
    QMetaObject::invokeMethod(
        rawReply, [rawReply] { rawReply->setReadBufferSize(readChunk); }, Qt::QueuedConnection);
    QObject::connect(rawReply, &QNetworkReply::metaDataChanged, rawReply, [rawReply, body, limit] {
        bool known = false;
        const qint64 announced = rawReply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && announced > limit && !body->tooLarge) {
            body->tooLarge = true;
            body->announced = announced;
            rawReply->abort();
        }
    });
    QObject::connect(rawReply, &QNetworkReply::readyRead, rawReply,
        [rawReply, body, limit] { takeAvailable(*rawReply, *body, limit); });

    // Idle time-out: restarted whenever data moves. Whole-resource time-out: fixed for the call.
    auto* idle = new QTimer(rawReply);
    idle->setSingleShot(true);
    idle->setInterval(idleLimit);
    auto* whole = new QTimer(rawReply);
    whole->setSingleShot(true);
    whole->setInterval(std::max<qint64>(0, deadline.remainingTime()));
    auto expire = [rawReply] {
        if (!rawReply->isFinished()) {
            rawReply->setProperty(kTimedOut, true);
            rawReply->abort();
        }
    };
    QObject::connect(idle, &QTimer::timeout, rawReply, expire);
    QObject::connect(whole, &QTimer::timeout, rawReply, expire);
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
    takeAvailable(*reply, *body, limit);

    const QString from = peerName(peer) + QStringLiteral(" reply from ") + shown(reply->url());
    if (body->tooLarge) {
        const QString why = body->announced >= 0
            ? QStringLiteral("%1 refused: it announced %2 bytes, over the %3-byte limit")
                  .arg(from)
                  .arg(body->announced)
                  .arg(limit)
            : QStringLiteral("%1 abandoned: its body passed the %2-byte limit").arg(from).arg(limit);
        log::error(lcHttp(), why);
        co_return failure(TransportError::tooLarge, why);
    }

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool timedOut = reply->property(kTimedOut).toBool();
    const bool refused = reply->property(kTlsRefused).toBool();
    const bool cancelled = reply->property(kCancelled).toBool();
    if (status.isValid() && !timedOut && !refused && !cancelled) {
        if (endedCleanly(*reply, status.toInt())) {
            HttpReply r;
            r.status = status.toInt();
            r.body = body->joined();
            r.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
            r.headers = reply->rawHeaderPairs();
            HttpResult result;
            result.reply = std::move(r);
            co_return result;
        }
        // The reply began but did not end as sent: what arrived is not the document.
        const QString why = QStringLiteral("%1 did not finish cleanly: %2").arg(from, reply->errorString());
        log::error(lcHttp(), why);
        co_return failure(TransportError::incomplete, why);
    }

    TransportError why = TransportError::other;
    if (refused)
        why = TransportError::tlsRefused;
    else if (timedOut)
        why = TransportError::timedOut;
    else if (cancelled)
        why = TransportError::cancelled;
    else if (reply->error() == QNetworkReply::ConnectionRefusedError)
        why = TransportError::connectionRefused;
    else if (reply->error() == QNetworkReply::SslHandshakeFailedError)
        why = TransportError::tlsRefused;
    else if (reply->error() == QNetworkReply::TimeoutError)
        why = TransportError::timedOut;
    else if (reply->error() == QNetworkReply::OperationCanceledError)
        why = TransportError::cancelled;
    co_return failure(why, reply->errorString());
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
    if (!manager_)
        manager_ = sharedManager(peer_, trust_.get());
    const QNetworkRequest made = makeRequest(request.url, request.headers);
    QNetworkReply* reply = request.verb == "POST" ? manager_->post(made, request.body) : manager_->get(made);
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
    const std::chrono::milliseconds idle = timeouts_.request;
    const QDeadlineTimer deadline(timeouts_.resource); // covers every hop of the call
    const QUrl origin = request.url;
    for (int redirects = 0;; ++redirects) {
        HttpResult result = co_await receive(self->issue(request), peer, idle, deadline, cancel);
        if (!result.arrived() || !isRedirect(result.reply->status))
            co_return result;
        const QByteArray location = headerValue(result.reply->headers, "Location");
        const QUrl target = request.url.resolved(QUrl::fromEncoded(location));
        if (location.isEmpty() || !target.isValid())
            co_return result; // nowhere to go: the redirect itself is the reply
        // Another origin never sees the request's headers (an Authorization among them) or body.
        if (!sameOrigin(origin, target)) {
            const QString why = QStringLiteral("%1 redirect from %2 to another origin not followed: %3")
                                    .arg(peerName(peer), shown(request.url), shown(target));
            log::error(lcHttp(), why);
            co_return failure(TransportError::redirectRefused, why);
        }
        if (redirects == maxRedirects) {
            const QString why = QStringLiteral("%1 request to %2 gave up after %3 redirects")
                                    .arg(peerName(peer), shown(origin))
                                    .arg(maxRedirects);
            log::error(lcHttp(), why);
            co_return failure(TransportError::redirectRefused, why);
        }
        if (!self)
            co_return failure(TransportError::cancelled, QStringLiteral("session ended"));
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
    }
}

} // namespace tolvane
