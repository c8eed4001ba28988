#pragma once
// The game client's gameflow session ("/lol-gameflow/v1/session"): the phase the client is in
// and, once a game is made, the players of both teams.

#include "core/support/Json.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

// A player's Riot ID: game name and tag line, both non-empty.
struct RiotId {
    QString gameName;
    QString tagLine;

    bool operator==(const RiotId&) const = default;
};

struct GameflowSession {
    struct Player {
        std::optional<int64_t> championId;
        std::optional<QString> summonerName;
        std::optional<QString> gameName;
        std::optional<QString> tagLine;
        std::optional<int64_t> teamId;
        std::optional<QString> puuid;
        std::optional<int64_t> summonerId;

        // The Riot ID's game name, else the older summoner name; empty texts count as missing.
        std::optional<QString> displayName() const;
        std::optional<RiotId> riotId() const;

        bool operator==(const Player&) const = default;
    };

    // Not the in-game GameData of the Live Client Data snapshot.
    struct GameData {
        std::optional<std::vector<Player>> teamOne;
        std::optional<std::vector<Player>> teamTwo;
        std::optional<int64_t> mapNumber;

        bool operator==(const GameData&) const = default;
    };

    QString phase; // "Lobby", "ChampSelect", "GameStart", "InProgress", "EndOfGame", ...
    std::optional<GameData> gameData;

    // The loading screen or a running game; the phase is compared exactly.
    bool isLoadingOrInGame() const;

    static json::Decoded<GameflowSession> decode(QByteArrayView body);

    bool operator==(const GameflowSession&) const = default;
};

} // namespace tolvane
