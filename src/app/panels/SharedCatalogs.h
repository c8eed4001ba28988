#pragma once
// The Data Dragon catalogs the application's models share: each is fetched once per launch, by
// the first model that asks, and every other asker waits for that same load. A failed load
// (the empty catalog) is handed to everyone waiting but not kept, so a later asker tries again.

#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/ItemCatalog.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

// Tells the waiters of one load that it is over.
class CatalogLoadNotifier : public QObject {
    Q_OBJECT
signals:
    void settled();
};

class SharedCatalogs {
public:
    using LoadChampions = std::function<QCoro::Task<ChampionCatalog>()>;
    using LoadItems = std::function<QCoro::Task<ItemCatalog>()>;

    // Data Dragon's newest data at base.
    explicit SharedCatalogs(QString base = ddragonDefaultBase());
    // Other sources; an empty function reads Data Dragon's newest data.
    SharedCatalogs(LoadChampions champions, LoadItems items);
    // Catalogs known from the start: nothing is fetched.
    static std::shared_ptr<SharedCatalogs> fixed(ChampionCatalog champions, ItemCatalog items = {});

    QCoro::Task<ChampionCatalog> champions();
    QCoro::Task<ItemCatalog> items();

    // Loads started so far, for each catalog.
    int championLoads() const { return champions_->loads; }
    int itemLoads() const { return items_->loads; }

private:
    template <class T> struct Shared {
        std::function<QCoro::Task<T>()> load;
        std::optional<T> kept; // a complete catalog, once one arrived
        std::optional<T> failed; // what the last failed load gave its waiters
        bool loading = false;
        int loads = 0;
        CatalogLoadNotifier notifier;
    };

    template <class T> static QCoro::Task<T> get(std::shared_ptr<Shared<T>> shared);
    template <class T> static QCoro::Task<void> run(std::shared_ptr<Shared<T>> shared);

    // Shared with the loads in flight, which may outlive this object.
    std::shared_ptr<Shared<ChampionCatalog>> champions_;
    std::shared_ptr<Shared<ItemCatalog>> items_;
};

} // namespace tolvane
