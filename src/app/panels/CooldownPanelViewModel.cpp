#include "app/panels/CooldownPanelViewModel.h"

#include "app/panels/SnapshotLoop.h"
#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

namespace {

constexpr uint64_t pollIntervalMs = 500;
// A clock that goes back further than this is another match (or a replay): old marks go.
constexpr double clockBackEpsilon = 3.0;

const LiveSummonerSpell& spellOfSlot(const LiveSummonerSpells& spells, int64_t slot)
{
    return slot == 0 ? spells.summonerSpellOne : spells.summonerSpellTwo;
}

std::optional<QString> keyOfSlot(const LivePlayer& player, int64_t slot)
{
    if (!player.summonerSpells)
        return std::nullopt;
    const LiveSummonerSpell& spell = spellOfSlot(*player.summonerSpells, slot);
    if (!spell.rawDisplayName)
        return std::nullopt;
    return SummonerCooldowns::spellKey(*spell.rawDisplayName);
}

} // namespace

CooldownPanelViewModel::CooldownPanelViewModel(
    LiveClientDataClient client, ChampionCatalogLoader champLoader, SummonerCooldowns cooldowns, QObject* parent)
    : QObject(parent)
    , client_(std::move(client))
    , cooldowns_(std::move(cooldowns))
    , champLoader_(std::move(champLoader))
{
}

CooldownPanelViewModel::~CooldownPanelViewModel() = default;

void CooldownPanelViewModel::start()
{
    if (started_)
        return;
    started_ = true;
    run(QPointer<CooldownPanelViewModel>(this));
}

QCoro::Task<void> CooldownPanelViewModel::run(QPointer<CooldownPanelViewModel> self)
{
    if (!self)
        co_return;
    co_await self->loadCatalog();
    if (!self)
        co_return;
    self->stream_ = self->client_.stream(pollIntervalMs);
    co_await followSnapshots(self, self->stream_.get(), &CooldownPanelViewModel::handle);
}

QCoro::Task<void> CooldownPanelViewModel::loadCatalog()
{
    const QPointer<CooldownPanelViewModel> self(this);
    ChampionCatalog catalog = co_await champLoader_.load();
    if (!self)
        co_return;
    catalog_ = std::move(catalog);
    setVersion(catalog_.patch);
}

void CooldownPanelViewModel::handle(const std::optional<AllGameData>& data)
{
    if (!data) {
        setInGame(false);
        enemies_.clear();
        setRows({});
        setLastGameTime(0);
        tracker_.flushAll();
        return;
    }
    const double t = data->gameData.gameTime;
    // Loading screen (or a clock that is not a number): hidden, but the marks stay for the match.
    if (!(t > 0)) {
        setInGame(false);
        setRows({});
        setLastGameTime(0);
        return;
    }
    setInGame(true);
    setLastGameTime(t);
    isAram_ = data->gameData.mapNumber == 12;
    tracker_.observe(t, clockBackEpsilon);
    if (const auto you = ResolvedSelf::resolve(*data))
        youTeam_ = you->team;
    enemies_.clear();
    if (!youTeam_.isEmpty()) {
        for (const LivePlayer& player : data->allPlayers) {
            if (player.team != youTeam_)
                enemies_.push_back(player);
        }
    }
    rebuildRows(t);
}

void CooldownPanelViewModel::rebuildRows(double now)
{
    std::vector<EnemyRow> rows;
    rows.reserve(enemies_.size());
    for (size_t i = 0; i < enemies_.size(); ++i) {
        const LivePlayer& enemy = enemies_[i];
        EnemyRow row;
        row.id = static_cast<int64_t>(i);
        if (const auto found = catalog_.byName.find(enemy.championName); found != catalog_.byName.end())
            row.champKey = found->second.id;
        for (int64_t slot : {0, 1}) {
            const std::optional<QString> key = keyOfSlot(enemy, slot);
            if (!key)
                continue;
            row.spells.push_back(SpellCell {slot, *key, tracker_.remaining({row.id, slot}, now),
                cooldowns_.spells.find(*key) != cooldowns_.spells.end()});
        }
        rows.push_back(std::move(row));
    }
    setRows(std::move(rows));
}

void CooldownPanelViewModel::markCell(int64_t enemy, int64_t slot)
{
    if (enemy < 0 || static_cast<size_t>(enemy) >= enemies_.size())
        return;
    const LivePlayer& player = enemies_[static_cast<size_t>(enemy)];
    const std::optional<QString> key = keyOfSlot(player, slot);
    if (!key)
        return;
    const std::optional<double> cd = cooldowns_.effectiveCD(*key, player.items, lastGameTime_, player.level, isAram_);
    if (!cd)
        return;
    tracker_.toggle({enemy, slot}, lastGameTime_, *cd);
    rebuildRows(lastGameTime_);
}

void CooldownPanelViewModel::setTimeFormat(CDTimeFormat format)
{
    timeFormat_ = format;
    emit changed();
}

void CooldownPanelViewModel::setBgOpacity(double opacity)
{
    bgOpacity_ = opacity;
    emit changed();
}

void CooldownPanelViewModel::setRows(std::vector<EnemyRow> rows)
{
    rows_ = std::move(rows);
    emit changed();
}

void CooldownPanelViewModel::setInGame(bool inGame)
{
    inGame_ = inGame;
    emit changed();
}

void CooldownPanelViewModel::setVersion(QString version)
{
    version_ = std::move(version);
    emit changed();
}

void CooldownPanelViewModel::setLastGameTime(double time)
{
    lastGameTime_ = time;
    emit changed();
}

} // namespace tolvane
