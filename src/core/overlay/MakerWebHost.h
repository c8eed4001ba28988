#pragma once
// The maker's own web host: the availability status and the usage heartbeat go there. Until the
// project has a domain of its own this is a name under the reserved ".invalid" top-level domain,
// which never resolves, so no installation sends its id to a host we do not own; both features
// are inert until a real host is set here.

#include <QString>
#include <QUrl>

namespace tolvane::MakerWebHost {

inline QString domain()
{
    return QStringLiteral("tolvane.invalid");
}

inline QUrl baseUrl()
{
    return QUrl(QStringLiteral("https://") + domain());
}

} // namespace tolvane::MakerWebHost
