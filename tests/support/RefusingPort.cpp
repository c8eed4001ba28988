#include "RefusingPort.h"

#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvane::test {

namespace {

quint16 refusingPort()
{
    // Bound once and kept until the process ends (a descriptor, not memory: nothing leaks).
    static const quint16 port = [] {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0
            || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            qFatal("could not reserve a loopback port");
        return ntohs(address.sin_port);
    }();
    return port;
}

} // namespace

QUrl refusingUrl(const QString& path, const QString& scheme)
{
    QUrl url;
    url.setScheme(scheme);
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(refusingPort());
    url.setPath(path);
    return url;
}

QString refusingBase()
{
    return QStringLiteral("http://127.0.0.1:%1").arg(refusingPort());
}

} // namespace tolvane::test
