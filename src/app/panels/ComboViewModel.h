#pragma once
// The combo panel's state: the statistics service's popular skill combos of the champion the
// player is on, asked once per champion and match, and only in Summoner's Rift games.

#include "app/panels/SharedCatalogs.h"
#include "app/panels/SnapshotViewModel.h"
#include "core/advice/MetrionComboProvider.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tolvane {

class ComboViewModel : public SnapshotViewModel {
    Q_OBJECT
public:
    // The time the request spacing is measured in; tests move it by hand.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The shortest time between two requests while the service gives no answer.
    static constexpr std::chrono::seconds retrySpacing {15};
    static constexpr uint64_t pollIntervalMs = 2000;

    explicit ComboViewModel(std::shared_ptr<ComboProvider> provider,
        LiveClientDataClient client = LiveClientDataClient(),
        std::shared_ptr<SharedCatalogs> catalogs = std::make_shared<SharedCatalogs>(), Clock clock = {},
        QObject* parent = nullptr);
    ~ComboViewModel() override;

    // The catalog whose class tags stand in for an unknown lane; start() waits for it.
    QCoro::Task<void> loadCatalog();
    // What to ask the service: the champion and its role in Summoner's Rift.
    struct Request {
        QString champion;
        MetaRole role = MetaRole::unknown;
    };

    // One poll result: a snapshot, or nothing when no game answered. Awaits the service when it
    // asks it, so the caller handles one result at a time.
    QCoro::Task<void> handle(std::optional<AllGameData> data);
    // What a snapshot changes before any service is asked (observers are told by the caller).
    // Gives the request to make when one is due, and counts it as started.
    std::optional<Request> update(const AllGameData& data);

    // Absent when there is nothing to show.
    const std::optional<std::vector<ChampionCombo>>& combos() const { return combos_; }
    // The champion the published combos belong to.
    const std::optional<QString>& champion() const { return champion_; }
    // The last poll returned a snapshot.
    bool inGame() const { return inGame_; }

protected:
    QCoro::Task<void> prepare() override { return loadCatalog(); }
    QCoro::Task<void> follow(std::optional<AllGameData> data) override { return handle(std::move(data)); }

private:
    std::optional<std::vector<ChampionCombo>> combos_;
    std::optional<QString> champion_;
    bool inGame_ = false;

    std::shared_ptr<ComboProvider> provider_;
    std::shared_ptr<SharedCatalogs> catalogs_;
    ChampionCatalog catalog_ = ChampionCatalog::empty();
    Clock clock_;
    // The champion whose answer was taken (or that needs none in this mode).
    std::optional<QString> fetchedChampion_;
    std::optional<std::chrono::steady_clock::time_point> lastAttempt_;
};

} // namespace tolvane
