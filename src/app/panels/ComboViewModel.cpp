#include "app/panels/ComboViewModel.h"

#include "core/advice/MetaQuery.h"
#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

ComboViewModel::ComboViewModel(std::shared_ptr<ComboProvider> provider, LiveClientDataClient client,
    std::shared_ptr<SharedCatalogs> catalogs, Clock clock, QObject* parent)
    : SnapshotViewModel(std::move(client), pollIntervalMs, parent)
    , provider_(std::move(provider))
    , catalogs_(std::move(catalogs))
    , clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); }))
{
}

ComboViewModel::~ComboViewModel() = default;

QCoro::Task<void> ComboViewModel::loadCatalog()
{
    const QPointer<ComboViewModel> self(this);
    const std::shared_ptr<SharedCatalogs> catalogs = catalogs_;
    ChampionCatalog catalog = co_await catalogs->champions();
    if (!self)
        co_return;
    catalog_ = std::move(catalog);
}

QCoro::Task<void> ComboViewModel::handle(std::optional<AllGameData> data)
{
    if (!data) {
        publish(inGame_, false);
        publish(combos_, std::nullopt);
        publish(champion_, std::nullopt);
        fetchedChampion_.reset();
        lastAttempt_.reset();
        notify();
        co_return;
    }
    const std::optional<Request> request = update(*data);
    // What this snapshot changed shows now, not once the service has answered.
    notify();
    if (!request)
        co_return;

    const QPointer<ComboViewModel> self(this);
    // Held here so that the call may outlive the view model.
    const std::shared_ptr<ComboProvider> provider = provider_;
    std::optional<std::vector<ChampionCombo>> answer
        = co_await provider->fetchCombos(request->champion, MetaQuery::summonersRift(request->role, false));
    if (!self || !inGame_)
        co_return;
    // No answer: asked again once the spacing has passed.
    if (!answer)
        co_return;
    publish(combos_, std::move(answer));
    publish(champion_, request->champion);
    fetchedChampion_ = request->champion;
    notify();
}

std::optional<ComboViewModel::Request> ComboViewModel::update(const AllGameData& data)
{
    publish(inGame_, true);
    const LivePlayer* you = ResolvedSelf::find(data);
    if (!you || fetchedChampion_ == you->championName)
        return std::nullopt;
    const QString& name = you->championName;

    if (resolveMetaMode(data.gameData.gameMode, data.gameData.mapNumber).kind != MetaModeRoute::Kind::summonersRift) {
        // Combos are a lane matter: no request in any other mode for the rest of the match.
        publish(combos_, std::nullopt);
        publish(champion_, name);
        fetchedChampion_ = name;
        return std::nullopt;
    }

    MetaRole role = metaRoleFromLivePosition(you->position);
    if (role == MetaRole::unknown) {
        if (const auto found = catalog_.byName.find(name); found != catalog_.byName.end())
            role = metaRoleInferredFromTags(std::vector<QString>(found->second.tags.begin(), found->second.tags.end()));
    }
    if (role == MetaRole::unknown)
        return std::nullopt;

    const auto now = clock_();
    if (lastAttempt_ && now - *lastAttempt_ < retrySpacing)
        return std::nullopt;
    lastAttempt_ = now;
    return Request {name, role};
}

} // namespace tolvane
