#pragma once
// The model behind the popular-build panel: follows the Live Client snapshot once a second, finds
// the local player, the game mode and a guessed lane, and asks the statistics service for the
// champion's popular build once per champion and match (at most every 15 s while it has none).

#include "core/advice/MetaBuild.h"
#include "core/advice/MetaBuildProvider.h"
#include "core/gameclient/LiveClientDataClient.h"
#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/ItemCatalog.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

class RuneBuildViewModel : public QObject {
    Q_OBJECT
public:
    // Monotonic, so that a change of the system time cannot lift or extend the request spacing.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds requestSpacing {15000};
    static constexpr uint64_t pollIntervalMs = 1000;

    explicit RuneBuildViewModel(std::shared_ptr<MetaBuildProvider> provider,
        LiveClientDataClient client = LiveClientDataClient(),
        ChampionCatalogLoader champLoader = ChampionCatalogLoader(), Clock clock = std::chrono::steady_clock::now,
        QObject* parent = nullptr);
    ~RuneBuildViewModel() override;

    // Loads the champion catalog, then follows the snapshots until the model is destroyed. Once.
    void start();

    // The last answer for the current champion, or why there is none.
    const std::optional<MetaBuildAdvice>& advice() const { return advice_; }
    bool inGame() const { return inGame_; }
    // Data Dragon version of the champion catalog, for item images; "" until loaded.
    const QString& version() const { return version_; }
    const ItemIDSet& owned() const { return owned_; }
    const ItemCatalog& itemCatalog() const { return itemCatalog_; }
    void setItemCatalog(ItemCatalog catalog);

signals:
    // Any published value was assigned, also to what it already held.
    void changed();

private:
    friend struct RuneBuildViewModelProbe; // tests hand in single snapshots

    QCoro::Task<void> run();
    QCoro::Task<void> handle(std::optional<AllGameData> data);

    void setAdvice(std::optional<MetaBuildAdvice> advice);
    void setInGame(bool inGame);
    void setVersion(QString version);
    void setOwned(ItemIDSet owned);

    std::optional<MetaBuildAdvice> advice_;
    bool inGame_ = false;
    QString version_;
    ItemIDSet owned_;
    ItemCatalog itemCatalog_;

    LiveClientDataClient client_;
    std::shared_ptr<MetaBuildProvider> provider_;
    ChampionCatalogLoader champLoader_;
    ChampionCatalog catalog_;
    std::optional<QString> builtChampion_; // the champion whose answer is final
    std::optional<std::chrono::steady_clock::time_point> lastAttempt_;
    Clock clock_;
    std::unique_ptr<LiveSnapshotStream> stream_;
    bool started_ = false;
};

} // namespace tolvane
