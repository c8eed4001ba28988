#pragma once
// The statistics-service peer built on the official Model Context Protocol SDK (tests/mcppeer),
// run with node on 127.0.0.1 in one reply style. It echoes every tool call it receives, so tests
// can check the tool names and arguments our providers send. The test machine's setup installs
// the SDK (npm ci); a peer that cannot start fails its tests rather than skipping them.

#include "core/advice/MetrionMCPClient.h"

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>

namespace tolvane::test {

class SdkPeer {
public:
    enum class Style { json, sse };

    explicit SdkPeer(Style style);
    ~SdkPeer();

    // Empty once the peer listens; otherwise why it does not.
    QString start();
    QUrl endpoint() const;

    // The tool calls received so far ({"name", "arguments"}), waiting a moment for atLeast of them.
    QList<QJsonObject> calls(int atLeast = 0);
    void clearCalls() { calls_.clear(); }

private:
    void readOutput();

    Style style_;
    QProcess process_;
    QByteArray pending_;
    quint16 port_ = 0;
    QList<QJsonObject> calls_;
};

inline void PrintTo(SdkPeer::Style style, std::ostream* os)
{
    *os << (style == SdkPeer::Style::json ? "json" : "sse");
}

// Parameterised over both reply styles; one peer of each style per test suite.
class SdkPeerTest : public ::testing::TestWithParam<SdkPeer::Style> {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    SdkPeer& peer() { return *peers_.at(GetParam()); }
    std::shared_ptr<MetrionMCPClient> client() { return std::make_shared<MetrionMCPClient>(peer().endpoint()); }

private:
    static inline std::map<SdkPeer::Style, std::unique_ptr<SdkPeer>> peers_;
    static inline std::map<SdkPeer::Style, QString> problems_;
};

inline std::string styleName(const ::testing::TestParamInfo<SdkPeer::Style>& info)
{
    return info.param == SdkPeer::Style::json ? "json" : "sse";
}

#define TOLVANE_BOTH_REPLY_STYLES(suite)                                                                               \
    INSTANTIATE_TEST_SUITE_P(                                                                                          \
        SdkPeer, suite, ::testing::Values(SdkPeer::Style::json, SdkPeer::Style::sse), ::tolvane::test::styleName)

} // namespace tolvane::test
