#pragma once
// An in-process stand-in for the statistics service: answers every tool call with a given text
// (or failure body) and keeps the calls, for the cases the SDK peer cannot produce.

#include "core/advice/MetrionMCPClient.h"

#include "TestHttpServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <optional>

namespace tolvane::test {

inline TestResponse toolReply(const QString& text)
{
    QJsonObject item {{QStringLiteral("type"), QStringLiteral("text")}, {QStringLiteral("text"), text}};
    QJsonObject result {{QStringLiteral("content"), QJsonArray {item}}};
    QJsonObject envelope {{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), 1},
        {QStringLiteral("result"), result}};
    return TestResponse::json(QJsonDocument(envelope).toJson(QJsonDocument::Compact));
}

inline TestResponse errorReply()
{
    return TestResponse::json(R"({"jsonrpc":"2.0","id":1,"error":{"code":-32603,"message":"internal"}})");
}

class FakeMetrion {
public:
    explicit FakeMetrion(TestResponse response = errorReply())
        : server_([this](const TestRequest&) { return response_; })
        , response_(std::move(response))
    {
    }

    void answer(TestResponse response) { response_ = std::move(response); }
    void answerText(const QString& text) { response_ = toolReply(text); }

    std::shared_ptr<MetrionMCPClient> client() const
    {
        return std::make_shared<MetrionMCPClient>(server_.url(QStringLiteral("/mcp")));
    }

    int callCount() const { return static_cast<int>(server_.requests().size()); }
    // The "params" of the last call: {"name", "arguments"}.
    QJsonObject lastCall() const
    {
        if (server_.requests().isEmpty())
            return {};
        return QJsonDocument::fromJson(server_.requests().back().body).object().value(u"params").toObject();
    }

private:
    TestHttpServer server_;
    TestResponse response_;
};

} // namespace tolvane::test
