#pragma once
// The gold spent panel's state: every player's gold spent on items, the team lead, the local
// player against the lane opponent, and the game-mode route, from a snapshot every 500 ms.
// summary is present exactly while the last poll brought a snapshot: the app's sign that a
// match runs.

#include "app/panels/SharedCatalogs.h"
#include "app/panels/SnapshotViewModel.h"
#include "core/advice/MetaQuery.h"
#include "core/knowledge/GoldSpentTracker.h"

#include <memory>
#include <optional>

namespace tolvane {

class GoldSpentViewModel : public SnapshotViewModel {
    Q_OBJECT
public:
    static constexpr uint64_t pollIntervalMs = 500;

    // With its own Live Client Data client and catalogs at their real addresses.
    explicit GoldSpentViewModel(QObject* parent = nullptr);
    GoldSpentViewModel(
        LiveClientDataClient client, std::shared_ptr<SharedCatalogs> catalogs, QObject* parent = nullptr);
    ~GoldSpentViewModel() override;

    const std::optional<GoldSpentTracker::Summary>& summary() const { return summary_; }
    const std::optional<GoldSpentTracker::LaneMatchup>& matchup() const { return matchup_; }
    const MetaModeRoute& gameMode() const { return gameMode_; }
    const GoldSpentTracker& tracker() const { return tracker_; }

    // Each notifies when the value differs from the one held.
    void setSummary(std::optional<GoldSpentTracker::Summary> value);
    void setMatchup(std::optional<GoldSpentTracker::LaneMatchup> value);
    void setGameMode(MetaModeRoute value);

    // One poll's result: a snapshot, or none. Notifies once when anything shown changed.
    void handle(const std::optional<AllGameData>& snapshot);

protected:
    // The item catalog's load starts here and is not waited for: snapshots before it are priced
    // as the game reports.
    QCoro::Task<void> prepare() override;
    QCoro::Task<void> follow(std::optional<AllGameData> data) override;

private:
    static QCoro::Task<void> loadCatalog(QPointer<GoldSpentViewModel> self, std::shared_ptr<SharedCatalogs> catalogs);

    std::optional<GoldSpentTracker::Summary> summary_;
    std::optional<GoldSpentTracker::LaneMatchup> matchup_;
    MetaModeRoute gameMode_ = MetaModeRoute::summonersRift();
    // Where the next summary is worked out, exchanged with the published one when it differs.
    std::optional<GoldSpentTracker::Summary> summaryScratch_;
    std::optional<ResolvedSelf> you_;

    std::shared_ptr<SharedCatalogs> catalogs_;
    GoldSpentTracker tracker_; // the snapshot's own prices until the catalog is in
};

} // namespace tolvane
