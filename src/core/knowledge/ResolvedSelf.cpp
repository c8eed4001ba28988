#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

namespace {

const QString* usable(const std::optional<QString>& name)
{
    return name && !name->isEmpty() ? &*name : nullptr;
}

ResolvedSelf selfOf(const LivePlayer& player)
{
    ResolvedSelf self {player.championName, player.team, {}, player.position};
    for (const LiveItem& item : player.items)
        self.ownedItemIDs.insert(item.itemID);
    return self;
}

// Whether the items' IDs make exactly the set: each is in it, and as many distinct ones as it
// holds. Pairwise, so only for a player's few items; more are simply told apart by building.
bool ownsExactly(const ItemIDSet& owned, const std::vector<LiveItem>& items)
{
    if (items.size() > 16)
        return false;
    size_t distinct = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!owned.contains(items[i].itemID))
            return false;
        bool seen = false;
        for (size_t j = 0; j < i && !seen; ++j)
            seen = items[j].itemID == items[i].itemID;
        distinct += seen ? 0 : 1;
    }
    return distinct == owned.size();
}

} // namespace

const LivePlayer* ResolvedSelf::find(const AllGameData& snapshot)
{
    if (!snapshot.activePlayer)
        return nullptr;
    const QString* riotName = usable(snapshot.activePlayer->riotIdGameName);
    const QString* summonerName = usable(snapshot.activePlayer->summonerName);
    if (!riotName && !summonerName)
        return nullptr;
    // By player: an earlier player matching by summoner name wins over a later Riot-id match.
    for (const LivePlayer& player : snapshot.allPlayers) {
        const bool byRiotId = riotName && player.riotIdGameName && *player.riotIdGameName == *riotName;
        const bool bySummoner = summonerName && player.summonerName && *player.summonerName == *summonerName;
        if (byRiotId || bySummoner)
            return &player;
    }
    return nullptr;
}

std::optional<ResolvedSelf> ResolvedSelf::resolve(const AllGameData& snapshot)
{
    const LivePlayer* player = find(snapshot);
    if (!player)
        return std::nullopt;
    return selfOf(*player);
}

void ResolvedSelf::refresh(std::optional<ResolvedSelf>& kept, const AllGameData& snapshot)
{
    const LivePlayer* player = find(snapshot);
    if (!player) {
        kept.reset();
        return;
    }
    if (kept && kept->championName == player->championName && kept->team == player->team
        && kept->position == player->position && ownsExactly(kept->ownedItemIDs, player->items))
        return;
    kept = selfOf(*player);
}

} // namespace tolvane
