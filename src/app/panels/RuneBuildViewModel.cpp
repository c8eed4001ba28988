#include "app/panels/RuneBuildViewModel.h"

#include "app/panels/SnapshotLoop.h"
#include "core/advice/MetaQuery.h"
#include "core/knowledge/ResolvedSelf.h"
#include "core/support/Log.h"

#include <QPointer>

#include <vector>

TOLVANE_LOG_CATEGORY(lcPopularBuild, "popularbuild")

namespace tolvane {

RuneBuildViewModel::RuneBuildViewModel(std::shared_ptr<MetaBuildProvider> provider, LiveClientDataClient client,
    ChampionCatalogLoader champLoader, Clock clock, QObject* parent)
    : QObject(parent)
    , client_(std::move(client))
    , provider_(std::move(provider))
    , champLoader_(std::move(champLoader))
    , clock_(std::move(clock))
{
}

RuneBuildViewModel::~RuneBuildViewModel() = default;

void RuneBuildViewModel::start()
{
    if (started_)
        return;
    started_ = true;
    run();
}

QCoro::Task<void> RuneBuildViewModel::run()
{
    QPointer<RuneBuildViewModel> self(this);
    const ChampionCatalogLoader loader = champLoader_; // outlives the model while loading
    ChampionCatalog loaded = co_await loader.load();
    if (!self)
        co_return;
    catalog_ = std::move(loaded);
    setVersion(catalog_.patch);

    stream_ = client_.stream(pollIntervalMs);
    co_await followSnapshots(self, stream_.get(), &RuneBuildViewModel::handle);
}

QCoro::Task<void> RuneBuildViewModel::handle(std::optional<AllGameData> data)
{
    if (!data) {
        setInGame(false);
        setAdvice(std::nullopt);
        builtChampion_.reset();
        lastAttempt_.reset();
        setOwned({});
        co_return;
    }
    setInGame(true);
    const std::optional<ResolvedSelf> me = ResolvedSelf::resolve(*data);
    if (!me)
        co_return;
    setOwned(me->ownedItemIDs);
    if (builtChampion_ == me->championName)
        co_return;

    const MetaModeRoute route = resolveMetaMode(data->gameData.gameMode, data->gameData.mapNumber);
    std::optional<MetaQuery> query;
    switch (route.kind) {
    case MetaModeRoute::Kind::arena:
        setAdvice(MetaBuildAdvice::unavailable(QStringLiteral("popular build: Arena not supported")));
        builtChampion_ = me->championName;
        co_return;
    case MetaModeRoute::Kind::unsupported:
        log::error(lcPopularBuild(),
            QStringLiteral("popular build: unsupported gameMode '%1' map %2")
                .arg(route.unsupportedWhat)
                .arg(data->gameData.mapNumber.value_or(-1)));
        setAdvice(MetaBuildAdvice::unavailable(
            QStringLiteral("popular build: ") + route.unsupportedWhat + QStringLiteral(" not supported")));
        builtChampion_ = me->championName;
        co_return;
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
        co_return;
    lastAttempt_ = now;

    QPointer<RuneBuildViewModel> self(this);
    const std::shared_ptr<MetaBuildProvider> provider = provider_;
    const QString champion = me->championName;
    MetaBuildAdvice answer = co_await provider->fetch(champion, *query);
    if (!self || !inGame_)
        co_return;
    const bool isBuild = std::holds_alternative<MetaBuild>(answer.result);
    setAdvice(std::move(answer));
    if (isBuild)
        builtChampion_ = champion;
}

void RuneBuildViewModel::setAdvice(std::optional<MetaBuildAdvice> advice)
{
    advice_ = std::move(advice);
    emit changed();
}

void RuneBuildViewModel::setInGame(bool inGame)
{
    inGame_ = inGame;
    emit changed();
}

void RuneBuildViewModel::setVersion(QString version)
{
    version_ = std::move(version);
    emit changed();
}

void RuneBuildViewModel::setOwned(ItemIDSet owned)
{
    owned_ = std::move(owned);
    emit changed();
}

void RuneBuildViewModel::setItemCatalog(ItemCatalog catalog)
{
    itemCatalog_ = std::move(catalog);
    emit changed();
}

} // namespace tolvane
