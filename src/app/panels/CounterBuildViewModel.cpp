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

std::vector<LivePlayer> playersWhere(const std::vector<LivePlayer>& players, const QString& team, bool sameTeam)
{
    std::vector<LivePlayer> picked;
    for (const LivePlayer& p : players)
        if ((p.team == team) == sameTeam)
            picked.push_back(p);
    return picked;
}

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
    setVersion(catalog_.patch);
}

QString CounterBuildViewModel::requestKey(const QString& champion, const QString& opponent, MetaRole role)
{
    return champion + QLatin1Char('|') + opponent + QLatin1Char('|') + metaRoleRawValue(role);
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
        notify();
        co_return;
    }
    const AllGameData& d = *data;
    const std::optional<ResolvedSelf> you = ResolvedSelf::resolve(d);
    setAdvice(engine_.recommend(d.allPlayers, you, catalog_, rules_, d.gameData.gameMode));
    if (!you) {
        notify();
        co_return;
    }
    setOwned(you->ownedItemIDs);
    setAllyThreat(engine_.computeThreatProfile(playersWhere(d.allPlayers, you->team, true), catalog_, rules_));
    setEnemyThreat(engine_.computeThreatProfile(playersWhere(d.allPlayers, you->team, false), catalog_, rules_));

    if (resolveMetaMode(d.gameData.gameMode, d.gameData.mapNumber).kind == MetaModeRoute::Kind::unsupported) {
        notify();
        co_return;
    }
    const MetaRole role = metaRoleFromLivePosition(you->position);
    const std::optional<QString> laner
        = role == MetaRole::unknown ? std::nullopt : tracker_.laneMatchup(*you, d.allPlayers).lanerChampion;
    if (!laner) {
        noMatchup(d, *you, role);
        notify();
        co_return;
    }
    setLanerNote(std::nullopt);
    // What this snapshot changed shows now, not once the service has answered.
    notify();
    const QString key = requestKey(you->championName, *laner, role);
    if (matchupKey_ == key)
        co_return;
    const auto now = clock_();
    if (lastMatchupAttempt_ && now - *lastMatchupAttempt_ < requestSpacing)
        co_return;
    lastMatchupAttempt_ = now;

    QPointer<CounterBuildViewModel> self(this);
    const std::shared_ptr<MatchupBuildProvider> provider = matchupProvider_;
    MatchupAdvice answer = co_await provider->fetchMatchup(you->championName, *laner, role);
    if (!self)
        co_return;
    const bool isBuild = std::holds_alternative<MatchupBuild>(answer.result);
    setMatchup(std::move(answer));
    if (isBuild)
        matchupKey_ = key;
    notify();
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

void CounterBuildViewModel::setOwned(ItemIDSet owned)
{
    publish(owned_, std::move(owned));
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
