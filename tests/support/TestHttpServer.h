#pragma once
// A small HTTP/1.1 server on 127.0.0.1 (port chosen by the system), plain or TLS with a given
// identity, for tests. Each request goes to a handler; the answer can also be withheld, cut
// short or closed, to play a misbehaving peer.

#include "TestCertificates.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QUrl>

#include <functional>
#include <optional>

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
    enum class Behaviour { respond, neverAnswer, closeWithoutAnswer, truncateBody };

    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/json";
    QList<std::pair<QByteArray, QByteArray>> headers;
    Behaviour behaviour = Behaviour::respond;
    int delayMs = 0;

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
};

class TestHttpServer : public QTcpServer {
    Q_OBJECT
public:
    using Handler = std::function<TestResponse(const TestRequest&)>;

    // Plain HTTP without an identity, TLS with one.
    explicit TestHttpServer(Handler handler, std::optional<Identity> identity = std::nullopt);
    ~TestHttpServer() override;

    quint16 port() const { return serverPort(); }
    QUrl url(const QString& path) const;

    void setHandler(Handler handler) { handler_ = std::move(handler); }
    const QList<TestRequest>& requests() const { return requests_; }
    int connectionsAccepted() const { return connections_; }
    int handshakesCompleted() const { return handshakes_; }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void serve(QTcpSocket* socket);

    Handler handler_;
    std::optional<Identity> identity_;
    QList<TestRequest> requests_;
    int connections_ = 0;
    int handshakes_ = 0;
};

} // namespace tolvane::test
