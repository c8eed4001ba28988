#include "core/gameclient/GameflowSession.h"

namespace tolvane {

using json::Object;
using json::Value;

namespace {

GameflowSession::Player decodePlayer(Value v)
{
    const Object o = v.toObject();
    GameflowSession::Player p;
    p.championId = o.optInt64("championId");
    p.summonerName = o.optString("summonerName");
    p.gameName = o.optString("gameName");
    p.tagLine = o.optString("tagLine");
    p.teamId = o.optInt64("teamId");
    p.puuid = o.optString("puuid");
    p.summonerId = o.optInt64("summonerId");
    return p;
}

std::vector<GameflowSession::Player> decodeTeam(Value v)
{
    return v.toArray().map(decodePlayer);
}

// The client gives the map as the queue's "mapId" rather than a "mapNumber"; read it without
// letting an odd queue object fail the whole session.
std::optional<int64_t> queueMapId(const Object& gameData)
{
    const auto queue = gameData.find("queue");
    if (!queue || !queue->isObject())
        return std::nullopt;
    const auto mapId = queue->toObject().find("mapId");
    if (!mapId)
        return std::nullopt;
    try {
        return mapId->toInt64();
    } catch (const json::DecodeError&) {
        return std::nullopt;
    }
}

GameflowSession::GameData decodeGameData(Value v)
{
    const Object o = v.toObject();
    GameflowSession::GameData g;
    g.teamOne = o.optional("teamOne", decodeTeam);
    g.teamTwo = o.optional("teamTwo", decodeTeam);
    g.mapNumber = o.optInt64("mapNumber");
    if (!g.mapNumber)
        g.mapNumber = queueMapId(o);
    return g;
}

bool nonEmpty(const std::optional<QString>& text)
{
    return text && !text->isEmpty();
}

} // namespace

std::optional<QString> GameflowSession::Player::displayName() const
{
    if (nonEmpty(gameName))
        return gameName;
    if (nonEmpty(summonerName))
        return summonerName;
    return std::nullopt;
}

std::optional<RiotId> GameflowSession::Player::riotId() const
{
    if (nonEmpty(gameName) && nonEmpty(tagLine))
        return RiotId {*gameName, *tagLine};
    return std::nullopt;
}

bool GameflowSession::isLoadingOrInGame() const
{
    return phase == QLatin1String("GameStart") || phase == QLatin1String("InProgress");
}

json::Decoded<GameflowSession> GameflowSession::decode(QByteArrayView body)
{
    return json::decode<GameflowSession>(body, [](Value root) {
        const Object o = root.toObject();
        GameflowSession s;
        s.phase = o.string("phase");
        s.gameData = o.optional("gameData", decodeGameData);
        return s;
    });
}

} // namespace tolvane
