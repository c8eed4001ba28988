#include "core/overlay/UsagePing.h"

#include "core/support/HttpSession.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUuid>

namespace tolvane {

UsagePing::UsagePing(std::shared_ptr<UserDefaults> defaults, QObject* parent)
    : UsagePing(std::move(defaults), Options {}, parent)
{
}

UsagePing::UsagePing(std::shared_ptr<UserDefaults> defaults, Options options, QObject* parent)
    : QObject(parent)
    , defaults_(defaults)
    , settings_(defaults)
    , appVersion_(options.appVersion.value_or(QCoreApplication::applicationVersion()))
    , endpoint_(endpoint(options.host))
    , interval_(options.interval)
    , sleeper_(options.sleeper ? options.sleeper : std::make_shared<RealSleeper>())
    , session_(std::make_shared<HttpSession>(
          HttpPeer::makerHost, HttpTimeouts {std::chrono::seconds(10), std::chrono::seconds(10)}))
{
    if (appVersion_.isEmpty())
        appVersion_ = QStringLiteral("dev");
}

UsagePing::~UsagePing()
{
    stop();
}

QUrl UsagePing::endpoint(const QUrl& host)
{
    QUrl url = host;
    url.setPath(QStringLiteral("/api/heartbeat"));
    return url;
}

QString UsagePing::osVersion()
{
    static const QRegularExpression numbers(QStringLiteral("\\d+"));
    int parts[3] = {0, 0, 0};
    int count = 0;
    auto found = numbers.globalMatch(QSysInfo::productVersion());
    while (found.hasNext() && count < 3)
        parts[count++] = found.next().captured().toInt();
    return QStringLiteral("%1.%2.%3").arg(parts[0]).arg(parts[1]).arg(parts[2]);
}

QString UsagePing::installID()
{
    if (const auto stored = defaults_->stringValue(installIDKey))
        return *stored;
    const QString made = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    defaults_->set(installIDKey, made);
    return made;
}

void UsagePing::start()
{
    if (loop_)
        return;
    loop_ = std::make_unique<CancelSource>();
    run(QPointer<UsagePing>(this), loop_->token(), sleeper_, interval_);
}

void UsagePing::stop()
{
    if (!loop_)
        return;
    loop_->cancel();
    loop_.reset();
}

QCoro::Task<void> UsagePing::run(
    QPointer<UsagePing> self, CancelToken token, std::shared_ptr<Sleeper> sleeper, std::chrono::milliseconds interval)
{
    // Ends when stopped or when its owner is gone, so no pass ever wakes for nothing.
    while (!token.isCancelled() && self) {
        co_await self->beat();
        if (token.isCancelled() || !self)
            break;
        co_await sleeper->sleep(interval, token);
    }
}

QCoro::Task<void> UsagePing::beat()
{
    if (!settings_.usagePingEnabled() || defaults_->boolValue(devFlagKey))
        co_return;
    const QJsonObject body {
        {QStringLiteral("id"), installID()}, {QStringLiteral("v"), appVersion_}, {QStringLiteral("os"), osVersion()}};
    // Held by value: the session outlives this object if the request is still running.
    const std::shared_ptr<HttpSession> session = session_;
    const QUrl url = endpoint_;
    const HttpHeaders headers {{QByteArray("Content-Type"), QByteArray("application/json")}};
    co_await session->post(url, QJsonDocument(body).toJson(QJsonDocument::Compact), headers);
}

} // namespace tolvane
