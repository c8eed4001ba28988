#include "app/panels/CooldownPanelViewModel.h"

#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

namespace {

// A clock that goes back further than this is another match (or a replay): old marks go.
constexpr double clockBackEpsilon = 3.0;

const LiveSummonerSpell& spellOfSlot(const LiveSummonerSpells& spells, int64_t slot)
{
    return slot == 0 ? spells.summonerSpellOne : spells.summonerSpellTwo;
}

} // namespace

std::optional<QString> CooldownPanelViewModel::keyOfSlot(const LivePlayer& player, int64_t slot)
{
    if (!player.summonerSpells)
        return std::nullopt;
    const LiveSummonerSpell& spell = spellOfSlot(*player.summonerSpells, slot);
    if (!spell.rawDisplayName)
        return std::nullopt;
    // The same few raw names come back on every poll: each is taken apart once.
    auto known = spellKeys_.find(*spell.rawDisplayName);
    if (known == spellKeys_.end())
        known = spellKeys_.emplace(*spell.rawDisplayName, SummonerCooldowns::spellKey(*spell.rawDisplayName)).first;
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
    // Copied over the last snapshot's enemies, so their storage is reused poll after poll.
    size_t count = 0;
    if (!youTeam_.isEmpty()) {
        for (const LivePlayer& player : data->allPlayers) {
            if (player.team == youTeam_)
                continue;
            if (count < enemies_.size())
                enemies_[count] = player;
            else
                enemies_.push_back(player);
            ++count;
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
        const LivePlayer& enemy = enemies_[i];
        EnemyRow& row = rows[i];
        row.id = static_cast<int64_t>(i);
        const auto found = catalog_.byName.find(enemy.championName);
        row.champKey = found != catalog_.byName.end() ? found->second.id : QString();
        size_t cells = 0;
        for (int64_t slot : {0, 1}) {
            const std::optional<QString> key = keyOfSlot(enemy, slot);
            if (!key)
                continue;
            if (cells == row.spells.size())
                row.spells.emplace_back();
            row.spells[cells++] = SpellCell {slot, *key, tracker_.remaining({row.id, slot}, now),
                cooldowns_.spells.find(*key) != cooldowns_.spells.end()};
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
    publish(timeFormat_, format);
    notify();
}

void CooldownPanelViewModel::setBgOpacity(double opacity)
{
    publish(bgOpacity_, opacity);
    notify();
}

} // namespace tolvane
