#include "core/gameclient/ChampSelectSession.h"

namespace tolvane {

using json::Object;
using json::Value;

namespace {

ChampSelectSession::Cell decodeCell(Value v)
{
    const Object o = v.toObject();
    ChampSelectSession::Cell cell;
    cell.cellId = o.int64("cellId");
    cell.championId = o.int64("championId");
    // The client sends a seat's hover as "championPickIntent"; "championPickIntentId" is read too,
    // for documents that use that name.
    cell.championPickIntentId = o.optInt64("championPickIntent");
    if (!cell.championPickIntentId)
        cell.championPickIntentId = o.optInt64("championPickIntentId");
    cell.assignedPosition = o.optString("assignedPosition");
    return cell;
}

ChampSelectSession::Action decodeAction(Value v)
{
    const Object o = v.toObject();
    ChampSelectSession::Action action;
    action.actorCellId = o.int64("actorCellId");
    action.championId = o.int64("championId");
    action.type = o.string("type");
    action.completed = o.boolean("completed");
    return action;
}

std::vector<ChampSelectSession::Cell> decodeTeam(Value v)
{
    return v.toArray().map(decodeCell);
}

} // namespace

json::Decoded<ChampSelectSession> ChampSelectSession::decode(QByteArrayView body)
{
    return json::decode<ChampSelectSession>(body, [](Value root) {
        const Object o = root.toObject();
        ChampSelectSession s;
        s.localPlayerCellId = o.int64("localPlayerCellId");
        s.myTeam = o.required("myTeam", decodeTeam);
        s.theirTeam = o.required("theirTeam", decodeTeam);
        s.actions = o.optional("actions",
            [](Value a) { return a.toArray().map([](Value group) { return group.toArray().map(decodeAction); }); });
        return s;
    });
}

} // namespace tolvane
