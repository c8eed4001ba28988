#include "TestHttpServer.h"

#include "Await.h"

#include <QPointer>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>

namespace tolvane::test {

TestHttpServer::TestHttpServer(Handler handler, std::optional<Identity> identity, const QHostAddress& address)
    : handler_(std::move(handler))
    , identity_(std::move(identity))
{
    if (!listen(address, 0))
        qFatal("test server could not listen");
}

TestHttpServer::~TestHttpServer()
{
    close();
}

QUrl TestHttpServer::url(const QString& path) const
{
    QUrl u;
    u.setScheme(identity_ ? QStringLiteral("https") : QStringLiteral("http"));
    u.setHost(serverAddress().toString());
    u.setPort(port());
    const qsizetype q = path.indexOf(QLatin1Char('?'));
    u.setPath(q < 0 ? path : path.left(q));
    if (q >= 0)
        u.setQuery(path.mid(q + 1));
    return u;
}

void TestHttpServer::incomingConnection(qintptr descriptor)
{
    ++connections_;
    if (!identity_) {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        serve(socket);
        return;
    }
    auto* socket = new QSslSocket(this);
    socket->setSocketDescriptor(descriptor);
    socket->setLocalCertificate(identity_->certificate);
    socket->setPrivateKey(identity_->key);
    if (!identity_->chain.isEmpty()) {
        QSslConfiguration config = socket->sslConfiguration();
        QList<QSslCertificate> chain {identity_->certificate};
        chain += identity_->chain;
        config.setLocalCertificateChain(chain);
        socket->setSslConfiguration(config);
    }
    socket->setPeerVerifyMode(QSslSocket::VerifyNone);
    connect(socket, &QSslSocket::encrypted, this, [this] { ++handshakes_; });
    connect(socket, &QSslSocket::sslErrors, socket, [socket](const QList<QSslError>&) { socket->ignoreSslErrors(); });
    serve(socket);
    socket->startServerEncryption();
}

void TestHttpServer::serve(QTcpSocket* socket)
{
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
        buffer->append(socket->readAll());
        for (;;) {
            const qsizetype headerEnd = buffer->indexOf("\r\n\r\n");
            if (headerEnd < 0)
                return;
            TestRequest request;
            const QList<QByteArray> lines = buffer->left(headerEnd).split('\n');
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            request.method = first.value(0);
            request.target = first.value(1);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon > 0)
                    request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
            }
            const qsizetype length = request.headers.value("content-length", "0").toLongLong();
            if (buffer->size() < headerEnd + 4 + length)
                return;
            request.body = buffer->mid(headerEnd + 4, length);
            buffer->remove(0, headerEnd + 4 + length);
            requests_.append(request);

            const TestResponse response = handler_(request);
            using B = TestResponse::Behaviour;
            if (response.behaviour == B::neverAnswer)
                return;
            if (response.behaviour == B::closeWithoutAnswer) {
                socket->disconnectFromHost();
                return;
            }
            QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
            if (!response.contentType.isEmpty())
                out += "Content-Type: " + response.contentType + "\r\n";
            for (const auto& [name, value] : response.headers)
                out += name + ": " + value + "\r\n";
            if (response.behaviour != B::endlessBody || response.announcedLength)
                out += "Content-Length: " + QByteArray::number(response.announcedLength.value_or(response.body.size()))
                    + "\r\n";
            out += "\r\n";
            if (response.behaviour == B::endlessBody) {
                pourEndlessly(socket, out, response.body.isEmpty() ? QByteArray(64 * 1024, ' ') : response.body);
                return;
            }
            if (response.behaviour == B::truncateBody)
                out += response.body.left(response.body.size() / 2);
            else
                out += response.body;
            QPointer<QTcpSocket> guard(socket);
            auto send = [guard, out, truncate = response.behaviour == B::truncateBody] {
                if (!guard)
                    return;
                guard->write(out);
                if (truncate) {
                    guard->flush();
                    guard->disconnectFromHost();
                }
            };
            if (response.delayMs > 0)
                QTimer::singleShot(response.delayMs, socket, send);
            else
                send();
        }
    });
}

void TestHttpServer::pourEndlessly(QTcpSocket* socket, QByteArray head, QByteArray chunk)
{
    ++endlessStarted_;
    auto sent = std::make_shared<qint64>(-head.size());
    // Keeps about a megabyte queued (a TLS socket queues twice: before and after encryption):
    // enough to fill the client's buffers, never a runaway queue.
    auto* tls = qobject_cast<QSslSocket*>(socket);
    auto pour = [socket, tls, chunk] {
        while (socket->state() == QAbstractSocket::ConnectedState
            && socket->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0) < 1024 * 1024)
            socket->write(chunk);
    };
    auto count = [sent, pour](qint64 written) {
        *sent += written;
        pour();
    };
    if (tls)
        connect(tls, &QSslSocket::encryptedBytesWritten, this, count);
    else
        connect(socket, &QTcpSocket::bytesWritten, this, count);
    connect(socket, &QTcpSocket::disconnected, this, [this, sent] { endlessCut_.append(*sent); });
    socket->write(head);
    pour();
}

::testing::AssertionResult gaveUpNearLimit(const TestHttpServer& server, const LogCapture& logs, HttpPeer peer)
{
    const auto allCut = [&] {
        return server.endlessBodiesStarted() > 0 && server.endlessBodiesCut().size() == server.endlessBodiesStarted();
    };
    if (!spinUntil(allCut, std::chrono::seconds(30)))
        return ::testing::AssertionFailure() << "the client did not hang up on every endless body";
    // Socket buffers on the loopback hold a few megabytes each way.
    const qint64 limit = bodyLimit(peer);
    for (qint64 sent : server.endlessBodiesCut())
        if (sent < limit || sent > limit + 32 * 1024 * 1024)
            return ::testing::AssertionFailure() << "hung up after " << sent << " bytes; the limit is " << limit;
    const QString line = peerName(peer) + QStringLiteral(" reply from ");
    for (const LogLine& logged : logs.lines(QStringLiteral("http")))
        if (logged.message.startsWith(line) && logged.message.contains(QStringLiteral("passed the")))
            return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no log line for the " << peerName(peer).toStdString() << " body";
}

} // namespace tolvane::test
