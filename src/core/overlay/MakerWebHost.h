#pragma once
// The maker's own web host: the availability status and the usage heartbeat go there. The build
// sets it (TOLVANE_MAKER_WEB_HOST); by default it is a name under the reserved ".invalid"
// top-level domain, which never resolves, so no installation sends its id to a host we do not
// own and both features stay inert until a build sets a real host.

#include <QString>
#include <QUrl>

namespace tolvane::MakerWebHost {

inline QString domain()
{
    return QStringLiteral(TOLVANE_MAKER_WEB_HOST);
}

inline QUrl baseUrl()
{
    return QUrl(QStringLiteral("https://") + domain());
}

} // namespace tolvane::MakerWebHost
