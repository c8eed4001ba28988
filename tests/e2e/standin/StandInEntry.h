#pragma once
// Points the application at a stand-in match: the addresses of the stand-in services and the
// certificate authority its game interfaces present. The test and benchmark build of the entry
// calls useStandIns once; the shipped entry is built without it, so it keeps the bundled anchor.

#include "app/startup/AppDelegate.h"

#include <QByteArray>
#include <QJsonObject>
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

void pointAtStandIns(AppDelegate::Services& services, const StandInPeers& peers);

// The entry's hook: the peers from the file the environment names (none: nothing changes), and
// the line above once the main window is first exposed.
void useStandIns(AppDelegate::Services& services);

} // namespace tolvane::test
