#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

namespace {

const QString* usable(const std::optional<QString>& name)
{
    return name && !name->isEmpty() ? &*name : nullptr;
}

} // namespace

std::optional<ResolvedSelf> ResolvedSelf::resolve(const AllGameData& snapshot)
{
    if (!snapshot.activePlayer)
        return std::nullopt;
    const QString* riotName = usable(snapshot.activePlayer->riotIdGameName);
    const QString* summonerName = usable(snapshot.activePlayer->summonerName);
    if (!riotName && !summonerName)
        return std::nullopt;
    // By player: an earlier player matching by summoner name wins over a later Riot-id match.
    for (const LivePlayer& player : snapshot.allPlayers) {
        const bool byRiotId = riotName && player.riotIdGameName && *player.riotIdGameName == *riotName;
        const bool bySummoner = summonerName && player.summonerName && *player.summonerName == *summonerName;
        if (!byRiotId && !bySummoner)
            continue;
        ResolvedSelf self {player.championName, player.team, {}, player.position};
        for (const LiveItem& item : player.items)
            self.ownedItemIDs.insert(item.itemID);
        return self;
    }
    return std::nullopt;
}

} // namespace tolvane
