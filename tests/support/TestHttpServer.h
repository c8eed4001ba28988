#pragma once
// A small HTTP/1.1 server on 127.0.0.1 (port chosen by the system), plain or TLS with a given
// identity, for tests. Each request goes to a handler; the answer can also be withheld, cut
// short or closed, to play a misbehaving peer.

#include "LogCapture.h"
#include "TestCertificates.h"

#include "core/support/HttpSession.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QUrl>

#include <functional>
#include <optional>

#include <gtest/gtest.h>

namespace tolvane::test {

struct TestRequest {
    QByteArray method;
    QByteArray target; // path and query as sent
    QMap<QByteArray, QByteArray> headers; // names lower-cased
    QByteArray body;

    QByteArray path() const { return target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?')); }
    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
};

struct TestResponse {
    // endlessBody repeats the body (or blanks) until the client hangs up.
    enum class Behaviour { respond, neverAnswer, closeWithoutAnswer, truncateBody, endlessBody };

    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/json";
    QList<std::pair<QByteArray, QByteArray>> headers;
    Behaviour behaviour = Behaviour::respond;
    int delayMs = 0;
    std::optional<qint64> announcedLength; // a Content-Length other than the body's

    static TestResponse json(QByteArray body, int status = 200)
    {
        TestResponse r;
        r.status = status;
        r.body = std::move(body);
        return r;
    }
    static TestResponse never()
    {
        TestResponse r;
        r.behaviour = Behaviour::neverAnswer;
        return r;
    }
    TestResponse cutShort() &&
    {
        behaviour = Behaviour::truncateBody;
        return std::move(*this);
    }
    static TestResponse hangUp()
    {
        TestResponse r;
        r.behaviour = Behaviour::closeWithoutAnswer;
        return r;
    }
    static TestResponse endless()
    {
        TestResponse r;
        r.behaviour = Behaviour::endlessBody;
        return r;
    }
};

class TestHttpServer : public QTcpServer {
    Q_OBJECT
public:
    using Handler = std::function<TestResponse(const TestRequest&)>;

    // Plain HTTP without an identity, TLS with one; on 127.0.0.1 unless told another address.
    explicit TestHttpServer(Handler handler, std::optional<Identity> identity = std::nullopt,
        const QHostAddress& address = QHostAddress::LocalHost);
    ~TestHttpServer() override;

    quint16 port() const { return serverPort(); }
    QUrl url(const QString& path) const;

    void setHandler(Handler handler) { handler_ = std::move(handler); }
    const QList<TestRequest>& requests() const { return requests_; }
    int connectionsAccepted() const { return connections_; }
    int handshakesCompleted() const { return handshakes_; }
    // Endless bodies begun, and the bytes each had put on the wire when its client hung up.
    int endlessBodiesStarted() const { return endlessStarted_; }
    const QList<qint64>& endlessBodiesCut() const { return endlessCut_; }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void serve(QTcpSocket* socket);
    void pourEndlessly(QTcpSocket* socket, QByteArray head, QByteArray chunk);

    Handler handler_;
    std::optional<Identity> identity_;
    QList<TestRequest> requests_;
    int connections_ = 0;
    int handshakes_ = 0;
    int endlessStarted_ = 0;
    QList<qint64> endlessCut_;
};

// After endless bodies: the client gave up on each near its peer's body limit, said so in the log,
// and hung up once the server had sent at least the limit but not much more than buffers hold.
::testing::AssertionResult gaveUpNearLimit(const TestHttpServer& server, const LogCapture& logs, HttpPeer peer);

} // namespace tolvane::test
