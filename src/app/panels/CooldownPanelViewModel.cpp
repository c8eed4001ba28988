#include "app/panels/CooldownPanelViewModel.h"

#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

namespace {

// A clock that goes back further than this is another match (or a replay): old marks go.
constexpr double clockBackEpsilon = 3.0;

const std::optional<QString>& rawSpell(const LivePlayer& player, size_t slot)
{
    static const std::optional<QString> none;
    if (!player.summonerSpells)
        return none;
    return (slot == 0 ? player.summonerSpells->summonerSpellOne : player.summonerSpells->summonerSpellTwo)
        .rawDisplayName;
}

// A slot beyond the first is the second spell.
size_t spellIndex(int64_t slot)
{
    return slot == 0 ? 0 : 1;
}

// Assigns only a value that differs: an equal string is compared, not copied and released.
template <class T> void keep(T& field, const T& value)
{
    if (!(field == value))
        field = value;
}

} // namespace

std::optional<QString> CooldownPanelViewModel::keyOfSpell(const std::optional<QString>& raw)
{
    if (!raw)
        return std::nullopt;
    // The same few raw names come back on every poll: each is taken apart once.
    auto known = spellKeys_.find(*raw);
    if (known == spellKeys_.end())
        known = spellKeys_.emplace(*raw, SummonerCooldowns::spellKey(*raw)).first;
    return known->second;
}

CooldownPanelViewModel::CooldownPanelViewModel(
    LiveClientDataClient client, std::shared_ptr<SharedCatalogs> catalogs, SummonerCooldowns cooldowns, QObject* parent)
    : SnapshotViewModel(std::move(client), pollIntervalMs, parent)
    , cooldowns_(std::move(cooldowns))
    , catalogs_(std::move(catalogs))
{
}

CooldownPanelViewModel::~CooldownPanelViewModel() = default;

QCoro::Task<void> CooldownPanelViewModel::loadCatalog()
{
    const QPointer<CooldownPanelViewModel> self(this);
    const std::shared_ptr<SharedCatalogs> catalogs = catalogs_;
    ChampionCatalog catalog = co_await catalogs->champions();
    if (!self)
        co_return;
    catalog_ = std::move(catalog);
    for (Enemy& enemy : enemies_)
        enemy.champLooked = false;
    publish(version_, catalog_.patch);
    notify();
}

QCoro::Task<void> CooldownPanelViewModel::follow(std::optional<AllGameData> data)
{
    handle(data);
    co_return;
}

void CooldownPanelViewModel::handle(const std::optional<AllGameData>& data)
{
    if (!data) {
        publish(inGame_, false);
        enemies_.clear();
        publish(rows_, std::vector<EnemyRow> {});
        lastGameTime_ = 0;
        tracker_.flushAll();
        notify();
        return;
    }
    const double t = data->gameData.gameTime;
    // Loading screen (or a clock that is not a number): hidden, but the marks stay for the match.
    if (!(t > 0)) {
        publish(inGame_, false);
        publish(rows_, std::vector<EnemyRow> {});
        lastGameTime_ = 0;
        notify();
        return;
    }
    publish(inGame_, true);
    lastGameTime_ = t;
    isAram_ = data->gameData.mapNumber == 12;
    tracker_.observe(t, clockBackEpsilon);
    if (const LivePlayer* you = ResolvedSelf::find(*data))
        youTeam_ = you->team;
    size_t count = 0;
    if (!youTeam_.isEmpty()) {
        for (const LivePlayer& player : data->allPlayers) {
            if (player.team == youTeam_)
                continue;
            if (count == enemies_.size())
                enemies_.emplace_back();
            Enemy& enemy = enemies_[count++];
            if (enemy.championName != player.championName) {
                enemy.championName = player.championName;
                enemy.champLooked = false;
            }
            for (size_t slot = 0; slot < 2; ++slot) {
                const std::optional<QString>& raw = rawSpell(player, slot);
                if (enemy.rawSpells[slot] != raw) {
                    enemy.rawSpells[slot] = raw;
                    enemy.spellsLooked = false;
                }
            }
            enemy.items = player.items;
            enemy.level = player.level;
        }
    }
    enemies_.resize(count);
    rebuildRows(t);
}

void CooldownPanelViewModel::rebuildRows(double now)
{
    // Built over the previous rows' storage, then exchanged with the published rows if it differs.
    std::vector<EnemyRow>& rows = rowsScratch_;
    rows.resize(enemies_.size());
    for (size_t i = 0; i < enemies_.size(); ++i) {
        Enemy& enemy = enemies_[i];
        if (!enemy.champLooked) {
            const auto found = catalog_.byName.find(enemy.championName);
            enemy.champKey = found != catalog_.byName.end() ? found->second.id : QString();
            enemy.champLooked = true;
        }
        if (!enemy.spellsLooked) {
            for (size_t slot = 0; slot < 2; ++slot) {
                enemy.spellKeys[slot] = keyOfSpell(enemy.rawSpells[slot]);
                enemy.trackable[slot]
                    = enemy.spellKeys[slot] && cooldowns_.spells.find(*enemy.spellKeys[slot]) != cooldowns_.spells.end();
            }
            enemy.spellsLooked = true;
        }
        EnemyRow& row = rows[i];
        row.id = static_cast<int64_t>(i);
        keep(row.champKey, enemy.champKey);
        size_t cells = 0;
        for (int64_t slot : {0, 1}) {
            const std::optional<QString>& key = enemy.spellKeys[spellIndex(slot)];
            if (!key)
                continue;
            if (cells == row.spells.size())
                row.spells.emplace_back();
            SpellCell& cell = row.spells[cells++];
            cell.id = slot;
            keep(cell.spellKey, *key);
            cell.remaining = tracker_.remaining({row.id, slot}, now);
            cell.trackable = enemy.trackable[spellIndex(slot)];
        }
        row.spells.resize(cells);
    }
    publishExchange(rows_, rows);
    notify();
}

void CooldownPanelViewModel::markCell(int64_t enemy, int64_t slot)
{
    if (enemy < 0 || static_cast<size_t>(enemy) >= enemies_.size())
        return;
    const Enemy& player = enemies_[static_cast<size_t>(enemy)];
    const std::optional<QString> key = keyOfSpell(player.rawSpells[spellIndex(slot)]);
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
    publish(timeFormat_, format);
    notify();
}

void CooldownPanelViewModel::setBgOpacity(double opacity)
{
    publish(bgOpacity_, opacity);
    notify();
}

} // namespace tolvane
