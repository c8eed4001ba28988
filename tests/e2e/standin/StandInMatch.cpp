#include "StandInMatch.h"

#include "Await.h"
#include "FakeDDragon.h"
#include "StandInGameWindow.h"
#include "TestCertificates.h"

#include "core/gameclient/LCUDiscovery.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

namespace tolvane::test {

namespace {

const QByteArray allGameData = "/liveclientdata/allgamedata";

QByteArray lcu(const char* path)
{
    return realData(QStringLiteral("lcu/") + QLatin1String(path));
}

// unshare's flags for a process and mount namespace of its own: as root, or as a developer
// without root inside a user namespace; none where the machine makes neither.
const QStringList& namespaceFlags()
{
    static const QStringList flags = [] {
        const QStringList own {QStringLiteral("--pid"), QStringLiteral("--fork"), QStringLiteral("--kill-child"),
            QStringLiteral("--mount-proc")};
        for (const QStringList& candidate :
            {own, QStringList {QStringLiteral("--user"), QStringLiteral("--map-root-user")} + own}) {
            QProcess probe;
            probe.start(QStringLiteral("unshare"), candidate + QStringList {QStringLiteral("true")});
            if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
                return candidate;
        }
        return QStringList();
    }();
    return flags;
}

TestResponse closed()
{
    TestResponse response;
    response.behaviour = TestResponse::Behaviour::closeWithoutAnswer;
    return response;
}

QByteArray iconPng()
{
    QImage icon(StandInMatch::iconSize, QImage::Format_ARGB32);
    icon.fill(QColor(200, 60, 160));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    icon.save(&buffer, "PNG");
    return png;
}

} // namespace

StandInMatch::StandInMatch()
    : token_(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    const Identity& identity = TestCertificates::instance().loopback;
    client_ = std::make_unique<TestHttpServer>([this](const TestRequest& r) { return answerClient(r); }, identity);
    live_ = std::make_unique<TestHttpServer>([this](const TestRequest& r) { return answerLive(r); }, identity);
    // The game's port is closed until the game runs.
    livePort_ = live_->port();
    live_->close();
    dataDragon_ = std::make_unique<FakeDDragon>(QStringLiteral("12.13.1"));
    dataDragon_->serveIcons(iconPng());

    setCapture(QStringLiteral("sr_ranked_11.21_local_player.json"));
}

StandInMatch::~StandInMatch()
{
    setPhase(Phase::noClient);
}

QString StandInMatch::start()
{
    return peer_.start();
}

void StandInMatch::setCapture(const QString& file)
{
    capture_ = realData(QStringLiteral("allgamedata/") + file);
    const QByteArray key = "\"gameTime\":";
    gameTimeAt_ = capture_.indexOf(key) + key.size();
    gameTimeEnd_ = gameTimeAt_;
    while (gameTimeEnd_ < capture_.size() && capture_[gameTimeEnd_] != ',' && capture_[gameTimeEnd_] != '}')
        ++gameTimeEnd_;
    gameTimeStart_ = capture_.mid(gameTimeAt_, gameTimeEnd_ - gameTimeAt_).trimmed().toDouble();
}

StandInPeers StandInMatch::peers() const
{
    QUrl live = client_->url(QString::fromLatin1(allGameData));
    live.setPort(livePort_);
    return {live, dataDragon_->base(), peer_.endpoint(), TestCertificates::instance().anchorPem, token_};
}

QList<QByteArray> StandInMatch::dataDragonPaths() const
{
    QList<QByteArray> paths;
    for (const TestRequest& request : dataDragon_->server().requests())
        paths << request.path();
    return paths;
}

void StandInMatch::prepareLaunch(QProcess& app, const QString& home) const
{
    const QString peersPath = QDir(home).filePath(QStringLiteral("stand-in-peers.json"));
    QFile peersFile(peersPath);
    if (!peersFile.open(QIODevice::WriteOnly) || peersFile.write(QJsonDocument(peers().toJson()).toJson()) < 0
        || !peersFile.flush())
        qFatal("cannot write %s", qPrintable(peersPath));
    peersFile.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("TMPDIR"), home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home); // a copy of its own, not another's
    environment.insert(QString::fromLatin1(standInPeersVariable), peersPath);
    // A proxy the developer set would carry the program's requests to wherever it runs.
    for (const QString& name : environment.keys())
        if (name.endsWith(QLatin1String("_proxy"), Qt::CaseInsensitive))
            environment.remove(name);
    app.setProcessEnvironment(environment);
}

void StandInMatch::launchApp(QProcess& app, const QString& program, const QString& home) const
{
    prepareLaunch(app, home);
    app.start(program, {});
}

bool StandInMatch::canLaunchAlone()
{
    return !namespaceFlags().isEmpty();
}

void StandInMatch::launchAlone(QProcess& app, const QString& program, const QString& home) const
{
    prepareLaunch(app, home);
    // The machine's name-service settings, with host names looked up in the hosts file only.
    QFile machine(QStringLiteral("/etc/nsswitch.conf"));
    QByteArray settings;
    if (machine.open(QIODevice::ReadOnly))
        for (const QByteArray& line : machine.readAll().split('\n'))
            if (!line.trimmed().startsWith("hosts:"))
                settings += line + '\n';
    settings += "hosts: files\n";
    const QString settingsPath = QDir(home).filePath(QStringLiteral("nsswitch.conf"));
    QFile file(settingsPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(settings) < 0 || !file.flush())
        qFatal("cannot write %s", qPrintable(settingsPath));
    file.close();
    // The shell stays the namespace's first process, so that its command line (the client's
    // flags follow the script's own arguments) is there for the discovery: the program is not its
    // last command, which a shell would run in its stead.
    const QString script = QStringLiteral("mount --bind \"$1\" /etc/nsswitch.conf && \"$2\"; exit $?");
    app.start(QStringLiteral("unshare"),
        namespaceFlags() + QStringList {QStringLiteral("/bin/sh"), QStringLiteral("-c"), script, QStringLiteral("sh"),
                               settingsPath, program}
            + clientCommandLine());
}

QString StandInMatch::otherClientLine() const
{
    QProcess ps;
    ps.start(QStringLiteral("/bin/ps"), {QStringLiteral("-A"), QStringLiteral("-o"), QStringLiteral("command")});
    if (!ps.waitForFinished(15000))
        qFatal("/bin/ps did not list the processes");
    // A line comes before ours when the discovery, given it first, no longer finds ours.
    const QByteArray ours = clientCommandLine().join(QLatin1Char(' ')).toUtf8();
    const std::optional<ClientCredentials> found = LCUDiscovery::fromProcessList(ours);
    for (const QByteArray& line : ps.readAllStandardOutput().split('\n'))
        if (!line.contains(token_.toUtf8()) && LCUDiscovery::fromProcessList(line + '\n' + ours) != found)
            return QString::fromUtf8(line);
    return {};
}

QStringList StandInMatch::clientCommandLine() const
{
    return {QStringLiteral("LeagueClientUx"), QStringLiteral("--app-port=%1").arg(client_->port()),
        QStringLiteral("--remoting-auth-token=") + token_};
}

QString StandInMatch::settingsPath(const QString& home)
{
    return home + QStringLiteral("/.config/Tolvane/Tolvane.ini");
}

void StandInMatch::setPhase(Phase phase)
{
    phase_ = phase;
    const bool clientRuns = phase != Phase::noClient;
    if (clientRuns && clientProcess_.state() == QProcess::NotRunning) {
        // What the discovery looks for: the client's name, port and token on one command line.
        clientProcess_.start(QStringLiteral("/bin/bash"),
            QStringList {QStringLiteral("-c"), QStringLiteral("read -r _")} + clientCommandLine());
        if (!clientProcess_.waitForStarted())
            qFatal("the stand-in game client did not start");
    } else if (!clientRuns && clientProcess_.state() != QProcess::NotRunning) {
        clientProcess_.closeWriteChannel();
        if (!clientProcess_.waitForFinished(5000))
            clientProcess_.kill();
        clientProcess_.waitForFinished();
    }

    const bool windowShown = phase == Phase::loadingScreen || phase == Phase::inProgress;
    if (windowShown && !gameWindow_) {
        gameWindow_ = std::make_unique<StandInGameWindow>();
        if (!gameWindow_->show())
            qFatal("the stand-in game window did not show");
    } else if (!windowShown) {
        gameWindow_.reset();
    }

    const bool playing = phase == Phase::inProgress;
    if (playing && !live_->isListening()) {
        clock_.start();
        if (!live_->listen(QHostAddress::LocalHost, livePort_))
            qFatal("the game's port was taken meanwhile");
    } else if (!playing) {
        live_->close();
    }
}

TestResponse StandInMatch::answerClient(const TestRequest& request) const
{
    const QByteArray noDelegate = lcu("errors/champ-select_session_404_no_active_delegate.json");
    if (request.header("authorization") != "Basic " + ("riot:" + token_.toUtf8()).toBase64())
        return TestResponse::json("{\"httpStatus\":401}", 401);
    const QByteArray path = request.path();
    const bool selecting = phase_ == Phase::champSelect;
    if (path == "/lol-champ-select/v1/session")
        return selecting ? TestResponse::json(lcu("champ-select/draft_ban_pick_2024.json"))
                         : TestResponse::json(noDelegate, 404);
    // No gameflow capture of a Summoner's Rift champion select exists; without one the client
    // reads as not in a game, and the mode is Summoner's Rift, as the draft capture is.
    if (path == "/lol-gameflow/v1/session" && !selecting)
        return TestResponse::json(lcu(phase_ == Phase::endOfGame ? "gameflow/blind_430_EndOfGame_cn_2024.json"
                                                                 : "gameflow/aram_450_InProgress_cn_2024.json"));
    if (path == "/lol-summoner/v1/current-summoner")
        return TestResponse::json(lcu("summoner/current-summoner_cn_tencent.json"));
    if (path == "/riotclient/region-locale")
        return TestResponse::json(lcu("riotclient/region-locale_euw_fr.json"));
    const QByteArray byId = "/lol-summoner/v1/summoners/";
    if (path.startsWith(byId))
        return summonerById(path.mid(byId.size()));
    return TestResponse::json(noDelegate, 404);
}

// The capture's players predate Riot IDs: each one's ID is its summoner name on a made-up tag.
TestResponse StandInMatch::summonerById(const QByteArray& id) const
{
    const QJsonObject game = QJsonDocument::fromJson(lcu("gameflow/aram_450_InProgress_cn_2024.json"))
                                 .object()[QStringLiteral("gameData")]
                                 .toObject();
    for (const QString& team : {QStringLiteral("teamOne"), QStringLiteral("teamTwo")}) {
        for (const QJsonValue player : game[team].toArray()) {
            if (QByteArray::number(player[QStringLiteral("summonerId")].toInteger()) != id)
                continue;
            QJsonObject summoner {{QStringLiteral("gameName"), player[QStringLiteral("summonerName")]},
                {QStringLiteral("tagLine"), QStringLiteral("CN1")},
                {QStringLiteral("puuid"), player[QStringLiteral("puuid")]},
                {QStringLiteral("summonerId"), player[QStringLiteral("summonerId")]}};
            return TestResponse::json(QJsonDocument(summoner).toJson());
        }
    }
    return TestResponse::json(lcu("errors/champ-select_session_404_no_active_delegate.json"), 404);
}

TestResponse StandInMatch::answerLive(const TestRequest& request) const
{
    // A connection kept alive from the game that ended goes down with it.
    if (phase_ != Phase::inProgress)
        return closed();
    switch (fault_) {
    case LiveFault::stall:
        return TestResponse::never();
    case LiveFault::drop:
        return closed();
    case LiveFault::garbage:
        return TestResponse::json(capture_.left(capture_.size() / 3));
    case LiveFault::none:
        break;
    }
    if (request.path() != allGameData)
        return TestResponse::json("{\"errorCode\":\"RESOURCE_NOT_FOUND\",\"httpStatus\":404}", 404);
    QByteArray body = capture_;
    const double now = gameTimeStart_ + static_cast<double>(clock_.elapsed()) / 1000.0;
    body.replace(gameTimeAt_, gameTimeEnd_ - gameTimeAt_, QByteArray::number(now, 'f', 3));
    return TestResponse::json(std::move(body));
}

} // namespace tolvane::test
