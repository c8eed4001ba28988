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

GameflowSession::GameData decodeGameData(Value v)
{
    const Object o = v.toObject();
    GameflowSession::GameData g;
    g.teamOne = o.optional("teamOne", decodeTeam);
    g.teamTwo = o.optional("teamTwo", decodeTeam);
    g.mapNumber = o.optInt64("mapNumber");
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
