#include "app/panels/RuneBuildViewModel.h"

#include "core/advice/MetaQuery.h"
#include "core/knowledge/ResolvedSelf.h"
#include "core/support/Log.h"

#include <QPointer>

#include <vector>

TOLVANE_LOG_CATEGORY(lcPopularBuild, "popularbuild")

namespace tolvane {

RuneBuildViewModel::RuneBuildViewModel(std::shared_ptr<MetaBuildProvider> provider, LiveClientDataClient client,
    std::shared_ptr<SharedCatalogs> catalogs, Clock clock, QObject* parent)
    : SnapshotViewModel(std::move(client), pollIntervalMs, parent)
    , provider_(std::move(provider))
    , catalogs_(std::move(catalogs))
    , clock_(std::move(clock))
{
}

RuneBuildViewModel::~RuneBuildViewModel() = default;

QCoro::Task<void> RuneBuildViewModel::prepare()
{
    QPointer<RuneBuildViewModel> self(this);
    const std::shared_ptr<SharedCatalogs> catalogs = catalogs_;
    ChampionCatalog loaded = co_await catalogs->champions();
    if (!self)
        co_return;
    catalog_ = std::move(loaded);
    setVersion(catalog_.patch);
}

QCoro::Task<void> RuneBuildViewModel::handle(std::optional<AllGameData> data)
{
    if (!data) {
        setInGame(false);
        setAdvice(std::nullopt);
        builtChampion_.reset();
        lastAttempt_.reset();
        setOwned({});
        notify();
        co_return;
    }
    const std::optional<Request> request = update(*data);
    // What this snapshot changed shows now, not once the service has answered.
    notify();
    if (!request)
        co_return;

    QPointer<RuneBuildViewModel> self(this);
    const std::shared_ptr<MetaBuildProvider> provider = provider_;
    MetaBuildAdvice answer = co_await provider->fetch(request->champion, request->query);
    if (!self || !inGame_)
        co_return;
    const bool isBuild = std::holds_alternative<MetaBuild>(answer.result);
    setAdvice(std::move(answer));
    if (isBuild)
        builtChampion_ = request->champion;
    notify();
}

std::optional<RuneBuildViewModel::Request> RuneBuildViewModel::update(const AllGameData& data)
{
    setInGame(true);
    ResolvedSelf::refresh(me_, data);
    const std::optional<ResolvedSelf>& me = me_;
    if (!me)
        return std::nullopt;
    setOwned(me->ownedItemIDs);
    if (builtChampion_ == me->championName)
        return std::nullopt;

    const MetaModeRoute route = resolveMetaMode(data.gameData.gameMode, data.gameData.mapNumber);
    std::optional<MetaQuery> query;
    switch (route.kind) {
    case MetaModeRoute::Kind::arena:
        setAdvice(MetaBuildAdvice::unavailable(QStringLiteral("popular build: Arena not supported")));
        builtChampion_ = me->championName;
        return std::nullopt;
    case MetaModeRoute::Kind::unsupported:
        log::error(lcPopularBuild(),
            QStringLiteral("popular build: unsupported gameMode '%1' map %2")
                .arg(route.unsupportedWhat)
                .arg(data.gameData.mapNumber.value_or(-1)));
        setAdvice(MetaBuildAdvice::unavailable(
            QStringLiteral("popular build: ") + route.unsupportedWhat + QStringLiteral(" not supported")));
        builtChampion_ = me->championName;
        return std::nullopt;
    case MetaModeRoute::Kind::aram:
        query = MetaQuery::aram();
        break;
    case MetaModeRoute::Kind::summonersRift: {
        // The assigned lane is not asked for: the service is queried for the champion's usual role.
        std::vector<QString> tags;
        if (const auto it = catalog_.byName.find(me->championName); it != catalog_.byName.end())
            tags.assign(it->second.tags.begin(), it->second.tags.end());
        const MetaRole role = metaRoleInferredFromTags(tags);
        query = MetaQuery::summonersRift(role, role != MetaRole::unknown);
        break;
    }
    }

    const auto now = clock_();
    if (lastAttempt_ && now - *lastAttempt_ < requestSpacing)
        return std::nullopt;
    lastAttempt_ = now;
    return Request {me->championName, *query};
}

void RuneBuildViewModel::setAdvice(std::optional<MetaBuildAdvice> advice)
{
    publish(advice_, std::move(advice));
}

void RuneBuildViewModel::setInGame(bool inGame)
{
    publish(inGame_, inGame);
}

void RuneBuildViewModel::setVersion(QString version)
{
    publish(version_, std::move(version));
}

void RuneBuildViewModel::setOwned(const ItemIDSet& owned)
{
    // Copied only when it differs: the same set comes with nearly every poll.
    publish(owned_, owned);
}

void RuneBuildViewModel::setItemCatalog(ItemCatalog catalog)
{
    publish(itemCatalog_, std::move(catalog));
    notify();
}

} // namespace tolvane
