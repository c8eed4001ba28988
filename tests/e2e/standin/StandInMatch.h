#pragma once
// A whole match on loopback, for the end-to-end tests and the whole-app benchmark: the game
// client's REST interface behind a process that carries its port and token on its command line,
// walking champion select, loading screen, game and end of game through real captures; the
// in-game Live Client Data interface replaying a real capture with its clock running; the game's
// window; Data Dragon serving the real files, and one small image made here for every icon; the
// statistics service on the MCP SDK. The game's two interfaces present certificates of a test
// authority. Everything is started and stopped here, on the calling thread's event loop.

#include "StandInEntry.h"

#include "SdkPeer.h"
#include "TestHttpServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSize>

#include <memory>

namespace tolvane::test {

class FakeDDragon;
class StandInGameWindow;

class StandInMatch {
public:
    // With no game client, only Data Dragon and the statistics service answer.
    enum class Phase { noClient, champSelect, loadingScreen, inProgress, endOfGame };
    // How the Live Client Data interface misbehaves while the game runs.
    enum class LiveFault { none, stall, drop, garbage };

    // The size of the image Data Dragon serves for every icon, odd enough to tell it where drawn.
    static constexpr QSize iconSize {13, 11};

    StandInMatch();
    ~StandInMatch();

    // Empty once every service runs; otherwise what keeps one from running.
    QString start();
    void setPhase(Phase phase);
    void setLiveFault(LiveFault fault) { fault_ = fault; }

    StandInPeers peers() const;
    // Starts a build of the application (the test build follows the peers, the shipped one does
    // not) that keeps its settings, runtime and temporary files and the game's folder under home.
    void launchApp(QProcess& app, const QString& program, const QString& home) const;
    // Whether launchAlone can run here: the machine makes process and mount namespaces for this
    // user (probed once).
    static bool canLaunchAlone();
    // Starts the shipped build as launchApp does, but with the game client of this match the only
    // one it can find and no name server to ask: in a process and mount namespace of its own,
    // whose first process carries the client's command line, with host names looked up in the
    // hosts file only. Ending app (a kill) ends every process of the namespace.
    void launchAlone(QProcess& app, const QString& program, const QString& home) const;
    // The first line of this machine's process list that the discovery would take before this
    // match's client; empty when there is none.
    QString otherClientLine() const;
    static QString settingsPath(const QString& home);
    // The Live Client Data capture the game replays (a file under allgamedata/), from its own
    // game time on.
    void setCapture(const QString& file);
    // Requests each game interface was sent; statistics-service calls.
    qsizetype liveRequests() const { return live_->requests().size(); }
    qsizetype clientRequests() const { return client_->requests().size(); }
    qsizetype statisticsCalls() { return peer_.calls().size(); }
    // The paths Data Dragon was asked for, in order.
    QList<QByteArray> dataDragonPaths() const;

private:
    // The client's name, port and token, as its process carries them.
    QStringList clientCommandLine() const;
    void prepareLaunch(QProcess& app, const QString& home) const;
    TestResponse answerClient(const TestRequest& request) const;
    TestResponse answerLive(const TestRequest& request) const;
    TestResponse summonerById(const QByteArray& id) const;

    Phase phase_ = Phase::noClient;
    LiveFault fault_ = LiveFault::none;
    QString token_;
    quint16 livePort_ = 0;
    QElapsedTimer clock_;
    QByteArray capture_;
    qsizetype gameTimeAt_ = -1;
    qsizetype gameTimeEnd_ = -1;
    double gameTimeStart_ = 0;
    std::unique_ptr<TestHttpServer> client_;
    std::unique_ptr<TestHttpServer> live_;
    std::unique_ptr<FakeDDragon> dataDragon_;
    SdkPeer peer_ {SdkPeer::Style::sse};
    QProcess clientProcess_;
    std::unique_ptr<StandInGameWindow> gameWindow_;
};

} // namespace tolvane::test
