// Reading the statistics service's champion-analysis reply: a reply as long as the service's,
// every record of the notation filled (items, situational slots, runes, weak counters and counters).

#include "core/advice/MetrionDSLParser.h"
#include "core/advice/MetrionMCPClient.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

QString analysisReply()
{
    QFile file(QStringLiteral(TOLVANE_SOURCE_DIR "/tests/mcppeer/replies/champion_analysis/AHRI.analysis.txt"));
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return QString::fromUtf8(file.readAll());
}

void BM_ParseChampionAnalysis(benchmark::State& state)
{
    const QString text = analysisReply();
    const tolvane::MetrionDSLParser parser;
    for (auto _ : state) {
        auto parsed = parser.parse(text);
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size() * 2);
    state.counters["reply_chars"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseChampionAnalysis);

// The whole read of one reply as it arrives: the event-stream envelope, then the notation.
void BM_ReadAnalysisEventStream(benchmark::State& state)
{
    const QString text = analysisReply();
    const QJsonObject item {{QStringLiteral("type"), QStringLiteral("text")}, {QStringLiteral("text"), text}};
    const QJsonObject envelope {{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), 1},
        {QStringLiteral("result"), QJsonObject {{QStringLiteral("content"), QJsonArray {item}}}}};
    const QByteArray body = "event: message\ndata: " + QJsonDocument(envelope).toJson(QJsonDocument::Compact) + "\n\n";
    const tolvane::MetrionDSLParser parser;
    for (auto _ : state) {
        auto reply = tolvane::MetrionMCPClient::extractToolText(body);
        auto parsed = parser.parse(reply.value_or(QString()));
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * body.size());
}
BENCHMARK(BM_ReadAnalysisEventStream);

} // namespace
