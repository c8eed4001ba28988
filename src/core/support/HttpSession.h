#pragma once
// One client's own HTTP session: its own QNetworkAccessManager, nothing kept between requests
// (no cache, cookies or credentials), an idle time-out per request and a whole-resource
// time-out, optional pinned TLS for chosen hosts. GET and POST are coroutines that always
// finish, even when the manager or the reply goes away first.

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

#include <QCoroTask>

class QNetworkAccessManager;
class QNetworkRequest;

namespace tolvane {

struct HttpTimeouts {
    std::chrono::milliseconds request {4000}; // longest wait without any data moving
    std::chrono::milliseconds resource {6000}; // longest wait for the whole reply

    static HttpTimeouts gameInterface() { return {std::chrono::milliseconds(4000), std::chrono::milliseconds(6000)}; }
    static HttpTimeouts remoteService() { return {std::chrono::milliseconds(8000), std::chrono::milliseconds(15000)}; }
};

// Why no reply arrived.
enum class TransportError { none, connectionRefused, timedOut, tlsRefused, cancelled, other };

struct HttpReply {
    int status = 0;
    QByteArray body;
    QByteArray contentType;
    QList<QNetworkReply::RawHeaderPair> headers;
};

struct HttpResult {
    std::optional<HttpReply> reply; // present whenever the server answered, whatever the status
    TransportError transport = TransportError::none;
    QString detail;

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
};

class HttpSession : public QObject {
    Q_OBJECT
public:
    explicit HttpSession(
        HttpTimeouts timeouts, std::shared_ptr<const TlsTrustPolicy> trust = {}, QObject* parent = nullptr);
    ~HttpSession() override;

    QCoro::Task<HttpResult> get(QUrl url, HttpHeaders headers = {}, CancelToken cancel = {});
    QCoro::Task<HttpResult> post(QUrl url, QByteArray body, HttpHeaders headers = {}, CancelToken cancel = {});

    // Ends every request in flight; each finishes as cancelled.
    void abortAll();

    HttpTimeouts timeouts() const { return timeouts_; }

private:
    QCoro::Task<HttpResult> run(QNetworkReply* reply, CancelToken cancel);
    QNetworkRequest makeRequest(const QUrl& url, const HttpHeaders& headers) const;
    void watchTrust(QNetworkReply* reply);

    HttpTimeouts timeouts_;
    std::shared_ptr<const TlsTrustPolicy> trust_;
    QNetworkAccessManager* manager_;
};

// Awaits a reply's end: resumes once, queued, on finished() or on the reply's destruction.
QCoro::Task<void> awaitReply(QPointer<QNetworkReply> reply);

} // namespace tolvane
