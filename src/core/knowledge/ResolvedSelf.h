#pragma once
// The local player as found in one in-game snapshot: matched to the active player by Riot id
// name or summoner name, exactly.

#include "core/gameclient/AllGameData.h"
#include "core/knowledge/ItemCatalog.h"

#include <QString>

#include <optional>

namespace tolvane {

struct ResolvedSelf {
    QString championName;
    QString team;
    ItemIDSet ownedItemIDs;
    std::optional<QString> position;

    // Absent for spectator documents and whenever no player carries the active player's name.
    static std::optional<ResolvedSelf> resolve(const AllGameData& snapshot);
    // The same player, in the snapshot itself (no copy, no item set): for callers that only
    // need its team, champion or position, on every poll.
    static const LivePlayer* find(const AllGameData& snapshot);
    // Brings kept to what resolve() gives for the snapshot, building anew only when the player,
    // champion, team, position or items differ from what is kept: on most polls nothing of it
    // changed, and comparing costs less than building the item set.
    static void refresh(std::optional<ResolvedSelf>& kept, const AllGameData& snapshot);
    bool operator==(const ResolvedSelf&) const = default;
};

} // namespace tolvane
