#include "app/panels/CounterBuildViewModel.h"

#include "core/advice/MetaQuery.h"
#include "core/knowledge/ResolvedSelf.h"
#include "core/support/Log.h"

#include <QPointer>
#include <QStringList>

#include <vector>

TOLVANE_LOG_CATEGORY(lcMatchup, "matchup")

namespace tolvane {

namespace {

const QString kNil = QStringLiteral("nil");

} // namespace

CounterBuildViewModel::CounterBuildViewModel(std::shared_ptr<MatchupBuildProvider> matchupProvider,
    LiveClientDataClient client, std::shared_ptr<SharedCatalogs> catalogs, Clock clock, QObject* parent)
    : SnapshotViewModel(std::move(client), pollIntervalMs, parent)
    , catalogs_(std::move(catalogs))
    , matchupProvider_(std::move(matchupProvider))
    , rules_(CounterRulesLoader().load())
    , clock_(std::move(clock))
{
}

CounterBuildViewModel::~CounterBuildViewModel() = default;

QCoro::Task<void> CounterBuildViewModel::prepare()
{
    QPointer<CounterBuildViewModel> self(this);
    const std::shared_ptr<SharedCatalogs> catalogs = catalogs_;
    ChampionCatalog loaded = co_await catalogs->champions();
    if (!self)
        co_return;
    catalog_ = std::move(loaded);
    lineup_.reset(); // what was worked out without the catalog goes
    setVersion(catalog_.patch);
}

QCoro::Task<void> CounterBuildViewModel::handle(std::optional<AllGameData> data)
{
    if (!data) {
        // A new game starts from scratch: no remembered pairing, no spacing, the diagnostic re-armed.
        setAdvice(std::nullopt);
        setMatchup(std::nullopt);
        matchupKey_.reset();
        lastMatchupAttempt_.reset();
        setOwned({});
        setAllyThreat(std::nullopt);
        setEnemyThreat(std::nullopt);
        setLanerNote(std::nullopt);
        didLogNoLaner_ = false;
        lineup_.reset();
        notify();
        co_return;
    }
    const std::optional<Pairing> pairing = update(*data);
    // What this snapshot changed shows now, not once the service has answered.
    notify();
    if (!pairing)
        co_return;

    QPointer<CounterBuildViewModel> self(this);
    const std::shared_ptr<MatchupBuildProvider> provider = matchupProvider_;
    MatchupAdvice answer = co_await provider->fetchMatchup(pairing->champion, pairing->opponent, pairing->role);
    if (!self)
        co_return;
    const bool isBuild = std::holds_alternative<MatchupBuild>(answer.result);
    setMatchup(std::move(answer));
    if (isBuild)
        matchupKey_ = pairing;
    notify();
}

std::optional<CounterBuildViewModel::Pairing> CounterBuildViewModel::update(const AllGameData& d)
{
    ResolvedSelf::refresh(you_, d);
    const std::optional<ResolvedSelf>& you = you_;
    if (!sameLineup(d, you)) {
        setAdvice(engine_.recommend(d.allPlayers, you, catalog_, rules_, d.gameData.gameMode));
        laner_.reset();
        if (you) {
            setAllyThreat(engine_.teamThreatProfile(d.allPlayers, you->team, catalog_, rules_));
            // The advice's threat is already the profile of everyone not on the player's team.
            setEnemyThreat(advice_->threat);
            if (metaRoleFromLivePosition(you->position) != MetaRole::unknown)
                laner_ = tracker_.laneMatchup(*you, d.allPlayers).lanerChampion;
        }
        keepLineup(d, you);
    }
    if (!you)
        return std::nullopt;
    setOwned(you->ownedItemIDs);

    if (resolveMetaMode(d.gameData.gameMode, d.gameData.mapNumber).kind == MetaModeRoute::Kind::unsupported)
        return std::nullopt;
    const MetaRole role = metaRoleFromLivePosition(you->position);
    if (role == MetaRole::unknown || !laner_) {
        noMatchup(d, *you, role);
        return std::nullopt;
    }
    setLanerNote(std::nullopt);
    if (matchupKey_ && matchupKey_->champion == you->championName && matchupKey_->opponent == *laner_
        && matchupKey_->role == role)
        return std::nullopt;
    const auto now = clock_();
    if (lastMatchupAttempt_ && now - *lastMatchupAttempt_ < requestSpacing)
        return std::nullopt;
    lastMatchupAttempt_ = now;
    return Pairing {you->championName, *laner_, role};
}

bool CounterBuildViewModel::sameLineup(const AllGameData& d, const std::optional<ResolvedSelf>& you) const
{
    if (!lineup_ || lineup_->size() != d.allPlayers.size() || lineupYou_ != you || lineupMode_ != d.gameData.gameMode)
        return false;
    for (size_t i = 0; i < d.allPlayers.size(); ++i) {
        const LivePlayer& player = d.allPlayers[i];
        const Seat& seat = (*lineup_)[i];
        if (seat.champion != player.championName || seat.team != player.team || seat.position != player.position)
            return false;
    }
    return true;
}

void CounterBuildViewModel::keepLineup(const AllGameData& d, const std::optional<ResolvedSelf>& you)
{
    std::vector<Seat> seats;
    seats.reserve(d.allPlayers.size());
    for (const LivePlayer& player : d.allPlayers)
        seats.push_back({player.championName, player.team, player.position});
    lineup_ = std::move(seats);
    lineupYou_ = you;
    lineupMode_ = d.gameData.gameMode;
}

void CounterBuildViewModel::noMatchup(const AllGameData& d, const ResolvedSelf& you, MetaRole role)
{
    if (!matchup_ && role != MetaRole::unknown && !didLogNoLaner_) {
        didLogNoLaner_ = true;
        QStringList enemies;
        for (const LivePlayer& p : d.allPlayers)
            if (p.team != you.team)
                enemies << p.championName + QLatin1Char('=') + p.position.value_or(kNil);
        log::info(lcMatchup(),
            QStringLiteral("no laner resolved (you=%1): %2")
                .arg(you.position.value_or(kNil), enemies.join(QLatin1Char(' '))));
    }
    // A build fetched earlier in the game stays on show; the note only says why none is new.
    setLanerNote(role == MetaRole::unknown ? std::nullopt
                                           : std::optional<QString>(QStringLiteral("no lane opponent identified")));
}

std::optional<MatchupBuild> CounterBuildViewModel::matchupBuild() const
{
    if (!matchup_)
        return std::nullopt;
    if (const auto* build = std::get_if<MatchupBuild>(&matchup_->result))
        return *build;
    return std::nullopt;
}

std::optional<QString> CounterBuildViewModel::matchupNote() const
{
    if (matchup_)
        if (const auto* unavailable = std::get_if<Unavailable>(&matchup_->result))
            return unavailable->reason;
    return lanerNote_;
}

void CounterBuildViewModel::setAdvice(std::optional<CounterBuildAdvice> advice)
{
    publish(advice_, std::move(advice));
}

void CounterBuildViewModel::setMatchup(std::optional<MatchupAdvice> matchup)
{
    publish(matchup_, std::move(matchup));
}

void CounterBuildViewModel::setVersion(QString version)
{
    publish(version_, std::move(version));
}

void CounterBuildViewModel::setOwned(const ItemIDSet& owned)
{
    // Copied only when it differs: the same set comes with nearly every poll.
    publish(owned_, owned);
}

void CounterBuildViewModel::setItemCatalog(ItemCatalog catalog)
{
    publish(itemCatalog_, std::move(catalog));
    notify();
}

void CounterBuildViewModel::setAllyThreat(std::optional<ThreatProfile> threat)
{
    publish(allyThreat_, std::move(threat));
}

void CounterBuildViewModel::setEnemyThreat(std::optional<ThreatProfile> threat)
{
    publish(enemyThreat_, std::move(threat));
}

void CounterBuildViewModel::setLanerNote(std::optional<QString> note)
{
    publish(lanerNote_, std::move(note));
}

} // namespace tolvane
