#include "core/gameclient/AllGameData.h"

#include <QStringList>

#include <limits>

namespace tolvane {

using json::Object;
using json::Value;

int64_t LiveScores::takedowns() const
{
    int64_t sum = 0;
    if (__builtin_add_overflow(kills, assists, &sum))
        return kills > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

std::optional<QString> spellKeyFromRaw(const QString& raw)
{
    for (const QString& piece : raw.split(QLatin1Char('_'), Qt::SkipEmptyParts)) {
        if (!piece.startsWith(QLatin1String("Summoner")) || piece == QLatin1String("SummonerSpell"))
            continue;
        if (piece.startsWith(QLatin1String("SummonerSmite")))
            return QStringLiteral("SummonerSmite");
        if (piece.startsWith(QLatin1String("SummonerTeleport")))
            return QStringLiteral("SummonerTeleport");
        return piece;
    }
    return std::nullopt;
}

std::optional<QString> LiveSummonerSpell::spellKey() const
{
    if (!rawDisplayName)
        return std::nullopt;
    return spellKeyFromRaw(*rawDisplayName);
}

namespace {

ActivePlayer decodeActivePlayer(Value v)
{
    const Object o = v.toObject();
    return {o.optString("summonerName"), o.optString("riotIdGameName")};
}

GameData decodeGameData(Value v)
{
    const Object o = v.toObject();
    GameData g;
    g.gameTime = o.number("gameTime");
    g.gameMode = o.optString("gameMode");
    g.mapNumber = o.optInt64("mapNumber");
    return g;
}

LiveScores decodeScores(Value v)
{
    const Object o = v.toObject();
    return {o.optInt64("kills").value_or(0), o.optInt64("assists").value_or(0), o.optInt64("creepScore").value_or(0)};
}

LiveSummonerSpell decodeSpell(Value v)
{
    return {v.toObject().optString("rawDisplayName")};
}

LiveSummonerSpells decodeSpells(Value v)
{
    const Object o = v.toObject();
    LiveSummonerSpells s;
    s.summonerSpellOne = o.required("summonerSpellOne", decodeSpell);
    s.summonerSpellTwo = o.required("summonerSpellTwo", decodeSpell);
    return s;
}

LiveItem decodeItem(Value v)
{
    const Object o = v.toObject();
    LiveItem item;
    item.itemID = o.int64("itemID");
    item.price = o.int64("price");
    item.count = o.int64("count");
    return item;
}

LivePlayer decodePlayer(Value v)
{
    const Object o = v.toObject();
    LivePlayer p;
    p.championName = o.string("championName");
    p.team = o.string("team");
    if (auto items = o.optional("items", [](Value a) { return a.toArray().map(decodeItem); }))
        p.items = std::move(*items);
    p.summonerName = o.optString("summonerName");
    p.riotIdGameName = o.optString("riotIdGameName");
    p.position = o.optString("position");
    p.summonerSpells = o.optional("summonerSpells", decodeSpells);
    p.level = o.optInt64("level");
    p.scores = o.optional("scores", decodeScores);
    return p;
}

} // namespace

json::Decoded<AllGameData> AllGameData::decode(QByteArrayView body)
{
    return json::decode<AllGameData>(body, [](Value root) {
        const Object o = root.toObject();
        AllGameData d;
        d.activePlayer = o.optional("activePlayer", decodeActivePlayer);
        d.allPlayers = o.required("allPlayers", [](Value a) { return a.toArray().map(decodePlayer); });
        d.gameData = o.required("gameData", decodeGameData);
        return d;
    });
}

} // namespace tolvane
