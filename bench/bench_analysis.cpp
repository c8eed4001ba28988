// What the six overlay panels do with one poll result, decoding excluded: each view model's own
// per-snapshot step (gold summary and lane matchup; the counter-build advice with both teams'
// threat profiles and the lane opponent; the popular-build and combo checks; the cooldown rows
// with a countdown running; the farm readout), including telling their views only of real
// changes. The polls are those of a match in progress, half a second apart, so the models that
// work something out only when the line-up changes do not. Each panel decodes its own snapshot
// once per poll: one iteration here should stay under a tenth of BM_DecodeAllGameData.
#include "app/panels/ComboViewModel.h"
#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/CounterBuildViewModel.h"
#include "app/panels/FarmViewModel.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/RuneBuildViewModel.h"
#include "app/panels/SharedCatalogs.h"
#include "core/gameclient/AllGameData.h"
#include "core/knowledge/FarmBenchmark.h"
#include "core/knowledge/SummonerCooldowns.h"

#include <QFile>
#include <QLoggingCategory>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>

namespace {

using namespace tolvane;

QByteArray readOrAbort(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

QByteArray realFile(const char* path)
{
    return readOrAbort(QStringLiteral(TOLVANE_REALDATA_DIR "/") + QString::fromLatin1(path));
}

// The shipped tables, read from the source tree so the program needs no installed bundle.
QByteArray shippedTable(const char* name)
{
    return readOrAbort(
        QStringLiteral(TOLVANE_SOURCE_DIR "/resources/Tolvane_TolvaneCore.bundle/") + QString::fromLatin1(name));
}

struct Inputs {
    // Two polls half a second apart, as the panels see a running match.
    std::array<std::optional<AllGameData>, 2> polls;
    ChampionCatalog champions;
    SummonerCooldowns cooldowns;
    FarmBenchmark farm;
};

const Inputs& inputs()
{
    static const Inputs in = [] {
        // The models' network clients are made without an application object; nothing is sent.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.core.qobject.connect=false"));
        Inputs i;
        const AllGameData game = *AllGameData::decode(realFile("allgamedata/sr_ranked_11.21_local_player.json")).value;
        i.polls = {game, game};
        i.polls[1]->gameData.gameTime += 0.5;
        i.champions
            = *ChampionCatalog::decode(realFile("ddragon/15.4.1/data/en_US/champion.json"), QStringLiteral("15.4.1"))
                   .value;
        i.cooldowns = *SummonerCooldowns::decode(shippedTable("summoner-cooldowns.json")).value;
        i.farm = *FarmBenchmark::decode(shippedTable("farm-benchmark.json")).value;
        return i;
    }();
    return in;
}

// The statistics service, answering at once with a build: after the first poll the models ask
// it nothing more, as in a match once their answers are in.
class Builds final : public MetaBuildProvider, public MatchupBuildProvider, public ComboProvider {
public:
    QCoro::Task<MetaBuildAdvice> fetch(QString, MetaQuery) override
    {
        co_return MetaBuildAdvice {build(), MetaFreshness::fresh(), {}};
    }
    QCoro::Task<MatchupAdvice> fetchMatchup(QString, QString opponent, MetaRole) override
    {
        MatchupExtras extras;
        extras.opponent = opponent;
        co_return MatchupAdvice {MatchupBuild {build(), extras}, MetaFreshness::fresh(), {}};
    }
    QCoro::Task<std::optional<std::vector<ChampionCombo>>> fetchCombos(QString, MetaQuery) override
    {
        co_return std::vector<ChampionCombo> {{QStringLiteral("Q > E > W"), std::nullopt}};
    }

private:
    static MetaBuild build()
    {
        MetaBuild b;
        b.coreItems = {MetaItem {6653, QStringLiteral("Liandry's Torment")}};
        return b;
    }
};

void BM_AnalyseSnapshot(benchmark::State& state)
{
    const Inputs& in = inputs();
    const auto builds = std::make_shared<Builds>();
    const auto catalogs = SharedCatalogs::fixed(in.champions);
    // Never started: they reach no network; the poll results are handed to them here.
    const LiveClientDataClient nowhere(QUrl(), nullptr);
    GoldSpentViewModel gold(nowhere, catalogs);
    CounterBuildViewModel counter(builds, nowhere, catalogs);
    RuneBuildViewModel rune(builds, nowhere, catalogs);
    ComboViewModel combo(builds, nowhere, catalogs);
    CooldownPanelViewModel cooldowns(nowhere, catalogs, in.cooldowns);
    FarmViewModel farm(nowhere, nullptr);
    cooldowns.loadCatalog();
    combo.loadCatalog();

    // The first poll of the match: the answers come in, a countdown starts.
    counter.handle(in.polls[0]);
    rune.handle(in.polls[0]);
    combo.handle(in.polls[0]);
    cooldowns.handle(in.polls[0]);
    cooldowns.markCell(0, 0);

    size_t poll = 0;
    for (auto _ : state) {
        const std::optional<AllGameData>& result = in.polls[++poll % 2];
        const AllGameData& snapshot = *result;
        gold.handle(result);
        // The three that may ask the service: what a snapshot changes before any asking.
        benchmark::DoNotOptimize(counter.update(snapshot));
        benchmark::DoNotOptimize(rune.update(snapshot));
        benchmark::DoNotOptimize(combo.update(snapshot));
        cooldowns.handle(result);
        farm.setReadout(FarmViewModel::compute(snapshot, in.farm)); // its handle, with its schedule
    }
    if (!gold.matchup() || !counter.matchupBuild() || !counter.enemyThreat() || !rune.advice() || !combo.combos()
        || cooldowns.rows().size() != 5 || !farm.readout())
        state.SkipWithError("unexpected analysis");
}
BENCHMARK(BM_AnalyseSnapshot);

} // namespace
