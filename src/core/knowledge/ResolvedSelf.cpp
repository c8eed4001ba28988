#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

namespace {

const QString* usable(const std::optional<QString>& name)
{
    return name && !name->isEmpty() ? &*name : nullptr;
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
    ResolvedSelf self {player->championName, player->team, {}, player->position};
    for (const LiveItem& item : player->items)
        self.ownedItemIDs.insert(item.itemID);
    return self;
}

} // namespace tolvane
