#include "app/panels/GoldSpentViewModel.h"

#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

GoldSpentViewModel::GoldSpentViewModel(QObject* parent)
    : GoldSpentViewModel(LiveClientDataClient(), std::make_shared<SharedCatalogs>(), parent)
{
}

GoldSpentViewModel::GoldSpentViewModel(
    LiveClientDataClient client, std::shared_ptr<SharedCatalogs> catalogs, QObject* parent)
    : SnapshotViewModel(std::move(client), pollIntervalMs, parent)
    , catalogs_(std::move(catalogs))
{
}

GoldSpentViewModel::~GoldSpentViewModel() = default;

QCoro::Task<void> GoldSpentViewModel::prepare()
{
    loadCatalog(QPointer<GoldSpentViewModel>(this), catalogs_);
    co_return;
}

QCoro::Task<void> GoldSpentViewModel::loadCatalog(
    QPointer<GoldSpentViewModel> self, std::shared_ptr<SharedCatalogs> catalogs)
{
    const ItemCatalog catalog = co_await catalogs->items();
    if (!self)
        co_return;
    // Between two polls, never inside one: both run on this thread.
    self->tracker_ = GoldSpentTracker::fromCatalog(catalog);
}

QCoro::Task<void> GoldSpentViewModel::follow(std::optional<AllGameData> data)
{
    handle(data);
    co_return;
}

void GoldSpentViewModel::handle(const std::optional<AllGameData>& snapshot)
{
    if (!snapshot) {
        publish(summary_, std::nullopt);
        publish(matchup_, std::nullopt);
        publish(gameMode_, MetaModeRoute::summonersRift());
        notify();
        return;
    }
    if (!summaryScratch_)
        summaryScratch_.emplace();
    tracker_.summarizeInto(snapshot->allPlayers, *summaryScratch_);
    publishExchange(summary_, summaryScratch_);
    ResolvedSelf::refresh(you_, *snapshot);
    if (you_)
        publish(matchup_, tracker_.laneMatchup(*you_, snapshot->allPlayers));
    else
        publish(matchup_, std::nullopt);
    publish(gameMode_, resolveMetaMode(snapshot->gameData.gameMode, snapshot->gameData.mapNumber));
    notify();
}

void GoldSpentViewModel::setSummary(std::optional<GoldSpentTracker::Summary> value)
{
    publish(summary_, std::move(value));
    notify();
}

void GoldSpentViewModel::setMatchup(std::optional<GoldSpentTracker::LaneMatchup> value)
{
    publish(matchup_, std::move(value));
    notify();
}

void GoldSpentViewModel::setGameMode(MetaModeRoute value)
{
    publish(gameMode_, std::move(value));
    notify();
}

} // namespace tolvane
