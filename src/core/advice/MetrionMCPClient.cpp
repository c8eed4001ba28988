#include "core/advice/MetrionMCPClient.h"

#include "core/advice/MetrionLog.h"

#include <QJsonDocument>

TOLVANE_LOG_CATEGORY(lcMetrion, "metrion")

namespace tolvane {

QUrl MetrionMCPClient::defaultEndpoint()
{
    return QUrl(QString::fromLatin1(metrionEndpointAddress));
}

MetrionMCPClient::MetrionMCPClient()
    : MetrionMCPClient(defaultEndpoint())
{
}

MetrionMCPClient::MetrionMCPClient(QUrl endpoint, HttpTimeouts timeouts)
    : session_(std::make_shared<HttpSession>(HttpPeer::statistics, timeouts))
    , endpoint_(std::move(endpoint))
{
}

QCoro::Task<std::optional<QString>> MetrionMCPClient::callTool(QString name, QJsonObject arguments) const
{
    QJsonObject params;
    params.insert(QStringLiteral("name"), name);
    params.insert(QStringLiteral("arguments"), arguments);
    QJsonObject body;
    body.insert(QStringLiteral("jsonrpc"), QStringLiteral("2.0"));
    body.insert(QStringLiteral("id"), 1);
    body.insert(QStringLiteral("method"), QStringLiteral("tools/call"));
    body.insert(QStringLiteral("params"), params);
    // The session and endpoint travel by value so the call outlives a destroyed client.
    return send(session_, endpoint_, QJsonDocument(body).toJson(QJsonDocument::Compact));
}

QCoro::Task<std::optional<QString>> MetrionMCPClient::send(
    std::shared_ptr<HttpSession> session, QUrl endpoint, QByteArray body)
{
    const HttpHeaders headers = {
        {"Content-Type", "application/json"},
        {"Accept", "application/json, text/event-stream"},
    };
    const HttpResult result = co_await session->post(endpoint, body, headers);
    // Every transfer failure here is a network-layer one (refused, timed out, TLS, cut off), which
    // the session logs; the caller's "unavailable" says the rest.
    if (!result.arrived())
        co_return std::nullopt;
    // Status and headers are not examined: an error page may still carry a valid envelope. The
    // session logs an error status as a failure of the service all the same.
    co_return extractToolText(result.reply->body);
}

} // namespace tolvane
