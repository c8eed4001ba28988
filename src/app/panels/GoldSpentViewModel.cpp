#include "app/panels/GoldSpentViewModel.h"

#include "app/panels/SnapshotLoop.h"
#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

GoldSpentViewModel::GoldSpentViewModel(QObject* parent)
    : GoldSpentViewModel(LiveClientDataClient(), ItemCatalogLoader(), parent)
{
}

GoldSpentViewModel::GoldSpentViewModel(LiveClientDataClient client, ItemCatalogLoader loader, QObject* parent)
    : QObject(parent)
    , client_(std::move(client))
    , loader_(std::move(loader))
{
}

GoldSpentViewModel::~GoldSpentViewModel()
{
    if (stream_)
        stream_->cancel();
}

void GoldSpentViewModel::start()
{
    if (started_)
        return;
    started_ = true;
    // Neither waits for the other: snapshots before the catalog are priced as the game reports.
    loadCatalog(QPointer<GoldSpentViewModel>(this), loader_);
    stream_ = client_.stream(pollIntervalMs);
    poll(QPointer<GoldSpentViewModel>(this));
}

QCoro::Task<void> GoldSpentViewModel::loadCatalog(QPointer<GoldSpentViewModel> self, ItemCatalogLoader loader)
{
    const ItemCatalog catalog = co_await loader.load();
    if (!self)
        co_return;
    // Between two polls, never inside one: both run on this thread.
    self->tracker_ = GoldSpentTracker::fromCatalog(catalog);
}

QCoro::Task<void> GoldSpentViewModel::poll(QPointer<GoldSpentViewModel> self)
{
    if (self)
        co_await followSnapshots(self, self->stream_.get(), &GoldSpentViewModel::handle);
}

void GoldSpentViewModel::handle(const std::optional<AllGameData>& snapshot)
{
    if (!snapshot) {
        setSummary(std::nullopt);
        setMatchup(std::nullopt);
        setGameMode(MetaModeRoute::summonersRift());
        return;
    }
    setSummary(tracker_.summarize(snapshot->allPlayers));
    if (const std::optional<ResolvedSelf> you = ResolvedSelf::resolve(*snapshot))
        setMatchup(tracker_.laneMatchup(*you, snapshot->allPlayers));
    else
        setMatchup(std::nullopt);
    setGameMode(resolveMetaMode(snapshot->gameData.gameMode, snapshot->gameData.mapNumber));
}

void GoldSpentViewModel::setSummary(std::optional<GoldSpentTracker::Summary> value)
{
    summary_ = std::move(value);
    emit changed();
}

void GoldSpentViewModel::setMatchup(std::optional<GoldSpentTracker::LaneMatchup> value)
{
    matchup_ = std::move(value);
    emit changed();
}

void GoldSpentViewModel::setGameMode(MetaModeRoute value)
{
    gameMode_ = std::move(value);
    emit changed();
}

} // namespace tolvane
