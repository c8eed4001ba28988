#pragma once
// The gold spent panel's state: every player's gold spent on items, the team lead, the local
// player against the lane opponent, and the game-mode route, from a snapshot every 500 ms.
// summary is present exactly while the last poll brought a snapshot: the app's sign that a
// match runs.

#include "core/advice/MetaQuery.h"
#include "core/gameclient/LiveClientDataClient.h"
#include "core/knowledge/GoldSpentTracker.h"
#include "core/knowledge/ItemCatalog.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

class GoldSpentViewModel : public QObject {
    Q_OBJECT
public:
    static constexpr uint64_t pollIntervalMs = 500;

    // With its own Live Client Data client and item catalog loader at their real addresses.
    explicit GoldSpentViewModel(QObject* parent = nullptr);
    GoldSpentViewModel(LiveClientDataClient client, ItemCatalogLoader loader, QObject* parent = nullptr);
    ~GoldSpentViewModel() override;

    // Starts the catalog load and the polling; returns at once. Once only.
    void start();

    const std::optional<GoldSpentTracker::Summary>& summary() const { return summary_; }
    const std::optional<GoldSpentTracker::LaneMatchup>& matchup() const { return matchup_; }
    const MetaModeRoute& gameMode() const { return gameMode_; }
    const GoldSpentTracker& tracker() const { return tracker_; }

    // Written by the polling; each assignment notifies, also of an equal value, so the panel
    // redraws at least at the polling interval.
    void setSummary(std::optional<GoldSpentTracker::Summary> value);
    void setMatchup(std::optional<GoldSpentTracker::LaneMatchup> value);
    void setGameMode(MetaModeRoute value);

    // One poll's result: a snapshot, or none.
    void handle(const std::optional<AllGameData>& snapshot);

signals:
    void changed();

private:
    static QCoro::Task<void> loadCatalog(QPointer<GoldSpentViewModel> self, ItemCatalogLoader loader);
    static QCoro::Task<void> poll(QPointer<GoldSpentViewModel> self);

    std::optional<GoldSpentTracker::Summary> summary_;
    std::optional<GoldSpentTracker::LaneMatchup> matchup_;
    MetaModeRoute gameMode_ = MetaModeRoute::summonersRift();

    LiveClientDataClient client_;
    ItemCatalogLoader loader_;
    GoldSpentTracker tracker_; // the snapshot's own prices until the catalog is in
    std::unique_ptr<LiveSnapshotStream> stream_;
    bool started_ = false;
};

} // namespace tolvane
