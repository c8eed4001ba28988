#include "PouringPeer.h"

#include <QDir>

#include <cerrno>

#include <arpa/inet.h>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvane::test {

namespace {

bool waitFor(int fd, short events, int ms)
{
    pollfd p {fd, events, 0};
    return ::poll(&p, 1, ms) > 0 && (p.revents & (events | POLLHUP | POLLERR));
}

} // namespace

PouringPeer::PouringPeer(QByteArray head, QByteArray chunk, Body body)
    : head_(std::move(head))
    , chunk_(std::move(chunk))
    , held_(body == Body::held)
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0
        || ::listen(listener_, 8) != 0
        || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        qFatal("pouring peer could not listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

PouringPeer::~PouringPeer()
{
    stop_ = true;
    pour();
    thread_.join();
    ::close(listener_);
}

QUrl PouringPeer::url(const QString& path) const
{
    QUrl u;
    u.setScheme(QStringLiteral("http"));
    u.setHost(QStringLiteral("127.0.0.1"));
    u.setPort(port_);
    u.setPath(path);
    return u;
}

void PouringPeer::pour()
{
    held_ = false;
    held_.notify_all();
}

qint64 PouringPeer::takenByClient() const
{
    const quint16 client = clientPort_;
    if (client == 0)
        return -1;
    // The client's socket is the one of this process whose own end is the client's port and whose
    // other end is the peer's.
    const auto port = [](int fd, auto get) {
        sockaddr_in address {};
        socklen_t length = sizeof address;
        return get(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 && address.sin_family == AF_INET
            ? ntohs(address.sin_port)
            : 0;
    };
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& name : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const int fd = name.toInt();
        if (port(fd, ::getsockname) != client || port(fd, ::getpeername) != port_)
            continue;
        tcp_info info {};
        socklen_t size = sizeof info;
        int unread = 0;
        if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &size) != 0 || ::ioctl(fd, FIONREAD, &unread) != 0)
            return -1;
        return qint64(info.tcpi_bytes_received) - unread;
    }
    return -1;
}

void PouringPeer::run()
{
    while (!stop_) {
        if (!waitFor(listener_, POLLIN, 20))
            continue;
        sockaddr_in client {};
        socklen_t length = sizeof client;
        const int connection
            = ::accept4(listener_, reinterpret_cast<sockaddr*>(&client), &length, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection >= 0) {
            clientPort_ = ntohs(client.sin_port);
            serve(connection);
            ::close(connection);
        }
    }
}

void PouringPeer::serve(int connection)
{
    // The request: its head, then as many body bytes as it announces.
    QByteArray request;
    qint64 wanted = -1;
    while (!stop_ && (wanted < 0 || request.size() < wanted)) {
        if (!waitFor(connection, POLLIN, 20))
            continue;
        char buffer[4096];
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        request.append(buffer, got);
        const qsizetype end = request.indexOf("\r\n\r\n");
        if (wanted < 0 && end >= 0) {
            qint64 length = 0;
            for (const QByteArray& line : request.left(end).split('\n'))
                if (line.toLower().startsWith("content-length:"))
                    length = line.mid(15).trimmed().toLongLong();
            wanted = end + 4 + length;
        }
    }

    QByteArray pending = head_;
    bool inBody = false;
    while (!stop_) {
        if (pending.isEmpty()) {
            if (!inBody) {
                ++headsSent_;
                held_.wait(true);
            }
            pending = chunk_;
            inBody = true;
        }
        if (!waitFor(connection, POLLOUT, 20))
            continue;
        const ssize_t written = ::send(connection, pending.constData(), pending.size(), MSG_NOSIGNAL);
        if (written < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                continue;
            ++hangUps_;
            return;
        }
        if (inBody)
            sent_ += written;
        pending.remove(0, written);
    }
}

} // namespace tolvane::test
