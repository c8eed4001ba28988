#include "app/panels/FarmViewModel.h"

#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

FarmViewModel::FarmViewModel(QObject* parent)
    : FarmViewModel(
        LiveClientDataClient(), [] { return FarmBenchmarkLoader().load(); }, parent)
{
}

FarmViewModel::FarmViewModel(LiveClientDataClient client, BenchmarkLoad loadBenchmark, QObject* parent)
    : SnapshotViewModel(std::move(client), pollIntervalMs, parent)
    , loadBenchmark_(std::move(loadBenchmark))
{
}

FarmViewModel::~FarmViewModel() = default;

QCoro::Task<void> FarmViewModel::prepare()
{
    if (loadBenchmark_)
        bench_ = loadBenchmark_();
    co_return;
}

QCoro::Task<void> FarmViewModel::follow(std::optional<AllGameData> data)
{
    handle(data);
    co_return;
}

void FarmViewModel::handle(const std::optional<AllGameData>& snapshot)
{
    setReadout(snapshot ? compute(*snapshot, bench_) : std::nullopt);
}

void FarmViewModel::setReadout(std::optional<Readout> value)
{
    publish(readout_, std::move(value));
    notify();
}

std::optional<FarmViewModel::Readout> FarmViewModel::compute(const AllGameData& data, const FarmBenchmark& bench)
{
    const LivePlayer* you = ResolvedSelf::find(data);
    if (!you)
        return std::nullopt;
    const LivePlayer* entry = nullptr;
    for (const LivePlayer& player : data.allPlayers) {
        if (player.championName == you->championName && player.team == you->team) {
            entry = &player;
            break;
        }
    }
    if (!entry)
        return std::nullopt;

    const double t = data.gameData.gameTime;
    Readout readout;
    readout.cs = entry->scores ? entry->scores->creepScore : 0;
    readout.csPerMin = FarmBenchmark::csPerMin(readout.cs, t);
    readout.position = you->position;

    // Jungle and support have no lane schedule to measure against, nor has any other map.
    const bool rift = !data.gameData.mapNumber || *data.gameData.mapNumber == 11;
    const QString lane = you->position.value_or(QString()).toUpper();
    const bool laner
        = lane == QLatin1String("TOP") || lane == QLatin1String("MIDDLE") || lane == QLatin1String("BOTTOM");
    if (rift && laner && bench.waveInterval > 0) {
        const int64_t spawned = bench.laneCSAvailable(t);
        if (spawned >= 1)
            readout.laneAvailable = spawned;
    }
    return readout;
}

} // namespace tolvane
