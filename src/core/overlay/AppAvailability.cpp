#include "core/overlay/AppAvailability.h"

#include "core/overlay/UsagePing.h"
#include "core/support/HttpSession.h"
#include "core/support/Json.h"

#include <QUrlQuery>
#include <QUuid>

namespace tolvane::AppAvailability {

namespace {

struct Reply {
    std::optional<bool> disabled;
    std::optional<QString> message;
};

} // namespace

QString defaultMessage()
{
    return QStringLiteral("Tolvane is temporarily unavailable. Please check ") + MakerWebHost::domain()
        + QStringLiteral(" for details.");
}

QUrl statusEndpoint(const QUrl& host)
{
    QUrl url = host;
    url.setPath(QStringLiteral("/app-status.json"));
    return url;
}

HttpTimeouts timeouts()
{
    return {std::chrono::seconds(8), std::chrono::seconds(8)};
}

QCoro::Task<Status> check(std::shared_ptr<HttpSession> session, std::shared_ptr<UserDefaults> defaults, QUrl host)
{
    QUrl url = statusEndpoint(host);
    if (!url.isValid() || !session)
        co_return Status::available();

    QUrlQuery query;
    query.addQueryItem(QStringLiteral("cb"), QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    if (defaults && defaults->boolValue(UsagePing::devFlagKey))
        query.addQueryItem(QStringLiteral("dev"), QStringLiteral("1"));
    url.setQuery(query);
    if (!url.isValid())
        co_return Status::available();

    const HttpResult result = co_await session->get(url);
    if (!result.arrived() || result.reply->status != 200)
        co_return Status::available();

    const auto decoded = json::decode<Reply>(result.reply->body, [](json::Value root) {
        const json::Object object = root.toObject();
        return Reply {object.optBoolean("disabled"), object.optString("message")};
    });
    if (!decoded || !decoded.value->disabled.value_or(false))
        co_return Status::available();

    const QString message = decoded.value->message.value_or(QString()).trimmed();
    co_return Status::disabled(message.isEmpty() ? defaultMessage() : message);
}

} // namespace tolvane::AppAvailability
