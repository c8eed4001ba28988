#pragma once
// The combo panel's state: the statistics service's popular skill combos of the champion the
// player is on, asked once per champion and match, and only in Summoner's Rift games.

#include "core/advice/MetrionComboProvider.h"
#include "core/gameclient/AllGameData.h"
#include "core/gameclient/LiveClientDataClient.h"
#include "core/knowledge/ChampionCatalog.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QCoroTask>

namespace tolvane {

class ComboViewModel : public QObject {
    Q_OBJECT
public:
    // The time the request spacing is measured in; tests move it by hand.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The shortest time between two requests while the service gives no answer.
    static constexpr std::chrono::seconds retrySpacing {15};

    explicit ComboViewModel(std::shared_ptr<ComboProvider> provider,
        LiveClientDataClient client = LiveClientDataClient(),
        ChampionCatalogLoader champLoader = ChampionCatalogLoader(), Clock clock = {}, QObject* parent = nullptr);
    ~ComboViewModel() override;

    // Loads the champion catalog once, then follows the snapshots every 2 s for as long as the
    // view model lives. Called once.
    void start();
    // The first half of start(): the catalog whose class tags stand in for an unknown lane.
    QCoro::Task<void> loadCatalog();
    // One poll result: a snapshot, or nothing when no game answered. Awaits the service when it
    // asks it, so the caller handles one result at a time.
    QCoro::Task<void> handle(std::optional<AllGameData> data);

    // Absent when there is nothing to show.
    const std::optional<std::vector<ChampionCombo>>& combos() const { return combos_; }
    // The champion the published combos belong to.
    const std::optional<QString>& champion() const { return champion_; }
    // The last poll returned a snapshot.
    bool inGame() const { return inGame_; }

signals:
    // Any published value was assigned, also to the value it had.
    void changed();

private:
    static QCoro::Task<void> run(QPointer<ComboViewModel> self);

    void setCombos(std::optional<std::vector<ChampionCombo>> combos);
    void setChampion(std::optional<QString> champion);
    void setInGame(bool inGame);

    std::optional<std::vector<ChampionCombo>> combos_;
    std::optional<QString> champion_;
    bool inGame_ = false;

    LiveClientDataClient client_;
    std::shared_ptr<ComboProvider> provider_;
    ChampionCatalogLoader champLoader_;
    ChampionCatalog catalog_ = ChampionCatalog::empty();
    Clock clock_;
    // The champion whose answer was taken (or that needs none in this mode).
    std::optional<QString> fetchedChampion_;
    std::optional<std::chrono::steady_clock::time_point> lastAttempt_;
    // Owned here so that destroying the view model stops the polling.
    std::unique_ptr<LiveSnapshotStream> stream_;
    bool started_ = false;
};

} // namespace tolvane
