#include "core/support/ConnectProbe.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvane {

namespace {

// The socket closes when the probe ends, however it ends.
struct OwnedSocket {
    int fd = -1;
    ~OwnedSocket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

ProbeResult fromError(int error)
{
    if (error == 0)
        return ProbeResult::accepting;
    return error == ECONNREFUSED ? ProbeResult::refused : ProbeResult::unknown;
}

} // namespace

QCoro::Task<ProbeResult> probeConnection(
    QHostAddress host, quint16 port, std::chrono::milliseconds limit, CancelToken cancel)
{
    sockaddr_storage address {};
    socklen_t length = 0;
    if (host.protocol() == QAbstractSocket::IPv4Protocol) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        v4->sin_addr.s_addr = htonl(host.toIPv4Address());
        length = sizeof(sockaddr_in);
    } else if (host.protocol() == QAbstractSocket::IPv6Protocol) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        const Q_IPV6ADDR bytes = host.toIPv6Address();
        std::memcpy(&v6->sin6_addr, &bytes, sizeof bytes);
        length = sizeof(sockaddr_in6);
    } else {
        co_return ProbeResult::unknown;
    }
    if (cancel.isCancelled())
        co_return ProbeResult::unknown;

    OwnedSocket socket {::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        co_return ProbeResult::unknown;
    if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), length) == 0)
        co_return ProbeResult::accepting;
    if (errno != EINPROGRESS)
        co_return fromError(errno);

    // The answer comes when the socket turns writable. Running out of time or being cancelled
    // takes the notifier away, which ends the wait as unknown. The limit is the request's own
    // time-out, so it is kept as precisely (a coarse timer may end it up to 5 % early). The
    // notifier owns it, so that an answer stops it: a single-shot timer whose object is gone still
    // wakes the event loop when it falls due.
    QPointer<QSocketNotifier> notifier(new QSocketNotifier(socket.fd, QSocketNotifier::Write));
    auto* deadline = new QTimer(notifier.data());
    deadline->setSingleShot(true);
    deadline->setTimerType(Qt::PreciseTimer);
    QObject::connect(deadline, &QTimer::timeout, notifier.data(), [notifier] { notifier->deleteLater(); });
    deadline->start(limit);
    if (auto* n = static_cast<CancelNotifier*>(cancel.notifier()))
        QObject::connect(n, &CancelNotifier::cancelledSignal, notifier.data(), [notifier] { notifier->deleteLater(); });
    const bool answered = co_await signalOrDestroyed(notifier.data(), &QSocketNotifier::activated);
    delete notifier.data(); // before the socket closes
    if (!answered || cancel.isCancelled())
        co_return ProbeResult::unknown;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(socket.fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        co_return ProbeResult::unknown;
    co_return fromError(error);
}

} // namespace tolvane
