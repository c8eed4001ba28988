#include "app/panels/CounterBuildViewModel.h"

#include "app/panels/SnapshotLoop.h"
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
    LiveClientDataClient client, ChampionCatalogLoader champLoader, Clock clock, QObject* parent)
    : QObject(parent)
    , client_(std::move(client))
    , champLoader_(std::move(champLoader))
    , matchupProvider_(std::move(matchupProvider))
    , rules_(CounterRulesLoader().load())
    , clock_(std::move(clock))
{
}

CounterBuildViewModel::~CounterBuildViewModel() = default;

void CounterBuildViewModel::start()
{
    if (started_)
        return;
    started_ = true;
    run();
}

QCoro::Task<void> CounterBuildViewModel::run()
{
    QPointer<CounterBuildViewModel> self(this);
    const ChampionCatalogLoader loader = champLoader_; // outlives the model while loading
    ChampionCatalog loaded = co_await loader.load();
    if (!self)
        co_return;
    catalog_ = std::move(loaded);
    setVersion(catalog_.patch);

    stream_ = client_.stream(pollIntervalMs);
    co_await followSnapshots(self, stream_.get(), &CounterBuildViewModel::handle);
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
        co_return;
    }
    const AllGameData& d = *data;
    const std::optional<ResolvedSelf> you = ResolvedSelf::resolve(d);
    setAdvice(engine_.recommend(d.allPlayers, you, catalog_, rules_, d.gameData.gameMode));
    if (!you)
        co_return;
    setOwned(you->ownedItemIDs);
    setAllyThreat(engine_.computeThreatProfile(playersWhere(d.allPlayers, you->team, true), catalog_, rules_));
    setEnemyThreat(engine_.computeThreatProfile(playersWhere(d.allPlayers, you->team, false), catalog_, rules_));

    if (resolveMetaMode(d.gameData.gameMode, d.gameData.mapNumber).kind == MetaModeRoute::Kind::unsupported)
        co_return;
    const MetaRole role = metaRoleFromLivePosition(you->position);
    if (role == MetaRole::unknown) {
        noMatchup(d, *you, role);
        co_return;
    }
    const std::optional<QString> laner = tracker_.laneMatchup(*you, d.allPlayers).lanerChampion;
    if (!laner) {
        noMatchup(d, *you, role);
        co_return;
    }
    setLanerNote(std::nullopt);
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
    advice_ = std::move(advice);
    emit changed();
}

void CounterBuildViewModel::setMatchup(std::optional<MatchupAdvice> matchup)
{
    matchup_ = std::move(matchup);
    emit changed();
}

void CounterBuildViewModel::setVersion(QString version)
{
    version_ = std::move(version);
    emit changed();
}

void CounterBuildViewModel::setOwned(ItemIDSet owned)
{
    owned_ = std::move(owned);
    emit changed();
}

void CounterBuildViewModel::setItemCatalog(ItemCatalog catalog)
{
    itemCatalog_ = std::move(catalog);
    emit changed();
}

void CounterBuildViewModel::setAllyThreat(std::optional<ThreatProfile> threat)
{
    allyThreat_ = std::move(threat);
    emit changed();
}

void CounterBuildViewModel::setEnemyThreat(std::optional<ThreatProfile> threat)
{
    enemyThreat_ = std::move(threat);
    emit changed();
}

void CounterBuildViewModel::setLanerNote(std::optional<QString> note)
{
    lanerNote_ = std::move(note);
    emit changed();
}

} // namespace tolvane
