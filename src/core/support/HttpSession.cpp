#include "core/support/HttpSession.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

namespace tolvane {

namespace {

// A cookie jar that keeps nothing: the session is ephemeral.
class NullCookieJar : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl&) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&) override { return false; }
};

constexpr const char* kTimedOut = "tolvaneTimedOut";
constexpr const char* kTlsRefused = "tolvaneTlsRefused";
constexpr const char* kCancelled = "tolvaneCancelled";

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

QCoro::Task<void> awaitReply(QPointer<QNetworkReply> reply)
{
    if (reply && !reply->isFinished()) {
        auto finished = signalOrDestroyed(reply.data(), &QNetworkReply::finished);
        co_await finished;
    }
}

HttpSession::HttpSession(HttpTimeouts timeouts, std::shared_ptr<const TlsTrustPolicy> trust, QObject* parent)
    : QObject(parent)
    , timeouts_(timeouts)
    , trust_(std::move(trust))
    , manager_(new QNetworkAccessManager(this))
{
    manager_->setCookieJar(new NullCookieJar(manager_));
    manager_->setCache(nullptr);
    manager_->setAutoDeleteReplies(false);
}

HttpSession::~HttpSession()
{
    abortAll();
}

void HttpSession::abortAll()
{
    for (QNetworkReply* reply : manager_->findChildren<QNetworkReply*>()) {
        if (!reply->isFinished()) {
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

QCoro::Task<HttpResult> HttpSession::get(QUrl url, HttpHeaders headers, CancelToken cancel)
{
    QNetworkReply* reply = manager_->get(makeRequest(url, headers));
    co_return co_await run(reply, std::move(cancel));
}

QCoro::Task<HttpResult> HttpSession::post(QUrl url, QByteArray body, HttpHeaders headers, CancelToken cancel)
{
    QNetworkReply* reply = manager_->post(makeRequest(url, headers), body);
    co_return co_await run(reply, std::move(cancel));
}

QCoro::Task<HttpResult> HttpSession::run(QNetworkReply* rawReply, CancelToken cancel)
{
    QPointer<QNetworkReply> reply(rawReply);
    watchTrust(rawReply);

    // Idle time-out: restarted whenever data moves. Whole-resource time-out: fixed.
    auto* idle = new QTimer(rawReply);
    idle->setSingleShot(true);
    idle->setInterval(timeouts_.request);
    auto* whole = new QTimer(rawReply);
    whole->setSingleShot(true);
    whole->setInterval(timeouts_.resource);
    auto expire = [rawReply] {
        if (!rawReply->isFinished()) {
            rawReply->setProperty(kTimedOut, true);
            rawReply->abort();
        }
    };
    connect(idle, &QTimer::timeout, rawReply, expire);
    connect(whole, &QTimer::timeout, rawReply, expire);
    auto kick = [idle] { idle->start(); };
    connect(rawReply, &QNetworkReply::downloadProgress, idle, kick);
    connect(rawReply, &QNetworkReply::uploadProgress, idle, kick);
    connect(rawReply, &QNetworkReply::metaDataChanged, idle, kick);
    idle->start();
    whole->start();
    if (auto* n = static_cast<CancelNotifier*>(cancel.notifier()))
        connect(n, &CancelNotifier::cancelledSignal, rawReply, [rawReply] {
            if (!rawReply->isFinished()) {
                rawReply->setProperty(kCancelled, true);
                rawReply->abort();
            }
        });
    if (cancel.isCancelled()) {
        rawReply->setProperty(kCancelled, true);
        rawReply->abort();
    }

    co_await awaitReply(reply);

    HttpResult result;
    if (!reply) {
        result.transport = TransportError::cancelled;
        result.detail = QStringLiteral("session ended");
        co_return result;
    }
    reply->deleteLater();
    idle->stop();
    whole->stop();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool timedOut = reply->property(kTimedOut).toBool();
    const bool refused = reply->property(kTlsRefused).toBool();
    const bool cancelled = reply->property(kCancelled).toBool();
    if (status.isValid() && !timedOut && !refused && !cancelled
        && (reply->error() == QNetworkReply::NoError || reply->error() >= QNetworkReply::ContentAccessDenied)) {
        HttpReply r;
        r.status = status.toInt();
        r.body = reply->readAll();
        r.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        r.headers = reply->rawHeaderPairs();
        result.reply = std::move(r);
        co_return result;
    }

    result.detail = reply->errorString();
    if (refused)
        result.transport = TransportError::tlsRefused;
    else if (timedOut)
        result.transport = TransportError::timedOut;
    else if (cancelled)
        result.transport = TransportError::cancelled;
    else if (reply->error() == QNetworkReply::ConnectionRefusedError)
        result.transport = TransportError::connectionRefused;
    else if (reply->error() == QNetworkReply::SslHandshakeFailedError)
        result.transport = TransportError::tlsRefused;
    else if (reply->error() == QNetworkReply::TimeoutError)
        result.transport = TransportError::timedOut;
    else if (reply->error() == QNetworkReply::OperationCanceledError)
        result.transport = TransportError::cancelled;
    else
        result.transport = TransportError::other;
    co_return result;
}

} // namespace tolvane
