#include "app/champselect/ChampSelectViewModel.h"

#include "core/advice/MetrionMCPClient.h"

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <utility>

#include <QCoroFuture>

namespace tolvane {

namespace {

// The process scan blocks for as long as "/bin/ps" runs, so it never runs on the main thread.
QFuture<std::optional<LCUClient>> discoverOffMainThread(std::function<std::optional<LCUClient>()> discover)
{
    auto promise = std::make_shared<QPromise<std::optional<LCUClient>>>();
    QFuture<std::optional<LCUClient>> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, discover = std::move(discover)] {
        promise->addResult(discover());
        promise->finish();
    });
    return future;
}

void fillDefaults(ChampSelectViewModel::Services& services)
{
    if (!services.discover)
        services.discover = [] { return LCUClient::discover(); };
    if (!services.loadChampions) {
        auto loader = std::make_shared<ChampionCatalogLoader>();
        services.loadChampions = [loader] { return loader->load(); };
    }
    if (!services.loadRunes) {
        auto loader = std::make_shared<RuneCatalogLoader>();
        services.loadRunes = [loader] { return loader->load(); };
    }
    if (!services.loadSynergy)
        services.loadSynergy = [] { return SynergyCatalogLoader().load(); };
    if (!services.loadSpells) {
        auto loader = std::make_shared<SummonerSpellCatalogLoader>();
        services.loadSpells = [loader] { return loader->load(); };
    }
    if (!services.fetchSoloRank) {
        // The rank lookups get a statistics-service client of their own.
        auto fetcher = std::make_shared<SummonerProfileFetcher>(std::make_shared<MetrionMCPClient>());
        services.fetchSoloRank = [fetcher](QString gameName, QString tagLine, QString region) {
            return fetcher->fetchSoloRank(std::move(gameName), std::move(tagLine), std::move(region));
        };
    }
    if (!services.sleeper)
        services.sleeper = std::make_shared<RealSleeper>();
}

} // namespace

ChampSelectViewModel::ChampSelectViewModel(std::shared_ptr<MetaBuildProvider> provider,
    std::shared_ptr<SummonerSpellRecProvider> spellProvider, Services services, QObject* parent)
    : QObject(parent)
    , provider_(std::move(provider))
    , spellProvider_(std::move(spellProvider))
    , services_(std::move(services))
{
    fillDefaults(services_);
}

ChampSelectViewModel::~ChampSelectViewModel()
{
    // Wakes sleeping tasks at once; they find the model gone and end.
    stop();
}

void ChampSelectViewModel::start()
{
    if (pollCancel_)
        return;
    setPhase(Phase::connecting);
    pollCancel_ = std::make_shared<CancelSource>();
    pollLoop(QPointer<ChampSelectViewModel>(this), pollCancel_->token());
}

void ChampSelectViewModel::stop()
{
    for (auto* source : {&pollCancel_, &profileCancel_, &spellCancel_}) {
        if (*source) {
            (*source)->cancel();
            source->reset();
        }
    }
}

QCoro::Task<void> ChampSelectViewModel::loadCatalogs()
{
    QPointer<ChampSelectViewModel> self(this);
    ChampionCatalog champions = co_await services_.loadChampions();
    if (!self)
        co_return;
    catalog_ = std::move(champions);
    setVersion(catalog_.patch);
    std::unordered_map<int64_t, QString> idToName;
    for (const auto& [name, info] : catalog_.byName) {
        if (info.numericId)
            idToName[*info.numericId] = name;
    }
    idToName_ = std::move(idToName);

    RuneCatalog runes = co_await services_.loadRunes();
    if (!self)
        co_return;
    runeCatalog_ = std::move(runes);
    synergyCatalog_ = services_.loadSynergy();

    SummonerSpellCatalog spells = co_await services_.loadSpells();
    if (!self)
        co_return;
    setSpellCatalog(std::move(spells));
}

QCoro::Task<void> ChampSelectViewModel::pollLoop(QPointer<ChampSelectViewModel> self, CancelToken cancel)
{
    if (!self)
        co_return;
    // A failed champion catalog leaves the map empty, so the next start() tries all four again.
    if (self->idToName_.empty()) {
        co_await self->loadCatalogs();
        if (!self)
            co_return;
    }
    const std::shared_ptr<Sleeper> sleeper = self->services_.sleeper;
    while (self && !cancel.isCancelled()) {
        co_await pass(self);
        if (!self)
            co_return;
        co_await sleeper->sleep(pollPause, cancel);
    }
}

QCoro::Task<void> ChampSelectViewModel::pass(QPointer<ChampSelectViewModel> self)
{
    std::optional<LCUClient> client = self->lcuClient_;
    if (!client) {
        std::optional<LCUClient> found = co_await discoverOffMainThread(self->services_.discover);
        if (!self)
            co_return;
        self->lcuClient_ = found;
        client = std::move(found);
        if (!client) {
            self->reset(Phase::clientOffline);
            co_return;
        }
    }

    const LCUClient::ChampSelectFetch champSelect = co_await client->champSelectFetch();
    if (!self)
        co_return;
    switch (champSelect.kind) {
    case LCUClient::ChampSelectFetch::Kind::session:
        co_await self->handle(*champSelect.session, *client);
        co_return;
    case LCUClient::ChampSelectFetch::Kind::unreachable:
        self->lcuClient_.reset();
        self->reset(Phase::clientOffline);
        co_return;
    case LCUClient::ChampSelectFetch::Kind::notInSelect:
        break;
    }

    const LCUClient::GameflowFetch gameflow = co_await client->gameflowFetch();
    if (!self)
        co_return;
    switch (gameflow.kind) {
    case LCUClient::GameflowFetch::Kind::session:
        if (gameflow.session->isLoadingOrInGame()) {
            self->enterLoadingScreen(*gameflow.session, *client);
            co_return;
        }
        [[fallthrough]];
    case LCUClient::GameflowFetch::Kind::notInGame:
        self->clearLoadingReview();
        self->reset(Phase::idle);
        co_return;
    case LCUClient::GameflowFetch::Kind::unreachable:
        self->lcuClient_.reset();
        self->clearLoadingReview();
        self->reset(Phase::clientOffline);
        co_return;
    }
}

void ChampSelectViewModel::reset(Phase target)
{
    if (phase_ != target)
        setPhase(target);
    setGameMode(MetaModeRoute::summonersRift());
    if (target != Phase::clientOffline)
        return; // idle keeps the last champion select on show
    setMyChampionName(std::nullopt);
    setMyChampionKey(std::nullopt);
    setAssignedRole(MetaRole::unknown);
    setEnemyNames({});
    setEnemyKeys({});
    setEnemyKnown(false);
    setAdvice(std::nullopt);
    builtForChampRole_.reset();
    setCounterRows({});
    setSpellRecs({});
    cancelSpellTask();
    spellState_.reset();
    setSynergyDuo(std::nullopt);
    setSynergyPartnerName(std::nullopt);
    clearLoadingReview();
}

void ChampSelectViewModel::clearLoadingReview()
{
    if (loadingAllies_.empty() && loadingEnemies_.empty())
        return;
    if (profileCancel_) {
        profileCancel_->cancel();
        profileCancel_.reset();
    }
    setLoadingAllies({});
    setLoadingEnemies({});
    setLoadingTeamsIdentified(false);
    setIsArenaLobby(false);
}

void ChampSelectViewModel::cancelSpellTask()
{
    if (spellCancel_) {
        spellCancel_->cancel();
        spellCancel_.reset();
    }
}

std::optional<QString> ChampSelectViewModel::keyOf(const QString& championName) const
{
    const auto it = catalog_.byName.find(championName);
    if (it == catalog_.byName.end())
        return std::nullopt;
    return it->second.id;
}

std::optional<QString> ChampSelectViewModel::nameOf(int64_t championId) const
{
    const auto it = idToName_.find(championId);
    if (it == idToName_.end())
        return std::nullopt;
    return it->second;
}

QCoro::Task<void> ChampSelectViewModel::handle(ChampSelectSession session, LCUClient client)
{
    QPointer<ChampSelectViewModel> self(this);
    const Phase previous = phase_;
    setPhase(Phase::inSelect);

    if (previous != Phase::inSelect) {
        if (onEnterChampSelect_) {
            const auto callback = onEnterChampSelect_;
            callback();
            if (!self)
                co_return;
        }
        builtForChampRole_.reset();
        setAdvice(std::nullopt);
        setMyChampionName(std::nullopt);
        setMyChampionKey(std::nullopt);
        setCounterRows({});
        setSpellRecs({});
        cancelSpellTask();
        spellState_.reset();

        // The mode is settled once per champion select; it does not follow the gameflow after.
        const LCUClient::GameflowFetch gameflow = co_await client.gameflowFetch();
        if (!self)
            co_return;
        std::optional<int64_t> mapNumber;
        if (gameflow.kind == LCUClient::GameflowFetch::Kind::session && gameflow.session->gameData)
            mapNumber = gameflow.session->gameData->mapNumber;
        setGameMode(resolveMetaMode(mapNumber));
    }

    const ChampSelectReadout readout = ChampSelectReadout::resolve(session);
    setEnemyKnown(readout.enemyKnown);
    std::vector<QString> enemies;
    if (readout.enemyKnown) {
        for (const int64_t id : readout.enemyChampionIds) {
            if (id <= 0)
                continue;
            if (auto name = nameOf(id))
                enemies.push_back(std::move(*name));
        }
    }
    std::vector<QString> enemyKeys;
    enemyKeys.reserve(enemies.size());
    for (const QString& name : enemies)
        enemyKeys.push_back(keyOf(name).value_or(QString()));
    setEnemyNames(std::move(enemies));
    setEnemyKeys(std::move(enemyKeys));
    setAssignedRole(metaRoleFromLivePosition(readout.assignedRole));

    const std::optional<QString> found = readout.myChampionId > 0 ? nameOf(readout.myChampionId) : std::nullopt;
    if (!found) {
        setMyChampionName(std::nullopt);
        setMyChampionKey(std::nullopt);
        setAdvice(std::nullopt);
        builtForChampRole_.reset();
        setSynergyDuo(std::nullopt);
        setSynergyPartnerName(std::nullopt);
        co_return;
    }
    const QString name = *found;
    if (myChampionName_ != name) {
        // The previous champion's build stays up until the new answer replaces it.
        setCounterRows({});
        setSpellRecs({});
        cancelSpellTask();
        spellState_.reset();
    }
    setMyChampionName(name);
    setMyChampionKey(keyOf(name));

    resolveSynergy(readout, name);

    MetaRole role = assignedRole_;
    if (role == MetaRole::unknown) {
        std::vector<QString> tags;
        if (const auto it = catalog_.byName.find(name); it != catalog_.byName.end())
            tags.assign(it->second.tags.begin(), it->second.tags.end());
        role = metaRoleInferredFromTags(tags);
    }
    updateSpellRecs(name, role);

    if (gameMode_.kind == MetaModeRoute::Kind::arena)
        co_return;
    const bool aram = gameMode_.kind == MetaModeRoute::Kind::aram;
    const QString buildKey = name + (aram ? QStringLiteral("|aram") : QStringLiteral("|") + metaRoleRawValue(role));
    if (builtForChampRole_ == buildKey)
        co_return;
    const MetaQuery query
        = aram ? MetaQuery::aram() : MetaQuery::summonersRift(role, assignedRole_ == MetaRole::unknown);

    const std::shared_ptr<MetaBuildProvider> provider = provider_;
    MetaBuildAdvice result = co_await provider->fetch(name, query);
    if (!self)
        co_return;
    // Another poll task may have moved on while this answer was out.
    if (phase_ != Phase::inSelect || myChampionName_ != name)
        co_return;

    const MetaBuild* build = std::get_if<MetaBuild>(&result.result);
    const bool isBuild = build != nullptr;
    std::vector<CounterRow> rows;
    if (isBuild) {
        for (const CounterEntry& entry : build->weakCounters) {
            const QString counterName = nameOf(entry.championId).value_or(entry.championName);
            rows.push_back(CounterRow {entry.championId, counterName, keyOf(counterName), entry.winRate});
        }
    }
    setAdvice(std::move(result));
    // An unavailable answer keeps the old key, so the next pass asks again.
    if (isBuild)
        builtForChampRole_ = buildKey;
    setCounterRows(std::move(rows));
}

// --- setters: each assignment notifies, also of an equal value -------------------------------------

#define TOLVANE_SETTER(Name, Type, field)                                                                              \
    void ChampSelectViewModel::Name(Type value)                                                                        \
    {                                                                                                                  \
        field = std::move(value);                                                                                      \
        emit changed();                                                                                                \
    }

TOLVANE_SETTER(setPhase, Phase, phase_)
TOLVANE_SETTER(setMyChampionName, std::optional<QString>, myChampionName_)
TOLVANE_SETTER(setMyChampionKey, std::optional<QString>, myChampionKey_)
TOLVANE_SETTER(setAssignedRole, MetaRole, assignedRole_)
TOLVANE_SETTER(setEnemyNames, std::vector<QString>, enemyNames_)
TOLVANE_SETTER(setEnemyKeys, std::vector<QString>, enemyKeys_)
TOLVANE_SETTER(setEnemyKnown, bool, enemyKnown_)
TOLVANE_SETTER(setAdvice, std::optional<MetaBuildAdvice>, advice_)
TOLVANE_SETTER(setVersion, QString, version_)
TOLVANE_SETTER(setItemCatalog, ItemCatalog, itemCatalog_)
TOLVANE_SETTER(setCounterRows, std::vector<CounterRow>, counterRows_)
TOLVANE_SETTER(setSpellRecs, std::vector<EnemySpellRec>, spellRecs_)
TOLVANE_SETTER(setSpellCatalog, SummonerSpellCatalog, spellCatalog_)
TOLVANE_SETTER(setSynergyDuo, std::optional<SynergyDuo>, synergyDuo_)
TOLVANE_SETTER(setSynergyPartnerName, std::optional<QString>, synergyPartnerName_)
TOLVANE_SETTER(setLoadingAllies, std::vector<LoadingPlayer>, loadingAllies_)
TOLVANE_SETTER(setLoadingEnemies, std::vector<LoadingPlayer>, loadingEnemies_)
TOLVANE_SETTER(setLoadingTeamsIdentified, bool, loadingTeamsIdentified_)
TOLVANE_SETTER(setIsArenaLobby, bool, isArenaLobby_)
TOLVANE_SETTER(setGameMode, MetaModeRoute, gameMode_)

#undef TOLVANE_SETTER

} // namespace tolvane
