#include "core/gameclient/ChampSelectReadout.h"

#include <algorithm>

namespace tolvane {

namespace {

using Cell = ChampSelectSession::Cell;

// A seat's champion: the locked or hovered one, else what it says it intends to pick.
int64_t seatChampion(const Cell& cell)
{
    if (cell.championId > 0)
        return cell.championId;
    return cell.championPickIntentId.value_or(0);
}

int64_t myChampion(const ChampSelectSession& session, const Cell* mine)
{
    if (mine && mine->championId != 0)
        return mine->championId;
    // A pick turn names the champion as soon as it is hovered, before the seat shows it.
    if (session.actions) {
        for (const auto& group : *session.actions)
            for (const auto& action : group)
                if (action.actorCellId == session.localPlayerCellId && action.type == QLatin1String("pick")
                    && action.championId > 0)
                    return action.championId;
    }
    if (mine && mine->championPickIntentId && *mine->championPickIntentId >= 0)
        return *mine->championPickIntentId;
    return 0;
}

int64_t botLanePartner(const ChampSelectSession& session, const QString& role)
{
    const QString lowered = role.toLower();
    QString wanted;
    if (lowered == QLatin1String("bottom"))
        wanted = QStringLiteral("utility");
    else if (lowered == QLatin1String("utility"))
        wanted = QStringLiteral("bottom");
    else
        return 0;
    const Cell* partner = nullptr;
    for (const Cell& cell : session.myTeam) {
        if (cell.cellId == session.localPlayerCellId || !cell.assignedPosition
            || cell.assignedPosition->toLower() != wanted)
            continue;
        if (partner)
            return 0; // two candidates: nobody can say which one is the partner
        partner = &cell;
    }
    return partner ? seatChampion(*partner) : 0;
}

} // namespace

ChampSelectReadout ChampSelectReadout::resolve(const ChampSelectSession& session)
{
    const auto found = std::find_if(session.myTeam.begin(), session.myTeam.end(),
        [&](const Cell& cell) { return cell.cellId == session.localPlayerCellId; });
    const Cell* mine = found == session.myTeam.end() ? nullptr : &*found;

    ChampSelectReadout readout;
    readout.myChampionId = myChampion(session, mine);
    if (mine && mine->assignedPosition && !mine->assignedPosition->isEmpty())
        readout.assignedRole = mine->assignedPosition;
    for (const Cell& cell : session.myTeam)
        readout.allyChampionIds.push_back(seatChampion(cell));
    for (const Cell& cell : session.theirTeam)
        readout.enemyChampionIds.push_back(seatChampion(cell));
    readout.enemyKnown = std::any_of(
        readout.enemyChampionIds.begin(), readout.enemyChampionIds.end(), [](int64_t id) { return id >= 1; });
    if (readout.assignedRole)
        readout.botLanePartnerChampionId = botLanePartner(session, *readout.assignedRole);
    return readout;
}

} // namespace tolvane
