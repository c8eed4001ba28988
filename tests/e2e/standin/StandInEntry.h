#pragma once
// Points the application at a stand-in match: the addresses of the stand-in services and the
// certificate authority its game interfaces present. The test and benchmark build of the entry
// calls useStandIns once; the shipped entry is built without it, so it keeps the bundled anchor.

#include "app/startup/AppDelegate.h"

#include <QByteArray>
#include <QJsonObject>
#include <QMutex>
#include <QNetworkProxyFactory>
#include <QString>
#include <QUrl>

namespace tolvane::test {

struct StandInPeers {
    QUrl liveClient;
    QString dataDragon;
    QUrl statistics;
    QByteArray anchorPem;
    // Only a game-client process carrying this token counts: other matches may run on the machine.
    QString clientToken;

    QJsonObject toJson() const;
    static StandInPeers fromJson(const QJsonObject& object);
};

// The environment variable naming the file that holds the peers of the test build's entry.
inline constexpr char standInPeersVariable[] = "TOLVANE_STAND_IN_PEERS";
// What the test build's entry prints on standard output once its main window is on screen.
inline constexpr char mainWindowShownLine[] = "main window shown";

// Also takes the maker's host out of the match: the availability check answers "available" and
// the heartbeat is off, as in a developer's build.
void pointAtStandIns(AppDelegate::Services& services, const StandInPeers& peers);

// Every host the process's network clients ask for, as the proxy lookup that comes before each
// request and each connection sees it (Qt owns the factory once installed). A host off loopback
// is kept, and told on standard error for the runs that watch another process.
class RequestedHosts final : public QNetworkProxyFactory {
public:
    static RequestedHosts& install();
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override;
    // The addresses off loopback asked for since the last call.
    QStringList takeOffLoopback();

private:
    QMutex mutex_; // queries may come from a network manager's thread
    QStringList offLoopback_;
};
inline constexpr char offLoopbackLine[] = "stand-in match: asked for an address off loopback:";

// The entry's hook: the peers from the file the environment names (none: nothing changes), the
// hosts asked for recorded, and the line above once the main window is first exposed.
void useStandIns(AppDelegate::Services& services);

} // namespace tolvane::test
