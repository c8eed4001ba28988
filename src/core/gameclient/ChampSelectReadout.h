#pragma once
// The few facts the champion-select assistant works from, read out of one session: the user's
// champion and role, both teams' champions and the bot-lane partner. 0 means no champion.

#include "core/gameclient/ChampSelectSession.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

struct ChampSelectReadout {
    int64_t myChampionId = 0;
    std::optional<QString> assignedRole; // as the session spells it
    std::vector<int64_t> allyChampionIds; // one per myTeam seat, the user's included
    std::vector<int64_t> enemyChampionIds; // one per theirTeam seat
    bool enemyKnown = false;
    int64_t botLanePartnerChampionId = 0;

    bool operator==(const ChampSelectReadout&) const = default;

    // Pure; a missing piece of the session reads as 0, an absent role or false.
    static ChampSelectReadout resolve(const ChampSelectSession& session);
};

} // namespace tolvane
