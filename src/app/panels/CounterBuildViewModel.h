#pragma once
// The model behind the matchup / counter-build panel: follows the Live Client snapshot twice a
// second, recomputes the counter-build advice and both teams' threat profiles on every snapshot,
// and asks the statistics service for a lane-matchup build when the pairing of champion, lane
// opponent and role changes (at most every 15 s while answers are unavailable).

#include "app/panels/SharedCatalogs.h"
#include "app/panels/SnapshotViewModel.h"
#include "core/advice/MatchupAdvice.h"
#include "core/advice/MetrionMatchupProvider.h"
#include "core/knowledge/CounterBuildEngine.h"
#include "core/knowledge/CounterBuildTypes.h"
#include "core/knowledge/CounterRules.h"
#include "core/knowledge/GoldSpentTracker.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QCoroTask>

namespace tolvane {

class CounterBuildViewModel : public SnapshotViewModel {
    Q_OBJECT
public:
    // Monotonic, so that a change of the system time cannot lift or extend the request spacing.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds requestSpacing {15000};
    static constexpr uint64_t pollIntervalMs = 500;

    // Loads the counter rules at once; polls nothing until start().
    explicit CounterBuildViewModel(std::shared_ptr<MatchupBuildProvider> matchupProvider,
        LiveClientDataClient client = LiveClientDataClient(),
        std::shared_ptr<SharedCatalogs> catalogs = std::make_shared<SharedCatalogs>(),
        Clock clock = std::chrono::steady_clock::now, QObject* parent = nullptr);
    ~CounterBuildViewModel() override;

    const std::optional<CounterBuildAdvice>& advice() const { return advice_; }
    const std::optional<MatchupAdvice>& matchup() const { return matchup_; }
    const QString& version() const { return version_; }
    const ItemIDSet& owned() const { return owned_; }
    const ItemCatalog& itemCatalog() const { return itemCatalog_; }
    void setItemCatalog(ItemCatalog catalog);
    // The player's own team, the player included.
    const std::optional<ThreatProfile>& allyThreat() const { return allyThreat_; }
    const std::optional<ThreatProfile>& enemyThreat() const { return enemyThreat_; }
    const std::optional<QString>& lanerNote() const { return lanerNote_; }

    // The held matchup answer when it is a build.
    std::optional<MatchupBuild> matchupBuild() const;
    // Why there is no matchup build: the service's reason, else the note on the lane opponent.
    std::optional<QString> matchupNote() const;

    const CounterRules& rules() const { return rules_; }

    // The pairing a matchup build answers: the player's champion, the lane opponent's, the role.
    struct Pairing {
        QString champion;
        QString opponent;
        MetaRole role = MetaRole::unknown;
        bool operator==(const Pairing&) const = default;
    };

    // One poll result: a snapshot, or nothing when no game answered. Awaits the service when it
    // asks it, so the caller handles one result at a time.
    QCoro::Task<void> handle(std::optional<AllGameData> data);
    // What a snapshot changes before any service is asked: the advice, the player's items, both
    // teams' profiles and the note on the lane opponent (observers are told by the caller). Gives
    // the pairing to ask the service about when a request is due, and counts it as started.
    std::optional<Pairing> update(const AllGameData& d);

protected:
    // Waits for the champion catalog: no snapshot is handled before it.
    QCoro::Task<void> prepare() override;
    QCoro::Task<void> follow(std::optional<AllGameData> data) override { return handle(std::move(data)); }

private:
    friend struct CounterBuildViewModelProbe; // tests set single values

    // Who plays what, for which team, in which lane: what the advice, both teams' profiles and
    // the lane opponent depend on. They are worked out again only when it changed (in a match,
    // when a player buys or sells an item).
    struct Seat {
        QString champion;
        QString team;
        std::optional<QString> position;
        bool operator==(const Seat&) const = default;
    };
    bool sameLineup(const AllGameData& d, const std::optional<ResolvedSelf>& you) const;
    void keepLineup(const AllGameData& d, const std::optional<ResolvedSelf>& you);

    // No opponent to ask about (no lane role, or nobody found in the lane).
    void noMatchup(const AllGameData& d, const ResolvedSelf& you, MetaRole role);

    void setAdvice(std::optional<CounterBuildAdvice> advice);
    void setMatchup(std::optional<MatchupAdvice> matchup);
    void setVersion(QString version);
    void setOwned(const ItemIDSet& owned);
    void setAllyThreat(std::optional<ThreatProfile> threat);
    void setEnemyThreat(std::optional<ThreatProfile> threat);
    void setLanerNote(std::optional<QString> note);

    std::optional<CounterBuildAdvice> advice_;
    std::optional<MatchupAdvice> matchup_;
    QString version_;
    ItemIDSet owned_;
    ItemCatalog itemCatalog_;
    std::optional<ThreatProfile> allyThreat_;
    std::optional<ThreatProfile> enemyThreat_;
    std::optional<QString> lanerNote_;

    bool didLogNoLaner_ = false;
    CounterBuildEngine engine_;
    std::shared_ptr<SharedCatalogs> catalogs_;
    std::shared_ptr<MatchupBuildProvider> matchupProvider_;
    GoldSpentTracker tracker_; // unpriced: only finds the lane opponent
    ChampionCatalog catalog_;
    std::optional<Pairing> matchupKey_;
    std::optional<std::chrono::steady_clock::time_point> lastMatchupAttempt_;
    // The line-up of the last snapshot and what was worked out from it.
    std::optional<std::vector<Seat>> lineup_;
    std::optional<ResolvedSelf> lineupYou_;
    std::optional<QString> lineupMode_;
    std::optional<QString> laner_;
    std::optional<ResolvedSelf> you_;
    CounterRules rules_;
    Clock clock_;
};

} // namespace tolvane
