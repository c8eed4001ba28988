#include "PouringPeer.h"

#include <cerrno>
#include <chrono>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvane::test {

namespace {

using Clock = std::chrono::steady_clock;

// How long the client may take nothing before the peer counts as held back.
constexpr auto stallAfter = std::chrono::milliseconds(300);

bool waitFor(int fd, short events, int ms)
{
    pollfd p {fd, events, 0};
    return ::poll(&p, 1, ms) > 0 && (p.revents & (events | POLLHUP | POLLERR));
}

} // namespace

PouringPeer::PouringPeer(QByteArray head, QByteArray chunk)
    : head_(std::move(head))
    , chunk_(std::move(chunk))
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

void PouringPeer::run()
{
    while (!stop_) {
        if (!waitFor(listener_, POLLIN, 20))
            continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection >= 0) {
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
    auto lastTaken = Clock::now();
    while (!stop_) {
        if (pending.isEmpty()) {
            pending = chunk_;
            inBody = true;
        }
        if (!waitFor(connection, POLLOUT, 20)) {
            stalled_ = Clock::now() - lastTaken > stallAfter;
            continue;
        }
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
        lastTaken = Clock::now();
        stalled_ = false;
    }
}

} // namespace tolvane::test
