#include "app/startup/SingleInstance.h"

#include "core/support/Log.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <pwd.h>
#include <unistd.h>

TOLVANE_LOG_CATEGORY(lcSingleInstance, "startup")

namespace tolvane {

namespace {

const QByteArray reopenMessage = QByteArrayLiteral("reopen\n");
const QByteArray doneReply = QByteArrayLiteral("ok\n");
// A request is one short line; anything longer is not ours.
constexpr qint64 longestRequest = 64;
// Generous: the running copy may be busy for a moment, but a launch must not hang on it.
constexpr int connectTimeoutMs = 2000;
constexpr int replyTimeoutMs = 5000;
constexpr int lockTimeoutMs = 10000;

QString userName()
{
    const passwd* entry = ::getpwuid(::getuid());
    QString name = entry != nullptr && entry->pw_name != nullptr ? QString::fromLocal8Bit(entry->pw_name) : QString();
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    name.remove(unsafe);
    return name.isEmpty() ? QString::number(::getuid()) : name;
}

} // namespace

QString SingleInstance::defaultServerName()
{
    // The runtime folder is the user's own for this session (Qt makes a private one in the
    // temporary folder when the session names none).
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/tolvane-") + userName();
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent)
    , serverName_(std::move(serverName))
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::claim()
{
    // Two launches at once would both find no server and both listen: one at a time looks.
    QLockFile lock(serverName_ + QStringLiteral(".lock"));
    if (!lock.tryLock(lockTimeoutMs))
        log::warning(lcSingleInstance(), QStringLiteral("single-instance lock not taken; going on without it"));
    if (handOff())
        return Role::secondary;
    listen();
    return Role::primary;
}

bool SingleInstance::handOff()
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    // A copy that runs accepts at once, even while busy; a socket left by a killed one refuses.
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(reopenMessage);
    socket.waitForBytesWritten(connectTimeoutMs);
    // Waits for the running copy to take the request, so that this launch ends after it did.
    if (!socket.waitForReadyRead(replyTimeoutMs))
        log::warning(lcSingleInstance(), QStringLiteral("the running copy did not answer the reopen request"));
    else
        log::info(lcSingleInstance(), QStringLiteral("Tolvane is already running; asked it to show its window"));
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::listen()
{
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered: whatever socket is there was left by a copy that is gone.
    QLocalServer::removeServer(serverName_);
    if (!server_->listen(serverName_)) {
        log::error(lcSingleInstance(),
            QStringLiteral("cannot listen for other launches at %1: %2").arg(serverName_, server_->errorString()));
        server_.reset();
        return;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            serve(socket);
    });
}

void SingleInstance::serve(QLocalSocket* socket)
{
    // A client that never finishes its line is dropped.
    auto* deadline = new QTimer(socket);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, socket, &QLocalSocket::abort);
    deadline->start(replyTimeoutMs);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    const auto read = [this, socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > longestRequest)
                socket->abort();
            return;
        }
        const QByteArray line = socket->readLine(longestRequest + 1);
        if (line == reopenMessage) {
            socket->write(doneReply);
            socket->flush();
            emit reopenRequested();
        } else {
            log::warning(lcSingleInstance(), QStringLiteral("unknown request from another launch ignored"));
        }
        socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    if (socket->bytesAvailable() > 0)
        read();
}

void SingleInstance::release()
{
    // Closing removes the socket, so the next launch finds nobody and takes over.
    server_.reset();
}

bool SingleInstance::isListening() const
{
    return server_ != nullptr && server_->isListening();
}

} // namespace tolvane
