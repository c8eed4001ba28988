#include "StandInEntry.h"

#include "core/advice/SummonerProfileFetcher.h"
#include "core/gameclient/LCUDiscovery.h"
#include "core/gameclient/RiotTrustDelegate.h"
#include "core/overlay/UsagePing.h"

#include <QApplication>
#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QMainWindow>
#include <QProcess>
#include <QSslCertificate>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <utility>

namespace tolvane::test {

namespace {

// Reports the main window's first exposure once the event that brought it has been handled.
class FirstExposure final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || done_)
            return false;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMainWindow*>(widget) && widget->windowHandle() == watched && widget->isVisible()) {
                done_ = true;
                QTimer::singleShot(0, this, [this] {
                    std::printf("%s\n", mainWindowShownLine);
                    std::fflush(stdout);
                    qApp->removeEventFilter(this);
                    deleteLater();
                });
            }
        }
        return false;
    }

private:
    bool done_ = false;
};

// The discovery's own reading of the process list, over the lines of this match's client only.
std::optional<ClientCredentials> discoverClient(const QString& token)
{
    QProcess ps;
    ps.start(QStringLiteral("/bin/ps"), {QStringLiteral("-A"), QStringLiteral("-o"), QStringLiteral("command")});
    if (!ps.waitForFinished(15000))
        return std::nullopt;
    QByteArray ours;
    for (const QByteArray& line : ps.readAllStandardOutput().split('\n'))
        if (line.contains(token.toUtf8()))
            ours += line + '\n';
    return LCUDiscovery::fromProcessList(ours);
}

} // namespace

QJsonObject StandInPeers::toJson() const
{
    return {{QStringLiteral("liveClient"), liveClient.toString()}, {QStringLiteral("dataDragon"), dataDragon},
        {QStringLiteral("statistics"), statistics.toString()},
        {QStringLiteral("anchorPem"), QString::fromLatin1(anchorPem)}, {QStringLiteral("clientToken"), clientToken}};
}

StandInPeers StandInPeers::fromJson(const QJsonObject& object)
{
    return {QUrl(object[QStringLiteral("liveClient")].toString()), object[QStringLiteral("dataDragon")].toString(),
        QUrl(object[QStringLiteral("statistics")].toString()),
        object[QStringLiteral("anchorPem")].toString().toLatin1(), object[QStringLiteral("clientToken")].toString()};
}

void pointAtStandIns(AppDelegate::Services& services, const StandInPeers& peers)
{
    const auto trust = std::make_shared<RiotTrustDelegate>(QSslCertificate(peers.anchorPem));
    services.liveClient = [url = peers.liveClient, trust] { return LiveClientDataClient(url, trust); };
    // Every Data Dragon address, icons and the champion-select catalogs included, follows it.
    services.dataDragonBase = peers.dataDragon;
    services.statisticsEndpoint = peers.statistics;
    services.checkAvailability
        = []() -> QCoro::Task<AppAvailability::Status> { co_return AppAvailability::Status::available(); };
    services.defaults->set(UsagePing::devFlagKey, true);

    ChampSelectViewModel::Services& champSelect = services.champSelect;
    champSelect.discover = [token = peers.clientToken, trust]() -> std::optional<LCUClient> {
        const std::optional<ClientCredentials> credentials = discoverClient(token);
        if (!credentials)
            return std::nullopt;
        return LCUClient(*credentials, trust, HttpTimeouts::gameInterface());
    };
    champSelect.fetchSoloRank
        = [fetcher = std::make_shared<SummonerProfileFetcher>(std::make_shared<MetrionMCPClient>(peers.statistics))](
              QString gameName, QString tagLine, QString region) {
              return fetcher->fetchSoloRank(std::move(gameName), std::move(tagLine), std::move(region));
          };
}

RequestedHosts& RequestedHosts::install()
{
    auto* hosts = new RequestedHosts;
    QNetworkProxyFactory::setApplicationProxyFactory(hosts);
    return *hosts;
}

QList<QNetworkProxy> RequestedHosts::queryProxy(const QNetworkProxyQuery& query)
{
    // A server listening asks too, with no peer: that is no lookup.
    const QString host = query.peerHostName();
    if (!host.isEmpty() && !QHostAddress(host).isLoopback() && host != QLatin1String("localhost")) {
        const QString address = query.url().isEmpty() ? host : query.url().toString();
        std::fprintf(stderr, "%s %s\n", offLoopbackLine, qPrintable(address));
        const QMutexLocker lock(&mutex_);
        offLoopback_ << address;
    }
    return {QNetworkProxy(QNetworkProxy::NoProxy)};
}

QStringList RequestedHosts::takeOffLoopback()
{
    const QMutexLocker lock(&mutex_);
    return std::exchange(offLoopback_, {});
}

void useStandIns(AppDelegate::Services& services)
{
    qApp->installEventFilter(new FirstExposure);
    const QString path = qEnvironmentVariable(standInPeersVariable);
    if (path.isEmpty())
        return;
    RequestedHosts::install();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("stand-in peers file %s cannot be read", qPrintable(path));
    pointAtStandIns(services, StandInPeers::fromJson(QJsonDocument::fromJson(file.readAll()).object()));
}

} // namespace tolvane::test
