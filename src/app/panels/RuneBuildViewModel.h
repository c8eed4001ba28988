#pragma once
// The model behind the popular-build panel: follows the Live Client snapshot once a second, finds
// the local player, the game mode and a guessed lane, and asks the statistics service for the
// champion's popular build once per champion and match (at most every 15 s while it has none).

#include "app/panels/SharedCatalogs.h"
#include "app/panels/SnapshotViewModel.h"
#include "core/advice/MetaBuild.h"
#include "core/advice/MetaBuildProvider.h"
#include "core/knowledge/ResolvedSelf.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

class RuneBuildViewModel : public SnapshotViewModel {
    Q_OBJECT
public:
    // Monotonic, so that a change of the system time cannot lift or extend the request spacing.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds requestSpacing {15000};
    static constexpr uint64_t pollIntervalMs = 1000;

    explicit RuneBuildViewModel(std::shared_ptr<MetaBuildProvider> provider,
        LiveClientDataClient client = LiveClientDataClient(),
        std::shared_ptr<SharedCatalogs> catalogs = std::make_shared<SharedCatalogs>(),
        Clock clock = std::chrono::steady_clock::now, QObject* parent = nullptr);
    ~RuneBuildViewModel() override;

    // The last answer for the current champion, or why there is none.
    const std::optional<MetaBuildAdvice>& advice() const { return advice_; }
    bool inGame() const { return inGame_; }
    // Data Dragon version of the champion catalog, for item images; "" until loaded.
    const QString& version() const { return version_; }
    const ItemIDSet& owned() const { return owned_; }
    const ItemCatalog& itemCatalog() const { return itemCatalog_; }
    void setItemCatalog(ItemCatalog catalog);

    // What to ask the service: the snapshot's champion name, unchanged, and the query.
    struct Request {
        QString champion;
        MetaQuery query;
    };

    // One poll result: a snapshot, or nothing when no game answered. Awaits the service when it
    // asks it, so the caller handles one result at a time.
    QCoro::Task<void> handle(std::optional<AllGameData> data);
    // What a snapshot changes before any service is asked (observers are told by the caller).
    // Gives the request to make when one is due, and counts it as started.
    std::optional<Request> update(const AllGameData& data);

protected:
    // Waits for the champion catalog: no snapshot is handled before it.
    QCoro::Task<void> prepare() override;
    QCoro::Task<void> follow(std::optional<AllGameData> data) override { return handle(std::move(data)); }

private:
    friend struct RuneBuildViewModelProbe; // tests set single values

    void setAdvice(std::optional<MetaBuildAdvice> advice);
    void setInGame(bool inGame);
    void setVersion(QString version);
    void setOwned(const ItemIDSet& owned);

    std::optional<MetaBuildAdvice> advice_;
    bool inGame_ = false;
    QString version_;
    ItemIDSet owned_;
    ItemCatalog itemCatalog_;

    std::shared_ptr<MetaBuildProvider> provider_;
    std::shared_ptr<SharedCatalogs> catalogs_;
    ChampionCatalog catalog_;
    std::optional<QString> builtChampion_; // the champion whose answer is final
    std::optional<ResolvedSelf> me_;
    std::optional<std::chrono::steady_clock::time_point> lastAttempt_;
    Clock clock_;
};

} // namespace tolvane
