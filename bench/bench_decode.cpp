// The steady cost of a match: every panel decodes a snapshot several times a second.
#include "core/gameclient/AllGameData.h"

#include <QFile>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <simdjson.h>

#include <cstdlib>

namespace {

QByteArray rankedCapture()
{
    static const QByteArray bytes = [] {
        QFile f(QStringLiteral(TOLVANE_REALDATA_DIR "/allgamedata/sr_ranked_11.21_local_player.json"));
        if (!f.open(QIODevice::ReadOnly))
            std::abort();
        return f.readAll();
    }();
    return bytes;
}

// The floor: simdjson's own DOM parse of the same bytes, parser reused.
void BM_SimdjsonDomParse(benchmark::State& state)
{
    const QByteArray bytes = rankedCapture();
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element root;
        if (parser.parse(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size()).get(root))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_SimdjsonDomParse);

// What a typical implementation pays: a general-purpose DOM.
void BM_NlohmannParse(benchmark::State& state)
{
    const QByteArray bytes = rankedCapture();
    for (auto _ : state) {
        auto doc = nlohmann::json::parse(bytes.constData(), bytes.constData() + bytes.size());
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_NlohmannParse);

// Ours: the strict decode into records.
void BM_DecodeAllGameData(benchmark::State& state)
{
    const QByteArray bytes = rankedCapture();
    for (auto _ : state) {
        auto decoded = tolvane::AllGameData::decode(bytes);
        if (!decoded)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeAllGameData);

} // namespace
