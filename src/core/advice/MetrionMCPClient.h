#pragma once
// The only way to the statistics service Metrion: each use of one of its tools is one stateless
// JSON-RPC "tools/call" POST to its Model Context Protocol endpoint (no handshake, no session, no
// retry, no cache). The tool's text comes back as one string, or as nothing for any failure.

#include "core/support/HttpSession.h"
#include "core/support/Json.h"

#include <QByteArrayView>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

#include <QCoroTask>

namespace tolvane {

// The service's MCP endpoint, fixed by the build (TOLVANE_METRION_ENDPOINT); not configurable at
// run time. Tests hand the client a loopback one.
inline constexpr char metrionEndpointAddress[] = TOLVANE_METRION_ENDPOINT;

class MetrionMCPClient {
public:
    // One reply envelope; "jsonrpc" and "id" are not read (every request has id 1).
    struct RPCResponse {
        struct Result {
            struct Content {
                QString type;
                std::optional<QString> text;
                bool operator==(const Content&) const = default;
            };
            std::optional<std::vector<Content>> content;
            bool operator==(const Result&) const = default;
        };
        struct RPCError {
            QString message; // decoded, never shown or logged
            bool operator==(const RPCError&) const = default;
        };

        std::optional<Result> result;
        std::optional<RPCError> error;

        // The text items of the result joined by line feeds; nothing with an error or no text.
        std::optional<QString> toolText() const;

        static json::Decoded<RPCResponse> decode(QByteArrayView bytes);
        bool operator==(const RPCResponse&) const = default;
    };

    static QUrl defaultEndpoint();

    MetrionMCPClient();
    explicit MetrionMCPClient(QUrl endpoint, HttpTimeouts timeouts = HttpTimeouts::remoteService());

    MetrionMCPClient(const MetrionMCPClient&) = delete;
    MetrionMCPClient& operator=(const MetrionMCPClient&) = delete;

    // The tool's text, or nothing when no usable text came back, for whatever reason. The call
    // keeps running to its end even when the client is destroyed meanwhile.
    QCoro::Task<std::optional<QString>> callTool(QString name, QJsonObject arguments) const;

    // Reads a whole reply body: one JSON envelope, or server-sent events whose "data:" lines
    // each hold one envelope (the first with text wins).
    static std::optional<QString> extractToolText(QByteArrayView body);

private:
    static QCoro::Task<std::optional<QString>> send(
        std::shared_ptr<HttpSession> session, QUrl endpoint, QByteArray body);

    std::shared_ptr<HttpSession> session_;
    QUrl endpoint_;
};

} // namespace tolvane
