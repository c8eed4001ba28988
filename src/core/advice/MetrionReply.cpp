#include "core/advice/MetrionMCPClient.h"

#include "core/support/Text.h"

#include <QStringDecoder>

// Reading reply bodies: kept apart from the transport, as it is pure and fuzzed on its own.

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

// Event streams end their lines with CR, LF or CR LF only. A JSON writer leaves U+2028, U+2029
// and U+0085 raw inside strings, so breaking there would cut an envelope apart.
bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r';
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
