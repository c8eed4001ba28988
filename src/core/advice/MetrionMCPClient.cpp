#include "core/advice/MetrionMCPClient.h"

#include "core/advice/MetrionLog.h"

#include <QJsonDocument>
#include <QStringDecoder>

TOLVANE_LOG_CATEGORY(lcMetrion, "metrion")

namespace tolvane {

namespace {

MetrionMCPClient::RPCResponse decodeEnvelope(json::Value root)
{
    using RPCResponse = MetrionMCPClient::RPCResponse;
    const json::Object object = root.toObject();
    RPCResponse response;
    response.result = object.optional("result", [](json::Value value) {
        RPCResponse::Result result;
        result.content = value.toObject().optional("content", [](json::Value list) {
            return list.toArray().map([](json::Value item) {
                const json::Object content = item.toObject();
                return RPCResponse::Result::Content {content.string("type"), content.optString("text")};
            });
        });
        return result;
    });
    response.error = object.optional(
        "error", [](json::Value value) { return RPCResponse::RPCError {value.toObject().string("message")}; });
    return response;
}

std::optional<QString> textOfEnvelope(QByteArrayView bytes)
{
    auto decoded = MetrionMCPClient::RPCResponse::decode(bytes);
    if (!decoded)
        return std::nullopt;
    return decoded.value->toolText();
}

bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x0085 || c == 0x2028 || c == 0x2029;
}

bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

json::Decoded<MetrionMCPClient::RPCResponse> MetrionMCPClient::RPCResponse::decode(QByteArrayView bytes)
{
    return json::decode<RPCResponse>(bytes, decodeEnvelope);
}

std::optional<QString> MetrionMCPClient::RPCResponse::toolText() const
{
    if (error)
        return std::nullopt;
    QString joined;
    bool first = true;
    if (result && result->content) {
        for (const auto& item : *result->content) {
            if (item.type != u"text" || !item.text)
                continue;
            if (!first)
                joined += u'\n';
            joined += *item.text;
            first = false;
        }
    }
    if (joined.isEmpty())
        return std::nullopt;
    return joined;
}

QUrl MetrionMCPClient::defaultEndpoint()
{
    return QUrl(QString::fromLatin1(metrionEndpointAddress));
}

MetrionMCPClient::MetrionMCPClient()
    : MetrionMCPClient(defaultEndpoint())
{
}

MetrionMCPClient::MetrionMCPClient(QUrl endpoint, HttpTimeouts timeouts)
    : session_(std::make_shared<HttpSession>(timeouts))
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
    // Every transfer failure here is a network-layer one (refused, timed out, TLS, cut off): the
    // caller's "unavailable" says enough, so none is logged.
    if (!result.arrived())
        co_return std::nullopt;
    // Status and headers are not examined: an error page may still carry a valid envelope.
    co_return extractToolText(result.reply->body);
}

std::optional<QString> MetrionMCPClient::extractToolText(QByteArrayView body)
{
    if (auto text = textOfEnvelope(body))
        return text;

    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(body);
    if (decoder.hasError())
        return std::nullopt;

    // Server-sent events: each event's envelope sits on its own "data:" line.
    const QStringView all(text);
    qsizetype start = 0;
    while (start <= all.size()) {
        qsizetype end = start;
        while (end < all.size() && !isLineBreak(all[end].unicode()))
            ++end;
        const QStringView line = all.sliced(start, end - start);
        if (line.startsWith(u"data:")) {
            if (auto found = textOfEnvelope(trimBlanks(line.sliced(5)).toUtf8()))
                return found;
        }
        start = end + 1;
    }
    return std::nullopt;
}

} // namespace tolvane
