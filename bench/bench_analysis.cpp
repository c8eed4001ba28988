// The per-snapshot analysis the overlay panels run on every poll (local player, gold summary,
// lane matchup, counter shortlist), decoding excluded; compare with BM_DecodeAllGameData.
#include "core/gameclient/AllGameData.h"
#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/CounterBuildEngine.h"
#include "core/knowledge/CounterRules.h"
#include "core/knowledge/GoldSpentTracker.h"
#include "core/knowledge/ItemCatalog.h"
#include "core/knowledge/ResolvedSelf.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

QByteArray realFile(const char* path)
{
    QFile f(QStringLiteral(TOLVANE_REALDATA_DIR "/") + QString::fromLatin1(path));
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

struct Inputs {
    tolvane::AllGameData game;
    tolvane::ItemCatalog items;
    tolvane::ChampionCatalog champions;
    tolvane::CounterRules rules;
};

const Inputs& inputs()
{
    static const Inputs in = [] {
        Inputs i;
        i.game = *tolvane::AllGameData::decode(realFile("allgamedata/sr_ranked_11.21_local_player.json")).value;
        i.items = *tolvane::ItemCatalog::decode(realFile("ddragon/15.4.1/data/en_US/item.json")).value;
        i.champions = *tolvane::ChampionCatalog::decode(
            realFile("ddragon/15.4.1/data/en_US/champion.json"), QStringLiteral("15.4.1"))
                           .value;
        // The shipped table, read from the source tree so the program needs no installed bundle.
        QFile rules(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/Tolvane_TolvaneCore.bundle/counter-rules.json"));
        if (!rules.open(QIODevice::ReadOnly))
            std::abort();
        i.rules = *tolvane::CounterRules::decode(rules.readAll()).value;
        return i;
    }();
    return in;
}

void BM_AnalyseSnapshot(benchmark::State& state)
{
    const Inputs& in = inputs();
    const tolvane::GoldSpentTracker tracker = tolvane::GoldSpentTracker::fromCatalog(in.items);
    const tolvane::CounterBuildEngine engine;
    for (auto _ : state) {
        const auto self = tolvane::ResolvedSelf::resolve(in.game);
        auto summary = tracker.summarize(in.game.allPlayers);
        auto matchup = tracker.laneMatchup(*self, in.game.allPlayers);
        auto advice = engine.recommend(in.game.allPlayers, self, in.champions, in.rules, in.game.gameData.gameMode);
        if (!advice.shortlist.isItems() || !matchup.hasLaner())
            state.SkipWithError("unexpected analysis");
        benchmark::DoNotOptimize(summary);
        benchmark::DoNotOptimize(matchup);
        benchmark::DoNotOptimize(advice);
    }
}
BENCHMARK(BM_AnalyseSnapshot);

} // namespace
