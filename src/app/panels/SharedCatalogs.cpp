#include "app/panels/SharedCatalogs.h"

#include "core/support/Async.h"

namespace tolvane {

namespace {

bool isComplete(const ChampionCatalog& catalog)
{
    return !catalog.byName.empty();
}

bool isComplete(const ItemCatalog& catalog)
{
    return !catalog.totalCostByID.empty();
}

} // namespace

SharedCatalogs::SharedCatalogs(QString base)
    : SharedCatalogs([loader = ChampionCatalogLoader(base)] { return loader.load(); },
        [loader = ItemCatalogLoader(base)] { return loader.load(); })
{
}

SharedCatalogs::SharedCatalogs(LoadChampions champions, LoadItems items)
    : champions_(std::make_shared<Shared<ChampionCatalog>>())
    , items_(std::make_shared<Shared<ItemCatalog>>())
{
    champions_->load = champions ? std::move(champions)
                                 : LoadChampions([loader = ChampionCatalogLoader()] { return loader.load(); });
    items_->load = items ? std::move(items) : LoadItems([loader = ItemCatalogLoader()] { return loader.load(); });
}

std::shared_ptr<SharedCatalogs> SharedCatalogs::fixed(ChampionCatalog champions, ItemCatalog items)
{
    return std::make_shared<SharedCatalogs>(
        [champions = std::move(champions)]() -> QCoro::Task<ChampionCatalog> { co_return champions; },
        [items = std::move(items)]() -> QCoro::Task<ItemCatalog> { co_return items; });
}

QCoro::Task<ChampionCatalog> SharedCatalogs::champions()
{
    return get(champions_);
}

QCoro::Task<ItemCatalog> SharedCatalogs::items()
{
    return get(items_);
}

template <class T> QCoro::Task<T> SharedCatalogs::get(std::shared_ptr<Shared<T>> shared)
{
    // A copy for each asker: QCoro's co_return moves from any non-const lvalue it is given, which
    // would hand the kept catalog to this asker and an emptied one to every asker after it.
    if (shared->kept)
        co_return T(*shared->kept);
    if (!shared->loading)
        run(shared); // may settle at once
    if (shared->loading)
        co_await signalOrDestroyed(&shared->notifier, &CatalogLoadNotifier::settled);
    co_return shared->kept ? *shared->kept : shared->failed.value_or(T {});
}

template <class T> QCoro::Task<void> SharedCatalogs::run(std::shared_ptr<Shared<T>> shared)
{
    shared->loading = true;
    ++shared->loads;
    const std::function<QCoro::Task<T>()> load = shared->load; // the closure outlives the load
    T catalog = co_await load();
    shared->loading = false;
    if (isComplete(catalog))
        shared->kept = std::move(catalog);
    else
        shared->failed = std::move(catalog);
    emit shared->notifier.settled();
}

} // namespace tolvane
